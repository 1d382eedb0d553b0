// SPDX-License-Identifier: GPL-3.0-or-later
#include "money.h"

#include "textutil.h"

QString Money::toString() const
{
    return formatMoney(m_won);
}

std::optional<Money> Money::fromText(const QString &text)
{
    QString plain = text;
    plain.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    if (plain.isEmpty())
        return Money();
    bool ok = false;
    const qint64 won = plain.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return Money(won);
}
