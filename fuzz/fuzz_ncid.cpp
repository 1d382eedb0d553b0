// SPDX-License-Identifier: GPL-3.0-or-later
// The NCID line parser: any bytes, cut anywhere, give the same reports as in one piece.
#include "core/callerid/ncidparser.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const qsizetype cut = bytes.isEmpty() ? 0 : data[0] % (bytes.size() + 1);
    NcidParser whole;
    const QList<CallerReport> once = whole.feed(bytes);
    NcidParser split;
    QList<CallerReport> pieces = split.feed(bytes.first(cut));
    pieces += split.feed(bytes.sliced(cut));
    FUZZ_CHECK(once == pieces);
    return 0;
}
