// SPDX-License-Identifier: GPL-3.0-or-later
// What each client owes: the balances list of 100,000 customers over the benchmark's vouchers
// (1,000,000 by default) and 200,000 payments beside the plain GROUP BY of the vouchers, one
// client's ledger of 10,000 lines, saving a payment, and the caller-ID lookup with the balance.
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>

#include "core/accounts/balances.h"
#include "core/accounts/clientledger.h"
#include "core/accounts/paymentsmodel.h"
#include "core/data/database.h"
#include "core/ledger/voucherstore.h"
#include "core/masterdata/callerlookup.h"
#include "benchcontext.h"
#include "benchledger.h"

namespace {

constexpr int kCustomers = 100000;
constexpr int kPayments = 200000;
// The customer whose ledger has 10,000 lines: 7,000 sales and 3,000 payments of their own.
constexpr qint64 kBusyCustomer = kCustomers + 1;

bool addPayments(Database &db)
{
    TransactionGuard guard(db, QStringLiteral("bench"));
    Database::RowWriter w(db, QStringLiteral("INSERT INTO payment (busi_mode, client_code, pay_date, amount, method, memo) "
                                             "VALUES (1, ?, ?, ?, '현금', '')"));
    QRandomGenerator rng(7);
    const QDate first(2024, 1, 1);
    const auto add = [&](qint64 code) {
        const QByteArray date = first.addDays(rng.bounded(1073)).toString(Qt::ISODate).toUtf8();
        w.bindInteger(0, code);
        w.bindText(1, date);
        w.bindInteger(2, 10000 * (1 + rng.bounded(100)));
        return w.step();
    };
    for (int i = 0; i < kPayments; ++i)
        if (!add(1 + rng.bounded(kCustomers)))
            return false;
    for (int i = 0; i < 3000; ++i)
        if (!add(kBusyCustomer))
            return false;
    Database::RowWriter v(db, QStringLiteral("INSERT INTO total (maeip_date, pro_code, maeip_code, maeip_name, maeip_cost, "
                                             "maechul_code, maechul_date, maechul_name, maechul_cost, maechul_usecost, "
                                             "group_name, pro_name) VALUES (?, 0, 1, '', 100000, ?, ?, '바쁜상회', ?, 0, '', '세탁기')"));
    for (int i = 0; i < 7000; ++i) {
        const QByteArray date = first.addDays(rng.bounded(1073)).toString(Qt::ISODate).toUtf8();
        v.bindText(0, date);
        v.bindInteger(1, kBusyCustomer);
        v.bindText(2, date);
        v.bindInteger(3, 150000);
        if (!v.step())
            return false;
    }
    return !db.exec(SqlStatement(QStringLiteral("INSERT INTO maechul (id, name, tel, phone, zipcode, address, memo) "
                                                "VALUES (%1, '바쁜상회', '', '', '', '', '')")
                                     .arg(kBusyCustomer)))
                .error.isError()
           && !guard.commit().isError();
}

} // namespace

