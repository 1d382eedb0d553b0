// SPDX-License-Identifier: GPL-3.0-or-later
#include "vat.h"

VatSplit VatSplit::of(qint64 amount, bool vatIncluded)
{
    if (amount < 0) {
        const VatSplit positive = of(-amount, vatIncluded);
        return {-positive.supply, -positive.tax};
    }
    if (!vatIncluded)
        return {amount, amount / 10};
    // amount × 10 / 11 rounded is amount − round(amount / 11): an eleventh never ends in exactly
    // one half, and nothing is multiplied, so no amount overflows.
    const qint64 tax = (amount + 5) / 11;
    return {amount - tax, tax};
}
