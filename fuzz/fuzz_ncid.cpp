// SPDX-License-Identifier: GPL-3.0-or-later
// The NCID line parser: any bytes, cut anywhere, give the same reports as in one piece.
#include "core/callerid/ncidparser.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkCutAnywhere<NcidParser>(data, size, [](NcidParser &p, QByteArrayView b) { return p.feed(b); });
    return 0;
}
