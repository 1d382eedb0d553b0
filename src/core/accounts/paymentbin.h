// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QList>
#include <QStringList>

#include "core/data/sqlstatement.h"
#include "paymentstore.h"

class Database;
class UserPrompt;

// The deleted payments of the recycle bin, with their clients' names, and the bin's two
// commands on them. A restored payment counts in the balances again.
class PaymentBin final
{
public:
    struct Entry
    {
        PaymentStore::DeletedPayment deleted;
        QString clientName; // the register's, or PaymentRules::deletedClientName()
    };

    explicit PaymentBin(Database &db) : m_db(db), m_store(db) {}

    // Newest deletion first.
    SqlError load(std::vector<Entry> &entries);
    // Errors in the failed-save box; emptying asks first and is declined by default.
    bool restoreSelected(const QList<qint64> &ids, UserPrompt &prompt);
    bool askAndEmpty(int count, UserPrompt &prompt);

    static QString title() { return QStringLiteral("삭제된 입금·지급"); }
    static QStringList headers();
    static QStringList texts(const Entry &entry);
    static QList<int> amountColumns() { return {5}; }

private:
    Database &m_db;
    PaymentStore m_store;
};
