// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherquery.h"

#include <QSqlQuery>

#include "core/data/database.h"
#include "core/data/recordset.h"

namespace {
const QString kColumns = QStringLiteral(
    "total_id, maeip_date, group_name, pro_name, maeip_code, maeip_name, maeip_cost, "
    "maechul_date, maechul_code, maechul_name, maechul_cost, maechul_usecost");
} // namespace

SqlStatement voucherQuery(const VoucherFilter &f)
{
    SqlStatement st(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM total"));
    if (!f.clientName.isEmpty()) {
        st.whereContains(voucherNameField(f.clientSide), f.clientName);
    } else if (!f.productName.isEmpty()) {
        st.whereContains(QStringLiteral("pro_name"), f.productName);
    } else {
        st.text += QStringLiteral(" WHERE maechul_date BETWEEN :from AND :to");
        st.bind(QStringLiteral("from"), f.fromDate).bind(QStringLiteral("to"), f.toDate);
        if (!f.group.isEmpty()) {
            st.text += QStringLiteral(" AND group_name = :group");
            st.bind(QStringLiteral("group"), f.group);
        }
        if (f.noSale)
            st.text += QStringLiteral(" AND maechul_cost = 0");
    }
    // A contains-search reads every row anyway; walking the date index for the order would
    // turn that scan into a million random reads, so the searches sort instead ("+").
    st.text += f.clientName.isEmpty() && f.productName.isEmpty() ? QStringLiteral(" ORDER BY maechul_date, total_id")
                                                                 : QStringLiteral(" ORDER BY +maechul_date, total_id");
    return st;
}

SqlStatement voucherByKey(qint64 totalId)
{
    return SqlStatement(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM total WHERE total_id = :id"))
        .bind(QStringLiteral("id"), totalId);
}

SqlError readVouchers(Database &db, const SqlStatement &sql, std::vector<LedgerRow> &rows)
{
    return db.forEachRow(sql, [&rows](const Database::RowView &v) {
        LedgerRow r;
        const auto number = [&](int i, int column) -> qint64 {
            if (v.isNull(i))
                r.emptyMask |= static_cast<quint16>(1u << column);
            return v.integer(i);
        };
        r.totalId = v.integer(0);
        r.maeipDate = v.text(1);
        r.groupName = v.text(2);
        r.proName = v.text(3);
        r.maeipCode = static_cast<qint32>(number(4, 3));
        r.maeipName = v.text(5);
        r.maeipCost = number(6, 5);
        r.maechulDate = v.text(7);
        r.maechulCode = static_cast<qint32>(number(8, 7));
        r.maechulName = v.text(9);
        r.maechulCost = number(10, 9);
        r.maechulUsecost = number(11, 10);
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
