// SPDX-License-Identifier: GPL-3.0-or-later
#include "callerlookup.h"

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/data/recordset.h"

SqlStatement callerLookupStatement(const SqlDialect &dialect, const QString &key)
{
    // Every key ends with the number's last four digits, so the indexes on the last four
    // characters of tel and phone pick the candidates and the full ends-with test decides.
    const auto endsWith = [&dialect](const QString &field) {
        return QStringLiteral("(%1 = :tail AND %2 = :key)")
            .arg(dialect.tail(field, QStringLiteral("4")), dialect.tail(field, QStringLiteral(":len")));
    };
    SqlStatement st(QStringLiteral(
        "SELECT DISTINCT coalesce(t.pro_name, '') || '(' || coalesce(t.maechul_date, '') || ')' AS PName, "
        "t.maechul_date, m.name AS MName, m.tel, m.memo, m.phone, m.zipcode, m.address, m.id "
        "FROM maechul m LEFT JOIN total t ON t.maechul_code = m.id WHERE ")
                    + endsWith(QStringLiteral("m.tel")) + QStringLiteral(" OR ") + endsWith(QStringLiteral("m.phone"))
                    + QStringLiteral(" ORDER BY t.maechul_date DESC, PName"));
    st.bind(QStringLiteral("tail"), key.right(4))
        .bind(QStringLiteral("len"), static_cast<qint64>(key.size()))
        .bind(QStringLiteral("key"), key);
    return st;
}

std::optional<CallerLookup> LookupCaller(Database &db, UserPrompt &prompt, const QString &key)
{
    auto rs = OpenRS(db, callerLookupStatement(db.dialect(), key), prompt);
    if (!rs)
        return std::nullopt;
    CallerLookup result;
    QStringList products;
    while (rs->next()) {
        if (!result.found) {
            result.found = true;
            ClientRecord &c = result.caller;
            c.name = NullToStr(rs->value(2));
            c.tel = NullToStr(rs->value(3));
            c.memo = NullToStr(rs->value(4));
            c.phone = NullToStr(rs->value(5));
            c.zipcode = NullToStr(rs->value(6));
            c.address = NullToStr(rs->value(7));
            c.id = static_cast<qint32>(rs->value(8).toLongLong());
        }
        products << NullToStr(rs->value(0));
    }
    CloseObj(rs);
    result.products = products.join(QStringLiteral(", "));
    return result;
}
