// SPDX-License-Identifier: GPL-3.0-or-later
// A month's tax-invoice data for 5,000 customers, beside the bare GROUP BY of the same month.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/data/database.h"
#include "devkit/sampleledger.h"
#include "core/documents/businessnumber.h"
#include "core/documents/businessstore.h"
#include "core/documents/hometaxsheet.h"
#include "core/documents/taxinvoice.h"
#include "benchcontext.h"

namespace {

constexpr int kCustomers = 5000;

// Every customer but each tenth gets a valid number, so that both lists are filled.
bool addBusinessDetails(Database &db)
{
    BusinessStore store(db);
    if (!store.saveShop({QStringLiteral("솔빛상회"), QStringLiteral("홍길동"), QStringLiteral("1234567891"), QStringLiteral("도소매"),
                         QStringLiteral("가전"), QStringLiteral("서울 종로 1"), {}, {}, true})
             .ok())
        return false;
    TransactionGuard guard(db, QStringLiteral("bench"));
    for (int code = 1; code <= kCustomers; ++code) {
        if (code % 10 == 0)
            continue;
        const QString nine = QStringLiteral("%1").arg(100000000 + code * 7, 9, 10, QLatin1Char('0'));
        const QString number = nine + QString::number(BusinessNumber::checkDigit(nine));
        if (!store.saveClient(BusiMode::Customer, ClientCode(code), {number, QStringLiteral("대표"), QStringLiteral("도소매"), {}, {}}).ok())
            return false;
    }
    return !guard.commit().isError();
}

} // namespace

void runTaxInvoiceBench(BenchContext &ctx)
{
    const qint64 vouchers = ctx.vouchers > 0 ? ctx.vouchers : 1000000;
    const QString folder = QDir(ctx.workFolder).filePath(QStringLiteral("taxinvoice-%1").arg(vouchers));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/panDB.db");
    Database db;
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "견본 장부 만드는 중 (%lld 전표, 판매처 %d)...\n", static_cast<long long>(vouchers), kCustomers);
        SampleLedgerOptions o;
        o.vouchers = vouchers;
        o.customers = kCustomers;
        o.today = QDate(2026, 12, 8);
        QString error;
        if (!writeSampleLedger(path + QStringLiteral(".part"), o, &error) || !db.open(path + QStringLiteral(".part"))
            || !addBusinessDetails(db)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return;
        }
        db.close();
        QFile::rename(path + QStringLiteral(".part"), path);
    }
    if (!db.open(path))
        return;
    const QDate month(2026, 11, 1);
    TaxInvoiceData data;
    TaxInvoiceData::build(db, month, TaxInvoiceData::Grouping::PerCustomer, data);
    const double ms = bestOf(3, [&] { TaxInvoiceData::build(db, month, TaxInvoiceData::Grouping::PerCustomer, data); });
    qint64 vouchersOfMonth = 0;
    for (const TaxInvoice &i : std::as_const(data.invoices))
        vouchersOfMonth += i.items.size();
    for (const UnissuableSales &u : std::as_const(data.unissuable))
        vouchersOfMonth += u.vouchers;
    qint64 groups = 0;
    const double bare = bestOf(3, [&] {
        groups = bareRows(path, SqlStatement(QStringLiteral("SELECT maechul_code, SUM(maechul_cost), COUNT(*) FROM total "
                                                            "WHERE maechul_date >= :from AND maechul_date <= :to GROUP BY maechul_code"))
                                    .bind(QStringLiteral("from"), QStringLiteral("2026-11-01"))
                                    .bind(QStringLiteral("to"), QStringLiteral("2026-11-30")));
    });
    ctx.report(QStringLiteral("tax-invoice data, 2026-11 (goal < 2000 ms)"), vouchersOfMonth, ms,
               QStringLiteral("%1 invoices, %2 apart; bare GROUP BY %3 ms (%4 groups), ratio %5")
                   .arg(data.invoices.size())
                   .arg(data.unissuable.size())
                   .arg(bare, 0, 'f', 1)
                   .arg(groups)
                   .arg(ms / bare, 0, 'f', 2));
    const QString xlsx = QDir(folder).filePath(QStringLiteral("세금계산서.xlsx"));
    ctx.report(QStringLiteral("Hometax sheet of those invoices"), data.invoices.size(),
               bestOf(3, [&] { HometaxSheet::write(data, xlsx); }), {});
    QFile::remove(xlsx);
}
