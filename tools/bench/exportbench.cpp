// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchcontext.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include "core/data/database.h"
#include "core/ledger/ledgerexport.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/voucherquery.h"
#include "core/shell/ledgerbackup.h"

void runExportBench(BenchContext &ctx)
{
    // The first 100,000 vouchers of the sample, as the window would show them.
    VoucherFilter all;
    all.fromDate = QDate(1, 1, 1);
    all.toDate = QDate(9999, 12, 31);
    SqlStatement st = voucherQuery(ctx.db.dialect(), all);
    st.text.replace(QStringLiteral(" ORDER BY"), QStringLiteral(" AND total_id <= 100000 ORDER BY"));
    std::vector<LedgerRow> rows;
    readVouchers(ctx.db, st, rows);
    LedgerModel model;
    model.setRows(std::move(rows));
    const QString xlsx = QDir(ctx.workFolder).filePath(QStringLiteral("export.xlsx"));
    const QString csv = QDir(ctx.workFolder).filePath(QStringLiteral("export.csv"));
    ctx.report(QStringLiteral("export to .xlsx (goal < 5000 ms)"), model.rowCount(),
               bestOf(3, [&] { LedgerExport::writeXlsx(model, xlsx); }), {});
    ctx.report(QStringLiteral("export to .csv"), model.rowCount(), bestOf(3, [&] { LedgerExport::writeCsv(model, csv); }), {});
    QFile::remove(xlsx);
    QFile::remove(csv);

    // The online backup of the whole ledger, with its target on the same disk.
    const QString copy = QDir(ctx.workFolder).filePath(QStringLiteral("backup.db"));
    ctx.report(QStringLiteral("online backup of the whole ledger"), ctx.vouchers, bestOf(3, [&] {
                   QFile::remove(copy);
                   LedgerBackup::copyLedger(ctx.db, copy);
               }),
               {});
    QFile::remove(copy);
    if (!ctx.server.isServer())
        return;
    // The server's backup: one snapshot read into a new ledger file.
    Database server;
    if (!server.open(ctx.server))
        return;
    ctx.report(QStringLiteral("server backup (one snapshot into a file)"), ctx.vouchers, bestOf(3, [&] {
                   QFile::remove(copy);
                   LedgerBackup::copyLedger(server, copy);
               }),
               {});
    QFile::remove(copy);
}
