// SPDX-License-Identifier: GPL-3.0-or-later
#include "paymentstore.h"

#include <QSqlQuery>

#include "core/data/database.h"
#include "core/data/schema.h"

namespace {

const QString kFields = QStringLiteral("payment_id, busi_mode, client_code, pay_date, amount, method, memo");

PaymentStore::Result resultOf(const Database::Result &r)
{
    PaymentStore::Result out;
    out.error = r.error;
    out.rowsAffected = r.rowsAffected;
    out.id = r.lastInsertId;
    return out;
}

Payment paymentOf(const QSqlQuery &q, int first = 0)
{
    Payment p;
    p.id = q.value(first).toLongLong();
    p.mode = busiModeOf(q.value(first + 1).toInt()).value_or(BusiMode::Customer);
    p.clientCode = q.value(first + 2).toLongLong();
    p.date = q.value(first + 3).toString();
    p.amount = q.value(first + 4).toLongLong();
    p.method = q.value(first + 5).toString();
    p.memo = q.value(first + 6).toString();
    return p;
}

SqlStatement clientStatement(const QString &sql, BusiMode mode, qint64 code)
{
    SqlStatement st(sql);
    st.bind(QStringLiteral("mode"), toInt(mode)).bind(QStringLiteral("code"), code);
    return st;
}

} // namespace

SqlError PaymentStore::list(BusiMode mode, qint64 clientCode, std::vector<Payment> &out)
{
    out.clear();
    Database::Result r = m_db.exec(clientStatement(
        QStringLiteral("SELECT %1 FROM payment WHERE client_code = :code AND busi_mode = :mode "
                       "ORDER BY pay_date DESC, payment_id DESC")
            .arg(kFields),
        mode, clientCode));
    while (r.ok() && r.query.next())
        out.push_back(paymentOf(r.query));
    return r.error;
}

std::optional<Payment> PaymentStore::read(qint64 id, SqlError *error)
{
    SqlStatement st(QStringLiteral("SELECT %1 FROM payment WHERE payment_id = :id").arg(kFields));
    Database::Result r = m_db.exec(st.bind(QStringLiteral("id"), id));
    if (error)
        *error = r.error;
    if (!r.ok() || !r.query.next())
        return std::nullopt;
    return paymentOf(r.query);
}

PaymentStore::Result PaymentStore::insert(const Payment &p)
{
    SqlStatement st(QStringLiteral("INSERT INTO payment (busi_mode, client_code, pay_date, amount, method, memo) "
                                   "VALUES (:busi_mode, :client_code, :pay_date, :amount, :method, :memo)"));
    st.bind(QStringLiteral("busi_mode"), toInt(p.mode))
        .bind(QStringLiteral("client_code"), p.clientCode)
        .bind(QStringLiteral("pay_date"), p.date)
        .bind(QStringLiteral("amount"), p.amount)
        .bind(QStringLiteral("method"), p.method)
        .bind(QStringLiteral("memo"), p.memo)
        .into(Schema::paymentTable());
    return resultOf(m_db.exec(st));
}

PaymentStore::Result PaymentStore::update(qint64 id, const QString &field, const QVariant &value)
{
    static const QStringList editable{QStringLiteral("pay_date"), QStringLiteral("amount"), QStringLiteral("method"),
                                      QStringLiteral("memo")};
    if (!editable.contains(field)) {
        Result out;
        out.error = {SqlError::Kind::NoObject, 0, QStringLiteral("바꿀 수 없는 항목입니다: ") + field, {}};
        return out;
    }
    SqlStatement st(QStringLiteral("UPDATE payment SET \"%1\" = :%1 WHERE payment_id = :id").arg(field));
    st.bind(field, value).bind(QStringLiteral("id"), id).into(Schema::paymentTable());
    return resultOf(m_db.exec(st));
}

