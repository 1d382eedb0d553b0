// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A broken property ends the run like a crash, with the input saved by libFuzzer.
#define FUZZ_CHECK(condition)                                                                          \
    do {                                                                                                \
        if (!(condition)) {                                                                             \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);      \
            std::abort();                                                                               \
        }                                                                                               \
    } while (false)

inline QString fuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// A line parser fed any bytes, cut anywhere (the first byte chooses where), gives the same
// reports as when fed them in one piece. feed(parser, bytes) feeds one read.
template<typename Parser, typename Feed>
void checkCutAnywhere(const uint8_t *data, size_t size, Feed feed)
{
    if (size == 0)
        return;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const qsizetype cut = bytes.isEmpty() ? 0 : data[0] % (bytes.size() + 1);
    Parser whole;
    const auto once = feed(whole, bytes);
    Parser split;
    auto pieces = feed(split, bytes.first(cut));
    pieces += feed(split, bytes.sliced(cut));
    FUZZ_CHECK(once == pieces);
}
