// SPDX-License-Identifier: GPL-3.0-or-later
#include "callerlookup.h"

#include <algorithm>

#include <QHash>
#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/data/database.h"

namespace {

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    return digits;
}

// A number split as the phone formatter splits it; a number too long for a local one counts as
// carrying an area code that the formatter cannot tell (a foreign number, 407-555-2120).
struct PhoneParts
{
    QString digits;
    QString local;
    bool hasArea = false;
};

PhoneParts partsOf(const QString &number)
{
    PhoneParts p;
    p.digits = digitsOf(number);
    QString local;
    FormatTel(p.digits, &local);
    p.local = local.isEmpty() ? p.digits : digitsOf(local);
    p.hasArea = p.local.size() < p.digits.size() || p.digits.size() > 8;
    return p;
}

} // namespace

CallerMatch matchCaller(const QString &callerNumber, const QString &storedNumber)
{
    const PhoneParts caller = partsOf(callerNumber);
    const PhoneParts stored = partsOf(storedNumber);
    if (stored.digits.isEmpty() || caller.digits.isEmpty())
        return CallerMatch::None;
    if (stored.digits == caller.digits)
        return CallerMatch::Exact;
    if (!stored.hasArea)
        return stored.digits.endsWith(caller.local) ? CallerMatch::Partial : CallerMatch::None;
    return !caller.hasArea && stored.local == caller.digits ? CallerMatch::Partial : CallerMatch::None;
}

SqlStatement callerLookupStatement(const SqlDialect &dialect, const QString &callerNumber)
{
    const QString four = QStringLiteral("4");
    SqlStatement st(QStringLiteral(
        "SELECT DISTINCT coalesce(t.pro_name, '') || '(' || coalesce(t.maechul_date, '') || ')' AS PName, "
        "t.maechul_date, m.name AS MName, m.tel, m.memo, m.phone, m.zipcode, m.address, m.id "
        "FROM maechul m LEFT JOIN total t ON t.maechul_code = m.id WHERE %1 = :tail OR %2 = :tail "
        "ORDER BY t.maechul_date DESC, PName")
                        .arg(dialect.tail(QStringLiteral("m.tel"), four), dialect.tail(QStringLiteral("m.phone"), four)));
    st.bind(QStringLiteral("tail"), digitsOf(callerNumber).right(4));
    return st;
}

CallerLookup LookupCaller(Database &db, const QString &callerNumber)
{
    CallerLookup result;
    Database::Result r = db.exec(callerLookupStatement(db.dialect(), callerNumber));
    if (!r.ok()) {
        result.error = r.error;
        return result;
    }
    QSqlQuery &rs = r.query;
    struct Candidate
    {
        bool accepted = false;
        bool exact = false;
        ClientRecord client;
    };
    struct Row
    {
        bool exact;
        QString product;
        ClientCode id;
    };
    QList<Row> rows;
    QHash<ClientCode, Candidate> candidates; // each customer decided once, at its first row
    while (rs.next()) {
        const auto id = ClientCode::fromVariant(rs.value(8));
        auto it = candidates.find(id);
        if (it == candidates.end()) {
            Candidate c;
            c.client.id = id;
            c.client.name = NullToStr(rs.value(2));
            c.client.tel = NullToStr(rs.value(3));
            c.client.memo = NullToStr(rs.value(4));
            c.client.phone = NullToStr(rs.value(5));
            c.client.zipcode = NullToStr(rs.value(6));
            c.client.address = NullToStr(rs.value(7));
            const CallerMatch byTel = matchCaller(callerNumber, c.client.tel);
            const CallerMatch byPhone = matchCaller(callerNumber, c.client.phone);
            c.accepted = byTel != CallerMatch::None || byPhone != CallerMatch::None;
            c.exact = byTel == CallerMatch::Exact || byPhone == CallerMatch::Exact;
            it = candidates.insert(id, c);
        }
        if (it->accepted)
            rows.append({it->exact, NullToStr(rs.value(0)), id});
    }
    rs.finish();
    // The rows come newest first; the exact match's move ahead of the rest.
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.exact && !b.exact; });
    result.found = !rows.isEmpty();
    if (result.found)
        result.caller = candidates.value(rows.front().id).client;
    QStringList products;
    for (const Row &r : std::as_const(rows))
        products << r.product;
    result.products = products.join(QStringLiteral(", "));
    return result;
}