PaymentStore::Result PaymentStore::remove(qint64 id, const QDateTime &when)
{
    // Into the bin in the same change as the delete: never both, never none.
    TransactionGuard guard(m_db, QStringLiteral("payment_remove"));
    SqlStatement keep(QStringLiteral("INSERT INTO payment_deleted (%1, deleted_date) SELECT %1, :deleted FROM payment "
                                     "WHERE payment_id = :id")
                          .arg(kFields));
    keep.bind(QStringLiteral("deleted"), when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))).bind(QStringLiteral("id"), id);
    Result out = resultOf(m_db.exec(keep));
    if (!out.ok())
        return out;
    SqlStatement del(QStringLiteral("DELETE FROM payment WHERE payment_id = :id"));
    out = resultOf(m_db.exec(del.bind(QStringLiteral("id"), id)));
    if (out.ok())
        out.error = guard.commit();
    return out;
}

SqlError PaymentStore::loadDeleted(std::vector<DeletedPayment> &out)
{
    out.clear();
    Database::Result r = m_db.exec(SqlStatement(
        QStringLiteral("SELECT deleted_date, %1 FROM payment_deleted ORDER BY deleted_date DESC, payment_id DESC").arg(kFields)));
    while (r.ok() && r.query.next())
        out.push_back({r.query.value(0).toString(), paymentOf(r.query, 1)});
    return r.error;
}

SqlError PaymentStore::restore(const QList<qint64> &ids)
{
    TransactionGuard guard(m_db, QStringLiteral("payment_restore"));
    for (qint64 id : ids) {
        SqlStatement back(QStringLiteral("INSERT INTO payment (%1) SELECT %1 FROM payment_deleted WHERE payment_id = :id").arg(kFields));
        if (const SqlError e = m_db.exec(back.bind(QStringLiteral("id"), id)).error; e.isError())
            return e;
        SqlStatement out(QStringLiteral("DELETE FROM payment_deleted WHERE payment_id = :id"));
        if (const SqlError e = m_db.exec(out.bind(QStringLiteral("id"), id)).error; e.isError())
            return e;
    }
    return guard.commit();
}

SqlError PaymentStore::emptyDeleted()
{
    return m_db.exec(SqlStatement(QStringLiteral("DELETE FROM payment_deleted"))).error;
}

std::optional<bool> PaymentStore::hasPayments(BusiMode mode, qint64 clientCode, SqlError *error)
{
    Database::Result r = m_db.exec(clientStatement(
        QStringLiteral("SELECT 1 FROM payment WHERE client_code = :code AND busi_mode = :mode LIMIT 1"), mode, clientCode));
    if (error)
        *error = r.error;
    if (!r.ok())
        return std::nullopt;
    return r.query.next();
}

std::optional<ClientOpening> PaymentStore::opening(BusiMode mode, qint64 clientCode, SqlError *error)
{
    Database::Result r = m_db.exec(clientStatement(
        QStringLiteral("SELECT opening_date, amount FROM client_opening WHERE client_code = :code AND busi_mode = :mode"), mode,
        clientCode));
    if (error)
        *error = r.error;
    if (!r.ok())
        return std::nullopt;
    ClientOpening o;
    if (r.query.next())
        o = {r.query.value(0).toString(), r.query.value(1).toLongLong()};
    return o;
}

SqlError PaymentStore::setOpening(BusiMode mode, qint64 clientCode, const ClientOpening &opening)
{
    // One row per client: the old one goes in the same change as the new one comes.
    TransactionGuard guard(m_db, QStringLiteral("opening"));
    if (const SqlError e = m_db.exec(clientStatement(QStringLiteral("DELETE FROM client_opening WHERE client_code = :code "
                                                                    "AND busi_mode = :mode"),
                                                     mode, clientCode))
                               .error;
        e.isError())
        return e;
    if (opening.amount != 0 || !opening.date.isEmpty()) {
        SqlStatement st = clientStatement(QStringLiteral("INSERT INTO client_opening (busi_mode, client_code, opening_date, amount) "
                                                         "VALUES (:mode, :code, :opening_date, :amount)"),
                                          mode, clientCode);
        st.bind(QStringLiteral("opening_date"), opening.date).bind(QStringLiteral("amount"), opening.amount).into(Schema::openingTable());
        if (const SqlError e = m_db.exec(st).error; e.isError())
            return e;
    }
    return guard.commit();
}
