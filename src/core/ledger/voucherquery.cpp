// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherquery.h"

#include <QSqlQuery>

#include "data/database.h"
#include "data/recordset.h"

namespace {
const QString kColumns = QStringLiteral(
    "total_id, maeip_date, group_name, pro_name, maeip_code, maeip_name, maeip_cost, "
    "maechul_date, maechul_code, maechul_name, maechul_cost, maechul_usecost");
} // namespace

SqlStatement voucherQuery(const VoucherFilter &f)
{
    SqlStatement st(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM total"));
    if (!f.clientName.isEmpty()) {
        st.text += f.clientSide == VoucherFilter::Customer
                       ? QStringLiteral(" WHERE maechul_name LIKE :name ESCAPE '\\'")
                       : QStringLiteral(" WHERE maeip_name LIKE :name ESCAPE '\\'");
        st.bind(QStringLiteral("name"), containsPattern(f.clientName));
    } else if (!f.productName.isEmpty()) {
        st.text += QStringLiteral(" WHERE pro_name LIKE :name ESCAPE '\\'");
        st.bind(QStringLiteral("name"), containsPattern(f.productName));
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
    st.text += QStringLiteral(" ORDER BY maechul_date, total_id");
    return st;
}

std::optional<std::vector<LedgerRow>> loadVouchers(const Database *db, const SqlStatement &sql,
                                                   UserPrompt &prompt)
{
    auto rs = OpenRS(db, sql, prompt);
    if (!rs)
        return std::nullopt;
    std::vector<LedgerRow> rows;
    QSqlQuery &q = *rs;
    const auto number = [&q](int i, quint16 &mask, int column) -> qint64 {
        const QVariant v = q.value(i);
        if (v.isNull())
            mask |= static_cast<quint16>(1u << column);
        return v.toLongLong();
    };
    while (q.next()) {
        LedgerRow r;
        r.totalId = q.value(0).toLongLong();
        r.maeipDate = q.value(1).toString();
        r.groupName = q.value(2).toString();
        r.proName = q.value(3).toString();
        r.maeipCode = static_cast<qint32>(number(4, r.emptyMask, 3));
        r.maeipName = q.value(5).toString();
        r.maeipCost = number(6, r.emptyMask, 5);
        r.maechulDate = q.value(7).toString();
        r.maechulCode = static_cast<qint32>(number(8, r.emptyMask, 7));
        r.maechulName = q.value(9).toString();
        r.maechulCost = number(10, r.emptyMask, 9);
        r.maechulUsecost = number(11, r.emptyMask, 10);
        rows.push_back(std::move(r));
    }
    CloseObj(rs);
    return rows;
}

std::optional<QStringList> usedGroups(const Database *db, UserPrompt &prompt)
{
    auto rs = OpenRS(db,
                     SqlStatement(QStringLiteral("SELECT DISTINCT group_name FROM total WHERE group_name <> '' "
                                                 "ORDER BY group_name")),
                     prompt);
    if (!rs)
        return std::nullopt;
    QStringList groups;
    while (rs->next())
        groups << rs->value(0).toString();
    CloseObj(rs);
    return groups;
}
