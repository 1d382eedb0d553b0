// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

#include <QByteArray>
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
