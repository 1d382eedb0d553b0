// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "voucherquery.h"

class Database;
class LedgerModel;
class UserPrompt;

// The main window's logic over the ledger model: the voucher query and what goes with it.
class Ledger final
{
public:
    Ledger(Database &db, UserPrompt &prompt, LedgerModel &model);
    Ledger(const Ledger &) = delete;
    Ledger &operator=(const Ledger &) = delete;

    // Refills the grid from the query of filter; after a failure the grid stays empty, without
    // an entry row. Otherwise the entry row is appended with DefaultDate.
    bool DispList(const VoucherFilter &filter);
    // The filter of the last query: what the grid shows, whatever the strip says since.
    const VoucherFilter &shownFilter() const { return m_shownFilter; }
    // True after a query filled the grid; false before the first and after a failed one.
    bool isListed() const { return m_listed; }
    // Appends the entry row.
    void AddNewRow();
    // The group filter's items: an empty item, then every group used on a voucher.
    QStringList FillGroupCombo();

    QString DefaultDate() const { return m_defaultDate; }
    void setDefaultDate(const QString &date);

    static QString today();
    static QString firstOfMonth(const QDate &day);

private:
    Database &m_db;
    UserPrompt &m_prompt;
    LedgerModel &m_model;
    QString m_defaultDate;
    VoucherFilter m_shownFilter;
    bool m_listed = false;
};

// A date box's up (-1) or down (+1) button: its own date moved by one day; an unreadable
// date is left as it is.
QString shiftDate(const QString &date, int days);
// With chain on, box index's text goes into the other box. Any index but 0 and 1 is a coding
// slip and says so.
void ChainDate(int index, bool chained, QString dates[2], UserPrompt &prompt);
