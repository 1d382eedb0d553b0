// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// A voucher's date: a day, or none (the sale date of an unsold voucher). At the database it is
// "YYYY-MM-DD" text, and none is '' as the ledger has always written it.
class LedgerDate
{
public:
    LedgerDate() = default;
    explicit LedgerDate(QDate day) : m_day(day) {}

    QDate day() const { return m_day; }
    bool isNull() const { return !m_day.isValid(); }
    QString toStored() const { return isNull() ? QStringLiteral("") : m_day.toString(QStringLiteral("yyyy-MM-dd")); }

    bool operator==(const LedgerDate &) const = default;

private:
    QDate m_day;
};
