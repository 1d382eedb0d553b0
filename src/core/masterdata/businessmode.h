// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QString>

// The two sides of a voucher and their client registers: suppliers (table maeip, "매입") and
// customers (maechul, "매출"). The numbers are the ones stored and passed on (0 and 1).
enum class BusiMode { Supplier = 0, Customer = 1 };

inline int toInt(BusiMode mode) { return static_cast<int>(mode); }
// The mode of a stored or passed number; nullopt for any other number.
inline std::optional<BusiMode> busiModeOf(int number)
{
    if (number == toInt(BusiMode::Supplier) || number == toInt(BusiMode::Customer))
        return static_cast<BusiMode>(number);
    return std::nullopt;
}
inline QString clientTable(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("maechul") : QStringLiteral("maeip");
}
inline QString busiWord(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("매출") : QStringLiteral("매입");
}
// The voucher fields that carry a client of this side.
inline QString voucherCodeField(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("maechul_code") : QStringLiteral("maeip_code");
}
inline QString voucherNameField(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("maechul_name") : QStringLiteral("maeip_name");
}
