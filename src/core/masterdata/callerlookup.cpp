// SPDX-License-Identifier: GPL-3.0-or-later
#include "callerlookup.h"

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/data/recordset.h"

SqlStatement callerLookupStatement(const QString &key)
{
    // Every key ends with the number's last four digits, so the indexes on the last four
    // characters of tel and phone pick the candidates and the full ends-with test decides.
    SqlStatement st(QStringLiteral(
        "SELECT DISTINCT ifnull(t.pro_name, '') || '(' || ifnull(t.maechul_date, '') || ')' AS PName, "
        "t.maechul_date, m.name AS MName, m.tel, m.memo, m.phone, m.zipcode, m.address, m.id "
        "FROM maechul m LEFT JOIN total t ON t.maechul_code = m.id "
        "WHERE (substr(m.tel, -4) = :tail AND substr(m.tel, -:len) = :key) "
        "OR (substr(m.phone, -4) = :tail AND substr(m.phone, -:len) = :key) "
        "ORDER BY t.maechul_date DESC, PName"));
    st.bind(QStringLiteral("tail"), key.right(4))
        .bind(QStringLiteral("len"), static_cast<qint64>(key.size()))
        .bind(QStringLiteral("key"), key);
    return st;
}

std::optional<CallerLookup> LookupCaller(Database &db, UserPrompt &prompt, const QString &key)
{
    auto rs = OpenRS(db, callerLookupStatement(key), prompt);
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
