// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QDateTime>
#include <QList>
#include <QStringList>

#include "core/data/sqlstatement.h"
#include "ledgerrow.h"

class Database;
class UserPrompt;

// Deleted vouchers, kept whole with their deletion time in a table of their own. A restored
// voucher goes back under its own key, which the counter never hands out again.
class RecycleBin final
{
public:
    struct Entry
    {
        QString deleted; // "YYYY-MM-DD HH:MM:SS"
        LedgerRow row;
    };

    explicit RecycleBin(Database &db) : m_db(db) {}

    // Copies voucher id into the bin; the caller deletes it in the same transaction.
    SqlError keep(qint64 id, const QDateTime &when);
    // Newest deletion first.
    SqlError load(std::vector<Entry> &entries);
    // The vouchers back into the ledger and out of the bin, all or none.
    SqlError restore(const QList<qint64> &ids);
    SqlError empty();

    // The window's two commands: errors in the failed-save box; emptying asks first (count
    // vouchers) and is declined by default.
    bool restoreSelected(const QList<qint64> &ids, UserPrompt &prompt);
    bool askAndEmpty(int count, UserPrompt &prompt);

    static QString title() { return QStringLiteral("삭제된 전표"); }
    static QStringList headers();
    static QStringList texts(const Entry &entry);
    static QList<int> amountColumns() { return {5, 8, 9}; }

private:
    Database &m_db;
};