void runAccountsBench(BenchContext &ctx)
{
    const QString path = ctx.workFolder + QStringLiteral("/accounts.db");
    if (!QFileInfo::exists(path)) {
        Database db;
        if (!ensureSampleLedger(path, ctx.vouchers, QDate(2026, 12, 8), kCustomers) || !db.open(path) || !addPayments(db)) {
            std::fprintf(stderr, "입금 견본을 만들지 못했습니다.\n");
            QFile::remove(path);
            return;
        }
    }
    Database db;
    if (!db.open(path))
        return;
    PrintingPrompt prompt;

    // The balances list beside its own statements stepped bare, beside the plain GROUP BY of the
    // balance itself (vouchers, payments and openings in one statement, the balance at the end of
    // the period alone) and beside the plain GROUP BY of the vouchers (what no balance can beat).
    const QString from = QStringLiteral("2026-01-01"), to = QStringLiteral("2026-12-08");
    std::vector<Balances::Row> rows;
    const auto list = [&] { Balances::list(db, BusiMode::Customer, from, to, rows); };
    list();
    const double ms = bestOf(3, list);
    const double bare = bestOf(3, [&] {
        for (const SqlStatement &st : Balances::listStatements(BusiMode::Customer, from, to))
            bareRows(path, st);
    });
    SqlStatement balanceSql(QStringLiteral(
        "SELECT code, SUM(amount) FROM (SELECT maechul_code AS code, maechul_cost AS amount FROM total "
        "WHERE maechul_code <> 0 AND maechul_date <= :to UNION ALL SELECT client_code, -amount FROM payment "
        "WHERE busi_mode = 1 AND pay_date <= :to UNION ALL SELECT client_code, amount FROM client_opening "
        "WHERE busi_mode = 1) AS t GROUP BY code"));
    balanceSql.bind(QStringLiteral("to"), to);
    const double plainBalance = bestOf(3, [&] { bareRows(path, balanceSql); });
    const double plain = bestOf(3, [&] {
        bareRows(path, SqlStatement(QStringLiteral("SELECT maechul_code, SUM(maechul_cost) FROM total GROUP BY maechul_code")));
    });
    ctx.report(QStringLiteral("balances, 100k customers, 200k payments"), static_cast<qint64>(rows.size()), ms,
               QStringLiteral("bare statements %1 ms, ratio %2; plain balance GROUP BY %3 ms, ratio %4; "
                              "plain voucher GROUP BY %5 ms, ratio %6; %7")
                   .arg(bare, 0, 'f', 1)
                   .arg(ms / bare, 0, 'f', 2)
                   .arg(plainBalance, 0, 'f', 1)
                   .arg(ms / plainBalance, 0, 'f', 2)
                   .arg(plain, 0, 'f', 1)
                   .arg(ms / plain, 0, 'f', 2)
                   .arg(ms < 1000 && ms / plainBalance <= 1.5 ? QStringLiteral("ok") : QStringLiteral("OVER")));

    ClientLedgerModel ledger;
    const auto build = [&] { ledger.load(db, BusiMode::Customer, kBusyCustomer, {}, {}); };
    build();
    const double ledgerMs = bestOf(5, build);
    ctx.report(QStringLiteral("client ledger, one customer"), ledger.rowCount(), ledgerMs,
               ledgerMs < 100 ? QStringLiteral("< 100 ms") : QStringLiteral("OVER 100 ms"));

    PaymentsModel payments(db, prompt);
    payments.setClient(BusiMode::Customer, 12);
    const double saveMs = bestOf(50, [&] { payments.addPayment(QStringLiteral("2026-12-08"), QStringLiteral("50000"), {}, {}); });
    // A voucher written into the same file in the same run, for the disk's speed at the moment.
    VoucherStore vouchers(db);
    LedgerRow entry;
    entry.maechulDate = QStringLiteral("2026-12-08");
    entry.proName = QStringLiteral("벤치 상품");
    const double voucherMs = bestOf(50, [&] { vouchers.insert(entry); });
    ctx.report(QStringLiteral("save a payment (on disk when it returns)"), 1, saveMs,
               QStringLiteral("a voucher's insert %1 ms; %2")
                   .arg(voucherMs, 0, 'f', 1)
                   .arg(saveMs < 20 ? QStringLiteral("< 20 ms") : QStringLiteral("OVER 20 ms")));

    // A ring from a customer with vouchers: the lookup, then their balance for the panel.
    const QString reported = ringingCustomer(db);
    if (reported.isEmpty())
        return;
    qint64 balance = 0;
    const auto ring = [&] {
        const CallerLookup found = LookupCaller(db, reported);
        if (found.found)
            balance = Balances::balanceAt(db, BusiMode::Customer, found.caller.id.value(), QStringLiteral("2026-12-08")).value_or(0);
    };
    ring();
    const double ringMs = bestOf(5, ring);
    const double balanceMs = bestOf(5, [&] { Balances::balanceAt(db, BusiMode::Customer, kBusyCustomer, {}); });
    ctx.report(QStringLiteral("caller-ID lookup with the balance"), 1, ringMs,
               QStringLiteral("balance of the 10,000-line customer alone %1 ms; %2")
                   .arg(balanceMs, 0, 'f', 2)
                   .arg(ringMs < 20 ? QStringLiteral("< 20 ms") : QStringLiteral("OVER 20 ms")));
    Q_UNUSED(balance);
}
