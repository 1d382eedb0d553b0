// SPDX-License-Identifier: GPL-3.0-or-later
#include "statementdata.h"

#include <algorithm>

#include "core/accounts/balances.h"
#include "core/data/database.h"
#include "core/data/schema.h"

namespace {

const QString kColumns = QStringLiteral("SELECT total_id, coalesce(maechul_code, 0), maechul_date, pro_name, "
                                        "coalesce(maechul_cost, 0), maechul_name FROM total WHERE ");

struct Voucher
{
    qint64 id = 0;
    qint64 code = 0;
    QString date;
    QString product;
    qint64 amount = 0;
    QString name;
};

SqlError readVouchers(Database &db, const SqlStatement &statement, std::vector<Voucher> &out)
{
    return db.forEachRow(statement, [&out](const Database::RowView &row) {
        out.push_back({row.integer(0), row.integer(1), row.text(2), row.text(3), row.integer(4), row.text(5)});
    });
}

// The customer's details, the balances and the lines of vouchers that all belong to one customer.
SqlError fill(Database &db, std::vector<Voucher> vouchers, StatementData &out, QString *refused)
{
    out = {};
    if (vouchers.empty()) {
        *refused = QStringLiteral("거래명세표에 넣을 판매 전표가 없습니다.");
        return {};
    }
    const qint64 code = vouchers.front().code;
    for (const Voucher &v : vouchers) {
        if (v.code != vouchers.front().code) {
            *refused = StatementData::mixedCustomersMessage();
            return {};
        }
        if (v.code == 0 || v.date.isEmpty()) {
            *refused = QStringLiteral("판매처나 판매일자가 없는 전표는 거래명세표에 넣을 수 없습니다.");
            return {};
        }
    }
    std::sort(vouchers.begin(), vouchers.end(),
              [](const Voucher &a, const Voucher &b) { return a.date != b.date ? a.date < b.date : a.id < b.id; });

    const bool hasDetails = db.hasTable(Schema::shopInfoTable()) && db.hasTable(Schema::clientBusinessTable());
    BusinessStore store(db);
    if (hasDetails) {
        if (SqlError e = store.readShop(out.shop); e.isError())
            return e;
        if (SqlError e = store.readClient(BusiMode::Customer, code, out.customer); e.isError())
            return e;
    }
    out.customerCode = code;
    out.customerName = vouchers.back().name;
    if (SqlError e = db.forEachRow(SqlStatement(QStringLiteral("SELECT name, address, tel FROM maechul WHERE id = :id"))
                                       .bind(QStringLiteral("id"), code),
                                   [&out](const Database::RowView &row) {
                                       out.customerName = row.text(0);
                                       out.customerAddress = row.text(1);
                                       out.customerTel = row.text(2);
                                   });
        e.isError())
        return e;

    for (const Voucher &v : vouchers) {
        const VatSplit split = VatSplit::of(v.amount, out.shop.vatIncluded);
        out.lines.push_back({v.date, v.product, v.amount, split});
        out.sum += split;
        out.todayTotal += v.amount;
    }
    out.date = vouchers.back().date;

    // 입금 of the day is what the day changed beyond its vouchers.
    SqlError error;
    const auto before = Balances::balanceBefore(db, BusiMode::Customer, code, out.date, &error);
    if (!before)
        return error;
    const auto at = Balances::balanceAt(db, BusiMode::Customer, code, out.date, &error);
    if (!at)
        return error;
    qint64 soldThatDay = 0;
    if (SqlError e = db.forEachRow(SqlStatement(QStringLiteral("SELECT coalesce(sum(maechul_cost), 0) FROM total "
                                                               "WHERE maechul_code = :code AND maechul_date = :date"))
                                       .bind(QStringLiteral("code"), code)
                                       .bind(QStringLiteral("date"), out.date),
                                   [&soldThatDay](const Database::RowView &row) { soldThatDay = row.integer(0); });
        e.isError())
        return e;
    out.currentBalance = *at;
    out.paidToday = *before + soldThatDay - *at;
    out.previousBalance = out.currentBalance - out.todayTotal + out.paidToday;
    return {};
}

} // namespace

QString StatementData::mixedCustomersMessage()
{
    return QStringLiteral("거래명세표는 한 판매처의 전표로만 만듭니다.\r\n선택한 행에 판매처가 여럿입니다.");
}

SqlError StatementData::ofVouchers(Database &db, const std::vector<qint64> &totalIds, StatementData &out, QString *refused)
{
    refused->clear();
    std::vector<Voucher> vouchers;
    // A bound key each, in slices well under the engines' limit of parameters.
    constexpr size_t Slice = 500;
    for (size_t start = 0; start < totalIds.size(); start += Slice) {
        SqlStatement statement(kColumns + QStringLiteral("total_id IN ("));
        const size_t end = std::min(totalIds.size(), start + Slice);
        for (size_t i = start; i < end; ++i) {
            const QString name = QStringLiteral("k%1").arg(i - start);
            statement.text += (i > start ? QStringLiteral(", :") : QStringLiteral(":")) + name;
            statement.bind(name, totalIds[i]);
        }
        statement.text += QLatin1Char(')');
        if (SqlError e = readVouchers(db, statement, vouchers); e.isError())
            return e;
    }
    return fill(db, std::move(vouchers), out, refused);
}

SqlError StatementData::ofDay(Database &db, qint64 code, const QString &date, StatementData &out, QString *refused)
{
    refused->clear();
    std::vector<Voucher> vouchers;
    if (SqlError e = readVouchers(db,
                                  SqlStatement(kColumns + QStringLiteral("maechul_code = :code AND maechul_date = :date"))
                                      .bind(QStringLiteral("code"), code)
                                      .bind(QStringLiteral("date"), date),
                                  vouchers);
        e.isError())
        return e;
    if (vouchers.empty()) {
        out = {};
        *refused = QStringLiteral("판매처 코드 %1에 %2 판매한 전표가 없습니다.").arg(code).arg(date);
        return {};
    }
    return fill(db, std::move(vouchers), out, refused);
}
