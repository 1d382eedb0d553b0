// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <optional>

#include <QString>

// An amount in whole won. No floating point ever holds one, and none converts into one.
class Money
{
public:
    constexpr Money() = default;
    constexpr explicit Money(qint64 won) : m_won(won) {}

    constexpr qint64 won() const { return m_won; }
    // The ledger's text: thousands separators, no currency symbol ("-1,234,567").
    QString toString() const;
    // Text as typed into an amount cell: separators and blanks are dropped and nothing is 0;
    // nullopt when what is left is no whole number.
    static std::optional<Money> fromText(const QString &text);

    constexpr auto operator<=>(const Money &) const = default;

private:
    qint64 m_won = 0;
};
