// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherstore.h"

#include <vector>

#include <QDateTime>

#include "core/data/database.h"
#include "recyclebin.h"
#include "voucherquery.h"

namespace {
const QString kTable = QStringLiteral("total");

VoucherStore::Result resultOf(const Database::Result &r)
{
    VoucherStore::Result out;
    out.error = r.error;
    out.rowsAffected = r.rowsAffected;
    out.id = r.lastInsertId;
    return out;
}
} // namespace

VoucherStore::Result VoucherStore::insert(const LedgerRow &row)
{
    SqlStatement st(QStringLiteral(
        "INSERT INTO total (maeip_date, pro_code, maeip_code, maeip_cost, maechul_code, maechul_date, "
        "maechul_cost, maechul_usecost, group_name, pro_name, maeip_name, maechul_name) "
        "VALUES (:maeip_date, 0, 0, 0, 0, :maechul_date, 0, 0, :group_name, :pro_name, '', '')"));
    st.bind(QStringLiteral("maeip_date"), row.maeipDate)
        .bind(QStringLiteral("maechul_date"), row.maechulDate)
        .bind(QStringLiteral("group_name"), row.groupName)
        .bind(QStringLiteral("pro_name"), row.proName)
        .into(kTable);
    return resultOf(m_db.exec(st));
}

VoucherStore::Result VoucherStore::update(qint64 id, VoucherField field, const FieldValue &value)
{
    if (!fits(field, value)) {
        Result out;
        out.error.kind = SqlError::Kind::Other;
        out.error.text = QStringLiteral("전표의 %1 필드에 맞지 않는 값입니다.").arg(fieldName(field));
        return out;
    }
    const QString name = fieldName(field);
    SqlStatement st(QStringLiteral("UPDATE total SET \"%1\" = :%1").arg(name));
    if (const auto *text = std::get_if<QString>(&value))
        st.bind(name, *text);
    else if (const auto *date = std::get_if<LedgerDate>(&value))
        st.bind(name, date->toStored());
    else if (const auto *amount = std::get_if<Money>(&value))
        st.bind(name, amount->won());
    else if (const auto *client = std::get_if<VoucherClient>(&value)) {
        const QString nameField = nameFieldOf(field);
        st.text += QStringLiteral(", \"%1\" = :%1").arg(nameField);
        st.bind(name, client->code.value()).bind(nameField, client->name);
    }
    st.text += QStringLiteral(" WHERE total_id = :id");
    st.bind(QStringLiteral("id"), id).into(kTable);
    return resultOf(m_db.exec(st));
}

VoucherStore::Result VoucherStore::remove(qint64 id)
{
    // The voucher goes to the recycle bin in the same change as its delete: never both, never none.
    TransactionGuard guard(m_db, QStringLiteral("remove"));
    Result out;
    out.error = RecycleBin(m_db).keep(id, QDateTime::currentDateTime());
    if (out.error.isError())
        return out;
    SqlStatement st(QStringLiteral("DELETE FROM total WHERE total_id = :id"));
    st.bind(QStringLiteral("id"), id);
    out = resultOf(m_db.exec(st));
    if (out.ok())
        out.error = guard.commit();
    return out;
}

std::optional<LedgerRow> VoucherStore::read(qint64 id, SqlError *error)
{
    std::vector<LedgerRow> rows;
    const SqlError e = readVouchers(m_db, voucherByKey(id), rows);
    if (error)
        *error = e;
    if (e.isError() || rows.empty())
        return std::nullopt;
    return rows.front();
}
