// SPDX-License-Identifier: GPL-3.0-or-later
// The caller-ID lookup on a ring: 100,000 customers and the benchmark's vouchers (1,000,000 by
// default) spread over them. A report must be shown within 20 ms.
#include <QFileInfo>
#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"
#include "core/masterdata/callerlookup.h"
#include "benchcontext.h"
#include "benchledger.h"

void runCallerIdBench(BenchContext &ctx)
{
    const QString path = ctx.workFolder + QStringLiteral("/callerid.db");
    if (!ensureSampleLedger(path, ctx.vouchers, QDate(2026, 12, 8), 100000))
        return;
    Database db;
    if (!db.open(path))
        return;
    PrintingPrompt prompt;
    // A customer with vouchers, called from the number as the device reports it (digits only).
    const QString reported = ringingCustomer(db);
    if (reported.isEmpty())
        return;

    const auto lookup = [&](const QString &what, const QString &number) {
        if (const CallerLookup warm = LookupCaller(db, number); warm.error.isError()) {
            reportQueryError(warm.error, prompt);
            return;
        }
        qint64 rows = 0;
        const double ms = bestOf(5, [&] {
            const CallerLookup found = LookupCaller(db, number);
            rows = found.found ? found.products.count(QStringLiteral("), ")) + 1 : 0;
        });
        const double bare = bestOf(5, [&] { bareRows(path, callerLookupStatement(SqlDialect(), number)); });
        ctx.report(what, rows, ms,
                   QStringLiteral("bare %1 ms; %2").arg(bare, 0, 'f', 1).arg(ms < 20 ? QStringLiteral("< 20 ms") : QStringLiteral("OVER 20 ms")));
    };
    lookup(QStringLiteral("caller-ID lookup, registered (100k cust.)"), reported);
    lookup(QStringLiteral("caller-ID lookup, unregistered"), QStringLiteral("0319990000"));
}
