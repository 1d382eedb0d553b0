// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QDateTime>
#include <QList>
#include <QVariant>

#include "core/data/sqlstatement.h"
#include "core/ledger/voucherstore.h"
#include "payment.h"

class Database;

// The statements of payments, opening balances and deleted payments; nothing is shown here,
// the caller reports the error it gets back.
class PaymentStore final
{
public:
    // id: the new payment's key after insert().
    using Result = VoucherStore::Result;
    struct DeletedPayment
    {
        QString deleted; // "YYYY-MM-DD HH:MM:SS"
        Payment payment;
    };

    explicit PaymentStore(Database &db) : m_db(db) {}

    // A client's payments, newest first (date, then key).
    SqlError list(BusiMode mode, qint64 clientCode, std::vector<Payment> &out);
    std::optional<Payment> read(qint64 id, SqlError *error = nullptr);
    Result insert(const Payment &payment);
    // One field of a payment (pay_date, amount, method or memo).
    Result update(qint64 id, const QString &field, const QVariant &value);
    // Into the recycle bin and out of the ledger, in one transaction.
    Result remove(qint64 id, const QDateTime &when = QDateTime::currentDateTime());
    // Newest deletion first.
    SqlError loadDeleted(std::vector<DeletedPayment> &out);
    // Back under their own keys, all or none.
    SqlError restore(const QList<qint64> &ids);
    SqlError emptyDeleted();

    // Whether the client has any payment.
    std::optional<bool> hasPayments(BusiMode mode, qint64 clientCode, SqlError *error = nullptr);
    std::optional<ClientOpening> opening(BusiMode mode, qint64 clientCode, SqlError *error = nullptr);
    // Replaces the opening balance; an amount of 0 with no date removes it.
    SqlError setOpening(BusiMode mode, qint64 clientCode, const ClientOpening &opening);

private:
    Database &m_db;
};
