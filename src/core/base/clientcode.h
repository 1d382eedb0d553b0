// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>

#include <QtGlobal>

// A client's code in its register (suppliers and customers are numbered apart). 0 is no client;
// a voucher without one holds 0.
class ClientCode
{
public:
    constexpr ClientCode() = default;
    constexpr explicit ClientCode(qint32 value) : m_value(value) {}

    constexpr qint32 value() const { return m_value; }
    // Codes start at 1; below that a voucher names no client.
    constexpr bool isValid() const { return m_value > 0; }

    constexpr auto operator<=>(const ClientCode &) const = default;

private:
    qint32 m_value = 0;
};
