// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// 공급가액 and 세액 of one sale amount. With 부가세포함 the amount includes the tax: 공급가액 is
// amount × 10 / 11 rounded to the won and 세액 the rest. Without, the amount is 공급가액 and
// 세액 is a tenth of it, cut to the won. A negative amount (a refund) splits as its positive
// mirror, so a sale and its refund cancel to the won. The one rule for every paper.
struct VatSplit
{
    qint64 supply = 0;
    qint64 tax = 0;
    qint64 total() const { return supply + tax; }

    static VatSplit of(qint64 amount, bool vatIncluded);
    VatSplit &operator+=(const VatSplit &other)
    {
        supply += other.supply;
        tax += other.tax;
        return *this;
    }
};
