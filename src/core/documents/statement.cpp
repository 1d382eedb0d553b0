// SPDX-License-Identifier: GPL-3.0-or-later
#include "statement.h"

#include <QSet>

#include "core/accounts/balances.h"
#include "core/data/database.h"
#include "core/data/schema.h"
#include "koreanamount.h"

namespace {

struct Sold
{
    qint64 id;
    ClientCode code;
    QString date;
    QString product;
    qint64 cost;
};

// The customer's sale amounts on day, every voucher of theirs.
std::optional<qint64> salesOn(Database &db, ClientCode code, const QString &day, SqlError *error)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT COALESCE(SUM(maechul_cost), 0) FROM total "
                                                             "WHERE maechul_code = :code AND maechul_date = :day"))
                                     .bind(QStringLiteral("code"), code.toVariant())
                                     .bind(QStringLiteral("day"), day));
    if (!r.ok() || !r.query.next()) {
        *error = r.error;
        return std::nullopt;
    }
    return r.query.value(0).toLongLong();
}

Statement::Outcome fill(Database &db, const QList<Sold> &sold, Statement &out)
{
    Statement::Outcome o;
    if (sold.isEmpty()) {
        o.refused = QStringLiteral("거래명세표에 넣을 전표가 없습니다.");
        return o;
    }
    QSet<ClientCode> codes;
    for (const Sold &s : sold) {
        if (s.date.isEmpty()) {
            o.refused = QStringLiteral("팔리지 않은 전표는 거래명세표에 넣을 수 없습니다.");
            return o;
        }
        codes.insert(s.code);
    }
    if (codes.size() > 1) {
        o.refused = QStringLiteral("거래명세표는 한 판매처의 전표로만 만듭니다. 고른 전표에는 판매처가 %1곳 있습니다.").arg(codes.size());
        return o;
    }
    if (codes.contains(ClientCode())) {
        o.refused = QStringLiteral("판매처가 등록되지 않은 전표로는 거래명세표를 만들 수 없습니다.");
        return o;
    }
    out = {};
    out.customerCode = *codes.cbegin();
    BusinessStore store(db);
    // A ledger the start-up maintenance has not brought up to date yet has no business details.
    if (db.hasTable(Schema::shopInfoTable())
        && ((o.error = store.readShop(out.shop)).isError()
            || (o.error = store.readClient(BusiMode::Customer, out.customerCode, out.business)).isError()))
        return o;
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT name, address, tel FROM maechul WHERE id = :code"))
                                     .bind(QStringLiteral("code"), out.customerCode.toVariant()));
    if (!r.ok()) {
        o.error = r.error;
        return o;
    }
    if (r.query.next()) {
        out.customerName = r.query.value(0).toString();
        out.address = r.query.value(1).toString();
        out.tel = r.query.value(2).toString();
    }
    QString last;
    for (const Sold &s : sold) {
        const VatSplit amount = VatSplit::of(s.cost, out.shop.vatIncluded);
        out.lines.append({s.id, QDate::fromString(s.date, Qt::ISODate), s.product, amount});
        out.sum += amount;
        out.todayTotal += s.cost;
        last = std::max(last, s.date);
    }
    out.date = QDate::fromString(last, Qt::ISODate);

    const auto at = Balances::balanceAt(db, BusiMode::Customer, out.customerCode.value(), last, &o.error);
    const auto before = at ? Balances::balanceBefore(db, BusiMode::Customer, out.customerCode.value(), last, &o.error) : std::nullopt;
    const auto sales = before ? salesOn(db, out.customerCode, last, &o.error) : std::nullopt;
    if (!sales)
        return o;
    // The day moved the balance by its sales less its payments.
    out.paidToday = *sales - (*at - *before);
    out.currentBalance = *at;
    out.previousBalance = out.currentBalance - out.todayTotal + out.paidToday;
    return o;
}

Statement::Outcome readAndFill(Database &db, const SqlStatement &st, Statement &out)
{
    QList<Sold> sold;
    const SqlError e = db.forEachRow(st, [&sold](const Database::RowView &row) {
        sold.append({row.integer(0), row.isNull(1) ? ClientCode() : ClientCode::fromNumber(row.integer(1)), row.text(2), row.text(3), row.integer(4)});
    });
    if (e.isError())
        return {{}, e};
    return fill(db, sold, out);
}

const QString kColumns = QStringLiteral("SELECT total_id, maechul_code, COALESCE(maechul_date, ''), pro_name, "
                                        "COALESCE(maechul_cost, 0) FROM total WHERE ");

} // namespace

QString Statement::sumInWords() const { return amountInKoreanWords(sum.total()); }

Statement::Outcome Statement::ofVouchers(Database &db, const QList<qint64> &voucherIds, Statement &out)
{
    QStringList marks;
    SqlStatement st;
    for (qsizetype i = 0; i < voucherIds.size(); ++i) {
        marks << QStringLiteral(":v%1").arg(i);
        st.bind(QStringLiteral("v%1").arg(i), voucherIds.at(i));
    }
    st.text = kColumns + QStringLiteral("total_id IN (%1) ORDER BY maechul_date, total_id").arg(marks.join(QLatin1Char(',')));
    if (voucherIds.isEmpty())
        return fill(db, {}, out);
    return readAndFill(db, st, out);
}

Statement::Outcome Statement::ofDay(Database &db, ClientCode customerCode, const QDate &day, Statement &out)
{
    return readAndFill(db,
                       SqlStatement(kColumns + QStringLiteral("maechul_code = :code AND maechul_date = :day ORDER BY total_id"))
                           .bind(QStringLiteral("code"), customerCode.toVariant())
                           .bind(QStringLiteral("day"), day.toString(Qt::ISODate)),
                       out);
}
