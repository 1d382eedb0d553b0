// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-bench [--vouchers N] [--folder DIR] [--pg "host=… dbname=…"]: times the ledger's
// queries on a sample ledger, on the file and, given a server (or SOLBITSEM_PG), on PostgreSQL.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "core/data/connectionsettings.h"
#include "core/data/database.h"
#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "core/masterdata/clientregister.h"
#include "core/masterdata/namelist.h"
#include "benchcontext.h"
#include "benchledger.h"
#include "serverledger.h"

// Steps the statement through the bare C interface, reading every column as the model does.
qint64 bareRows(const QString &path, const SqlStatement &st)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, st.text.toUtf8().constData(), -1, &stmt, nullptr);
    for (const auto &[name, value] : st.binds) {
        const int i = sqlite3_bind_parameter_index(stmt, (QLatin1Char(':') + name).toUtf8().constData());
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(stmt, i, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    qint64 rows = 0;
    std::size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        const int n = sqlite3_column_count(stmt);
        for (int c = 0; c < n; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_INTEGER)
                bytes += static_cast<std::size_t>(sqlite3_column_int64(stmt, c) & 1);
            else
                bytes += static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)) + (sqlite3_column_text(stmt, c) ? 1 : 0);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows + static_cast<qint64>(bytes * 0); // bytes only keeps the reads from being optimised away
}

double bestOf(int n, const std::function<void()> &run)
{
    double best = 1e300;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

QString ringingCustomer(Database &db)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral(
        "SELECT m.tel FROM maechul m WHERE m.tel <> '' AND EXISTS (SELECT 1 FROM total t WHERE t.maechul_code = m.id) "
        "LIMIT 1 OFFSET 5000")));
    if (!r.query.next())
        return {};
    QString reported = r.query.value(0).toString();
    reported.remove(QLatin1Char('-'));
    return reported;
}

qint64 residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long size = 0;
    long long resident = 0;
    statm >> size >> resident;
    return resident * 4096;
}

