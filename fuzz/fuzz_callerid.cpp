// SPDX-License-Identifier: GPL-3.0-or-later
// The caller-ID line parser: any bytes, cut anywhere, give the same reports as in one piece.
#include "core/callerid/calleridparser.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkCutAnywhere<CallerIdParser>(data, size, [](CallerIdParser &p, QByteArrayView b) { return p.feed(b, 1000); });
    return 0;
}
