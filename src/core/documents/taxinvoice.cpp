// SPDX-License-Identifier: GPL-3.0-or-later
#include "taxinvoice.h"

#include <QHash>

#include "core/data/database.h"
#include "core/data/schema.h"
#include "businessnumber.h"

namespace {

struct Customer
{
    QString name;
    QString address;
};

// The register's customers that bought in the period, by code.
SqlError readCustomers(Database &db, const QString &from, const QString &to, QHash<ClientCode, Customer> &out)
{
    return db.forEachRow(SqlStatement(QStringLiteral("SELECT id, name, address FROM maechul WHERE id IN (SELECT maechul_code "
                                                     "FROM total WHERE maechul_date >= :from AND maechul_date <= :to)"))
                             .bind(QStringLiteral("from"), from)
                             .bind(QStringLiteral("to"), to),
                         [&out](const Database::RowView &row) { out.insert(ClientCode::fromNumber(row.integer(0)), {row.text(1), row.text(2)}); });
}

SqlError readBusinesses(Database &db, QHash<ClientCode, ClientBusiness> &out)
{
    return db.forEachRow(SqlStatement(QStringLiteral("SELECT client_code, busi_no, owner, busi_type, busi_item, email FROM ")
                                      + Schema::clientBusinessTable() + QStringLiteral(" WHERE busi_mode = :mode"))
                             .bind(QStringLiteral("mode"), toInt(BusiMode::Customer)),
                         [&out](const Database::RowView &row) {
                             out.insert(ClientCode::fromNumber(row.integer(0)), {row.text(1), row.text(2), row.text(3), row.text(4), row.text(5)});
                         });
}

} // namespace

SqlError TaxInvoiceData::build(Database &db, const QDate &month, Grouping grouping, TaxInvoiceData &out, const QDate &issueDate)
{
    out = {};
    const QDate first(month.year(), month.month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    out.issueDate = issueDate.isValid() ? issueDate : last;
    const QString from = first.toString(Qt::ISODate);
    const QString to = last.toString(Qt::ISODate);

    // A ledger the start-up maintenance has not brought up to date yet has no business details.
    const bool hasDetails = db.hasTable(Schema::shopInfoTable()) && db.hasTable(Schema::clientBusinessTable());
    if (const SqlError e = hasDetails ? BusinessStore(db).readShop(out.shop) : SqlError(); e.isError())
        return e;
    QHash<ClientCode, Customer> customers;
    QHash<ClientCode, ClientBusiness> businesses;
    if (SqlError e = readCustomers(db, from, to, customers);
        e.isError() || (hasDetails && (e = readBusinesses(db, businesses)).isError()))
        return e;

    const BusinessNumber shopNumber = BusinessNumber::parse(out.shop.number);
    const QString shopProblem = shopNumber.isEmpty() ? QStringLiteral("우리 가게의 사업자등록번호가 없습니다 (사업자 정보).")
                                : !shopNumber.ok()   ? QStringLiteral("우리 가게의 사업자등록번호가 잘못되었습니다: ") + shopNumber.error
                                                     : QString();

    // A finished invoice goes to the issuable list or, with its reason, to the other.
    TaxInvoice current;
    bool open = false;
    const auto close = [&] {
        if (!open)
            return;
        open = false;
        QString reason = shopProblem;
        const BusinessNumber number = BusinessNumber::parse(current.business.number);
        if (reason.isEmpty() && current.customerCode == ClientCode())
            reason = QStringLiteral("등록된 판매처가 없는 전표입니다.");
        else if (reason.isEmpty() && number.isEmpty())
            reason = QStringLiteral("판매처의 사업자등록번호가 없습니다.");
        else if (reason.isEmpty() && !number.ok())
            reason = number.error;
        else if (reason.isEmpty() && current.total.total() <= 0)
            reason = QStringLiteral("합계가 0원 이하라 세금계산서를 발급할 수 없습니다.");
        if (reason.isEmpty()) {
            current.business.number = number.digits;
            out.invoices.append(current);
        } else {
            out.unissuable.append({current.customerCode, current.customerName, int(current.items.size()), current.total, reason});
        }
    };
    const bool vatIncluded = out.shop.vatIncluded;
    // Vouchers of no registered customer (no code, or 0) come first and make one line.
    const SqlError e = db.forEachRow(
        SqlStatement(QStringLiteral("SELECT coalesce(maechul_code, 0), maechul_date, pro_name, maechul_cost, maechul_name "
                                    "FROM total WHERE maechul_date >= :from AND maechul_date <= :to AND maechul_cost <> 0 "
                                    "ORDER BY coalesce(maechul_code, 0), maechul_date, total_id"))
            .bind(QStringLiteral("from"), from)
            .bind(QStringLiteral("to"), to),
        [&](const Database::RowView &row) {
            const ClientCode code = ClientCode::fromNumber(row.integer(0));
            if (open && (current.customerCode != code || (grouping == Grouping::PerVoucher && code != ClientCode())))
                close();
            if (!open) {
                current = {};
                current.customerCode = code;
                const auto c = customers.constFind(code);
                current.customerName = code == ClientCode() ? QStringLiteral("(판매처 없음)") : c != customers.cend() ? c->name : row.text(4);
                current.address = c != customers.cend() ? c->address : QString();
                current.business = code != ClientCode() ? businesses.value(code) : ClientBusiness();
                open = true;
            }
            const VatSplit amount = VatSplit::of(row.integer(3), vatIncluded);
            current.items.append({QDate::fromString(row.text(1), Qt::ISODate), row.text(2), amount});
            current.total += amount;
        });
    if (e.isError())
        return e;
    close();
    return {};
}
