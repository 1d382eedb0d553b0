// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis table on the sample ledger: build and page, beside the bare GROUP BY statement.
#include <QDate>

#include "core/analysis/tradeanalysis.h"
#include "core/data/database.h"
#include "benchcontext.h"

void runAnalysisBench(BenchContext &ctx)
{
    PrintingPrompt prompt;
    const QDate today(2026, 12, 8);
    const QString to = today.toString(Qt::ISODate);
    const auto measure = [&](const QString &what, TradeAnalysis::Grouping g, int years) {
        const TradeAnalysis::Filter f{today.addYears(-years).addDays(1).toString(Qt::ISODate), to, {}, {}, g};
        TradeAnalysis a(ctx.db, prompt);
        qsizetype points = 0;
        const auto buildAndPage = [&] {
            a.build(f);
            const QStringList pages = a.pages(QStringLiteral("31"));
            points = a.page(1, static_cast<int>(pages.size()), QStringLiteral("31"), TradeAnalysis::Amount).size()
                     + a.page(0, static_cast<int>(pages.size()), QStringLiteral("31"), TradeAnalysis::Amount).size();
        };
        buildAndPage();
        const double ms = bestOf(3, buildAndPage);
        qint64 rows = 0;
        const double bare = bestOf(3, [&] { rows = bareRows(ctx.ledgerPath, TradeAnalysis::query(f, 1)); });
        ctx.report(what, rows, ms, QStringLiteral("bare GROUP BY %1 ms, ratio %2").arg(bare, 0, 'f', 1).arg(ms / bare, 0, 'f', 2));
    };
    measure(QStringLiteral("analysis by day, one year (build + pages)"), TradeAnalysis::Day, 1);
    measure(QStringLiteral("analysis by month, three years"), TradeAnalysis::Month, 3);
    measure(QStringLiteral("analysis by product, three years"), TradeAnalysis::Product, 3);
}
