// SPDX-License-Identifier: GPL-3.0-or-later
// The caller-ID line parser: any bytes, cut anywhere, give the same reports as in one piece.
#include "core/callerid/calleridparser.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const qsizetype cut = bytes.isEmpty() ? 0 : data[0] % (bytes.size() + 1);
    CallerIdParser whole;
    const QList<CallerReport> once = whole.feed(bytes, 1000);
    CallerIdParser split;
    QList<CallerReport> pieces = split.feed(bytes.first(cut), 1000);
    pieces += split.feed(bytes.sliced(cut), 1000);
    FUZZ_CHECK(once == pieces);
    return 0;
}
