// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherquery.h"

#include <QSqlQuery>

#include "core/data/database.h"
#include "core/data/recordset.h"
#include "ledgermodel.h"

namespace {

// The select list: the key, then the field of every grid column that shows one, in the grid's
// order, so that a column's value stands at resultIndex(column).
QString selectList()
{
    QStringList fields{QStringLiteral("total_id")};
    for (int c = LedgerModel::ColMaeipDate; c <= LedgerModel::ColUsecost; ++c)
        fields << LedgerModel::fieldOf(c);
    return fields.join(QStringLiteral(", "));
}

constexpr int resultIndex(int column) { return column + 1; }

const QString kColumns = selectList();

// " AND total_id IN (:k0, :k1, ...)", the keys bound.
void appendKeys(SqlStatement &st, const QList<qint64> &keys, const QString &joiner)
{
    QStringList names;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        names << QStringLiteral(":k%1").arg(i);
        st.bind(QStringLiteral("k%1").arg(i), keys.at(i));
    }
    st.text += joiner + QStringLiteral("total_id IN (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace

SqlStatement voucherQuery(const SqlDialect &dialect, const VoucherFilter &f, const QList<qint64> &keys)
{
    SqlStatement st(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM total"));
    if (!f.clientName.isEmpty()) {
        st.whereContains(dialect, voucherNameField(f.clientSide), f.clientName);
    } else if (!f.productName.isEmpty()) {
        st.whereContains(dialect, QStringLiteral("pro_name"), f.productName);
    } else {
        st.text += QStringLiteral(" WHERE maechul_date BETWEEN :from AND :to");
        st.bind(QStringLiteral("from"), f.fromDate.toString(Qt::ISODate))
            .bind(QStringLiteral("to"), f.toDate.toString(Qt::ISODate));
        if (!f.group.isEmpty()) {
            st.text += QStringLiteral(" AND group_name = :group");
            st.bind(QStringLiteral("group"), f.group);
        }
        if (f.noSale)
            st.text += QStringLiteral(" AND maechul_cost = 0");
    }
    if (!keys.isEmpty())
        appendKeys(st, keys, QStringLiteral(" AND "));
    // A contains-search reads every row anyway; walking the date index for the order would
    // turn that scan into a million random reads, so the searches sort instead ("+").
    st.text += f.clientName.isEmpty() && f.productName.isEmpty() ? QStringLiteral(" ORDER BY maechul_date, total_id")
                                                                 : QStringLiteral(" ORDER BY %1, total_id")
                                                                       .arg(dialect.unindexed(QStringLiteral("maechul_date")));
    return st;
}

SqlStatement voucherSelect(const QString &table)
{
    return SqlStatement(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM \"") + table + QLatin1Char('"'));
}

SqlStatement voucherByKey(qint64 totalId)
{
    return SqlStatement(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM total WHERE total_id = :id"))
        .bind(QStringLiteral("id"), totalId);
}

SqlStatement vouchersByKeys(const QList<qint64> &keys)
{
    SqlStatement st(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM total"));
    appendKeys(st, keys, QStringLiteral(" WHERE "));
    return st;
}

SqlError readVouchers(Database &db, const SqlStatement &sql, std::vector<LedgerRow> &rows)
{
    return db.forEachRow(sql, [&rows](const Database::RowView &v) {
        LedgerRow r;
        const auto text = [&](int column) { return v.text(resultIndex(column)); };
        const auto number = [&](int column) -> qint64 {
            const int i = resultIndex(column);
            if (v.isNull(i))
                r.emptyMask |= static_cast<quint16>(1u << column);
            return v.integer(i);
        };
        r.totalId = v.integer(0);
        r.maeipDate = text(LedgerModel::ColMaeipDate);
        r.groupName = text(LedgerModel::ColGroup);
        r.proName = text(LedgerModel::ColProName);
        r.maeipCode = ClientCode(static_cast<qint32>(number(LedgerModel::ColMaeipCode)));
        r.maeipName = text(LedgerModel::ColMaeipName);
        r.maeipCost = number(LedgerModel::ColMaeipCost);
        r.maechulDate = text(LedgerModel::ColMaechulDate);
        r.maechulCode = ClientCode(static_cast<qint32>(number(LedgerModel::ColMaechulCode)));
        r.maechulName = text(LedgerModel::ColMaechulName);
        r.maechulCost = number(LedgerModel::ColMaechulCost);
        r.maechulUsecost = number(LedgerModel::ColUsecost);
        rows.push_back(std::move(r));
    });
}

std::optional<std::vector<LedgerRow>> loadVouchers(Database &db, const SqlStatement &sql,
                                                   UserPrompt &prompt)
{
    std::vector<LedgerRow> rows;
    const SqlError error = readVouchers(db, sql, rows);
    if (error.isError()) {
        reportQueryError(error, prompt);
        return std::nullopt;
    }
    return rows;
}

std::optional<QStringList> usedGroups(Database &db, UserPrompt &prompt)
{
    return OpenRSTexts(db,
                       SqlStatement(QStringLiteral("SELECT DISTINCT group_name FROM total WHERE group_name <> '' "
                                                   "ORDER BY group_name")),
                       prompt);
}