void runMasterDataBench(BenchContext &ctx);
void runGridBench(BenchContext &ctx);
void runEditBench(BenchContext &ctx);
void runPostalBench(BenchContext &ctx);
void runAnalysisBench(BenchContext &ctx);
void runCallerIdBench(BenchContext &ctx);
void runImportBench(BenchContext &ctx, const QString &jetFile, bool largeOnly);
void runExportBench(BenchContext &ctx);
void runTaxInvoiceBench(BenchContext &ctx);
void runAccountsBench(BenchContext &ctx);

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("vouchers"), QStringLiteral("전표 수"), QStringLiteral("N"), QStringLiteral("1000000")});
    parser.addOption({QStringLiteral("folder"), QStringLiteral("견본 장부를 둘 폴더"), QStringLiteral("DIR"),
                      QDir::tempPath() + QStringLiteral("/solbitsem-bench")});
    parser.addOption({QStringLiteral("only"),
                      QStringLiteral("이 묶음만 잽니다 (ledger, grid, edit, masterdata, postal, analysis, callerid, import, "
                                     "import-large, export, taxinvoice, accounts)"),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("jet"), QStringLiteral("가져오기를 잴 예전 장부 (.mdb)"), QStringLiteral("FILE"),
                      QStringLiteral(SOLBITSEM_JET_FIXTURE)});
    parser.addOption({QStringLiteral("pg"),
                      QStringLiteral("장부 측정을 함께 할 PostgreSQL 서버 (libpq 형식; 없으면 SOLBITSEM_PG)"),
                      QStringLiteral("CONNINFO")});
    parser.process(app);
    const QString only = parser.value(QStringLiteral("only"));
    const auto wanted = [&only](const char *group) { return only.isEmpty() || only == QLatin1String(group); };
    const auto line = [](const QString &what, qint64 rows, double ms, const QString &note) {
        std::printf("%-44s %10lld %10.1f %s\n", qPrintable(what), static_cast<long long>(rows), ms, qPrintable(note));
    };
    if (only == QLatin1String("import") || only == QLatin1String("import-large")) {
        // The import needs no sample ledger.
        Database none;
        BenchContext ctx{none, {}, parser.value(QStringLiteral("folder")), 0, line, {}, {}};
        QDir().mkpath(ctx.workFolder);
        runImportBench(ctx, parser.value(QStringLiteral("jet")), only == QLatin1String("import-large"));
        return 0;
    }
    const qint64 vouchers = parser.value(QStringLiteral("vouchers")).toLongLong();
    const QString folder = parser.value(QStringLiteral("folder")) + QStringLiteral("/%1").arg(vouchers);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/panDB.db");
    if (only == QLatin1String("taxinvoice")) {
        // It brings its own sample, with more customers.
        Database none;
        BenchContext ctx{none, {}, parser.value(QStringLiteral("folder")), vouchers, line, {}, {}};
        runTaxInvoiceBench(ctx);
        return 0;
    }
    const QDate today(2026, 12, 8);
    if (!ensureSampleLedger(path, vouchers, today))
        return 1;
    Database db;
    if (!db.open(path))
        return 1;
    PrintingPrompt prompt;

    // The same ledger on the server, when one is given.
    const QString pg = parser.isSet(QStringLiteral("pg")) ? parser.value(QStringLiteral("pg")) : qEnvironmentVariable("SOLBITSEM_PG");
    ConnectionSettings server;
    Database serverDb;
    std::unique_ptr<BareServer> bare;
    if (const ConnectionSettings given = ConnectionSettings::parse(pg); !pg.isEmpty() && given.isServer()) {
        if (const auto ledger = serverLedger(given, QStringLiteral("solbitsem_bench_%1").arg(vouchers), path, false);
            ledger && serverDb.open(*ledger)) {
            server = *ledger;
            bare = std::make_unique<BareServer>(server);
        }
    }
    const bool onServer = server.isServer() && bare && bare->isOpen();
    if (onServer)
        std::printf("server: PostgreSQL %s\n", qPrintable(server.display()));
    else
        std::printf("server: skipped (no --pg, no SOLBITSEM_PG, or the server could not be reached)\n");
    const auto lineBoth = [](const QString &what, qint64 rows, double fileMs, double serverMs, const QString &note) {
        // In the columns of the query lines, without bare statements.
        const QByteArray server = serverMs < 0 ? QByteArray("skipped") : QByteArray::number(serverMs, 'f', 1);
        std::printf("%-44s %10lld %10.1f %10s %7s | %10s %s\n", qPrintable(what), static_cast<long long>(rows), fileMs,
                    "", "", server.constData(), qPrintable(note));
    };

    std::printf("%-44s %10s %10s %10s %7s | %10s %10s %7s\n", "measurement", "rows", "file ms", "bare ms", "ratio",
                "server ms", "bare ms", "ratio");
    const auto measure = [&](const char *what, const VoucherFilter &f) {
        LedgerModel model;
        Ledger ledger(db, prompt, model);
        // Warm the page cache once so both sides read from memory.
        ledger.DispList(f);
        bareRows(path, voucherQuery(db.dialect(), f));
        const double modelMs = bestOf(3, [&] { ledger.DispList(f); });
        qint64 rows = 0;
        const double bareMs = bestOf(3, [&] { rows = bareRows(path, voucherQuery(db.dialect(), f)); });
        std::printf("%-44s %10lld %10.1f %10.1f %7.2f", what, static_cast<long long>(rows), modelMs, bareMs,
                    modelMs / bareMs);
        if (onServer) {
            LedgerModel serverModel;
            Ledger serverLedger(serverDb, prompt, serverModel);
            const SqlStatement st = voucherQuery(serverDb.dialect(), f);
            serverLedger.DispList(f);
            bare->rows(st);
            const double serverMs = bestOf(3, [&] { serverLedger.DispList(f); });
            qint64 serverRows = 0;
            const double serverBareMs = bestOf(3, [&] { serverRows = bare->rows(st); });
            std::printf(" | %10.1f %10.1f %7.2f%s", serverMs, serverBareMs, serverMs / serverBareMs,
                        serverRows == rows ? "" : " ROW COUNTS DIFFER");
        }
        std::printf("\n");
    };
    // A type-ahead lookup in a register, the window's list query and its rows.
    const auto lookup = [&](const QString &what, const std::function<qint64(Database &)> &run) {
        qint64 rows = 0;
        const double fileMs = bestOf(5, [&] { rows = run(db); });
        const double serverMs = onServer ? bestOf(5, [&] { run(serverDb); }) : -1;
        lineBoth(what, rows, fileMs, serverMs, {});
    };
    if (wanted("ledger")) {
        VoucherFilter month;
        month.fromDate = QDate(today.year(), today.month(), 1);
        month.toDate = today;
        measure("default month query + model fill", month);
        VoucherFilter product;
        product.productName = QStringLiteral("세탁기");
        measure("product contains-search (세탁기)", product);
        VoucherFilter client;
        client.clientName = QStringLiteral("김철수");
        measure("client-name search (판매처 김철수)", client);
        VoucherFilter group;
        group.fromDate = today.addYears(-3);
        group.toDate = month.toDate;
        group.group = QStringLiteral("가전");
        group.noSale = true;
        measure("group 가전, unsold, three years", group);
        lookup(QStringLiteral("customer lookup '김' (register)"), [&](Database &on) {
            const auto found = ClientRegister(on, BusiMode::Customer).list(QStringLiteral("김"));
            return found ? static_cast<qint64>(found->size()) : -1;
        });
        lookup(QStringLiteral("product lookup '세탁' (register)"), [&](Database &on) {
            const auto found = NameList(on, prompt, NameList::Kind::Product).list(QStringLiteral("세탁"));
            return found ? static_cast<qint64>(found->size()) : -1;
        });

        {
            // Memory of a model holding 100,000 rows.
            VoucherFilter wide;
            wide.fromDate = QDate(1, 1, 1);
            wide.toDate = QDate(9999, 12, 31);
            SqlStatement st = voucherQuery(db.dialect(), wide);
            st.text.replace(QStringLiteral(" ORDER BY"), QStringLiteral(" AND total_id <= 100000 ORDER BY"));
            const qint64 before = residentBytes();
            LedgerModel model;
            model.setRows(std::move(*loadVouchers(db, st, prompt)));
            const qint64 after = residentBytes();
            std::printf("%-44s %10d %10.1f MB\n", "model memory (rows, resident)", model.rowCount(),
                        (after - before) / 1048576.0);
        }
    }

    BenchContext ctx{db, path, folder, vouchers, line, onServer ? server : ConnectionSettings{}, lineBoth};
    if (wanted("grid"))
        runGridBench(ctx);
    if (wanted("edit"))
        runEditBench(ctx);
    if (wanted("masterdata"))
        runMasterDataBench(ctx);
    if (wanted("postal"))
        runPostalBench(ctx);
    if (wanted("analysis"))
        runAnalysisBench(ctx);
    if (wanted("callerid"))
        runCallerIdBench(ctx);
    if (wanted("accounts"))
        runAccountsBench(ctx);
    if (wanted("import"))
        runImportBench(ctx, parser.value(QStringLiteral("jet")), false);
    if (wanted("export"))
        runExportBench(ctx);
    return 0;
}
