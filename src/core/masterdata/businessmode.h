// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The two client registers: mode 0 suppliers (table maeip, "매입"), 1 customers (maechul, "매출").
namespace BusiMode {
inline constexpr int Supplier = 0;
inline constexpr int Customer = 1;
inline bool isValid(int mode) { return mode == Supplier || mode == Customer; }
inline QString table(int mode) { return mode == Customer ? QStringLiteral("maechul") : QStringLiteral("maeip"); }
inline QString word(int mode) { return mode == Customer ? QStringLiteral("매출") : QStringLiteral("매입"); }
// The voucher fields that carry a client of this side.
inline QString voucherCodeField(int mode)
{
    return mode == Customer ? QStringLiteral("maechul_code") : QStringLiteral("maeip_code");
}
inline QString voucherNameField(int mode)
{
    return mode == Customer ? QStringLiteral("maechul_name") : QStringLiteral("maeip_name");
}
} // namespace BusiMode
