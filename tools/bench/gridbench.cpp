// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchcontext.h"

#include <random>
#include <vector>

#include <QDate>
#include <QElapsedTimer>

#include "core/ledger/ledgermodel.h"
#include "core/ledger/totalsmodel.h"

namespace {

constexpr int GridRows = 100000;

// Ledger rows shaped like the sample's: Hangul product and client names, dates over three
// years, about four in five sold.
std::vector<LedgerRow> gridRows()
{
    std::mt19937 rng(20040517);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const QString syllables = QStringLiteral("가나다라마바사아자차카타파하김이박최정강조윤장임세탁기냉장고");
    const auto name = [&](int len) {
        QString s;
        for (int i = 0; i < len; ++i)
            s += syllables[pick(static_cast<int>(syllables.size()))];
        return s;
    };
    const QDate first(2001, 1, 1);
    std::vector<LedgerRow> rows(GridRows);
    for (int i = 0; i < GridRows; ++i) {
        LedgerRow &r = rows[static_cast<size_t>(i)];
        r.totalId = i + 1;
        const QDate bought = first.addDays(pick(1095));
        r.maeipDate = bought.toString(QStringLiteral("yyyy-MM-dd"));
        r.groupName = name(2);
        r.proName = name(2 + pick(5));
        r.maeipCode = ClientCode(pick(200) + 1);
        r.maeipName = name(3);
        r.maeipCost = (pick(1000) + 1) * 1000;
        if (pick(5) != 0) {
            r.maechulDate = bought.addDays(pick(60)).toString(QStringLiteral("yyyy-MM-dd"));
            r.maechulCode = ClientCode(pick(2000) + 1);
            r.maechulName = name(3);
            r.maechulCost = r.maeipCost + (pick(200) - 50) * 1000;
            r.maechulUsecost = pick(20) * 500;
        }
    }
    return rows;
}

} // namespace

void runGridBench(BenchContext &ctx)
{
    LedgerModel model;
    TotalsModel totals(model);
    model.setDefaultDate(QStringLiteral("2004-05-17"));
    model.setRows(gridRows());
    model.AddNewRow(model.defaultDate());

    // A header click: the model drops the entry row, sorts and appends a fresh one.
    const struct
    {
        int column;
        const char *what;
    } sorts[] = {{LedgerModel::ColProName, "grid sort by 품명 (header click)"},
                 {LedgerModel::ColMaeipDate, "grid sort by 매입일자 (header click)"},
                 {LedgerModel::ColMaechulCost, "grid sort by 판매금액 (header click)"},
                 {LedgerModel::ColMargin, "grid sort by 마진 (header click)"}};
    for (const auto &s : sorts) {
        Qt::SortOrder order = Qt::AscendingOrder;
        const double ms = bestOf(3, [&] {
            model.sort(s.column, order);
            order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        });
        ctx.report(QString::fromUtf8(s.what), model.rowCount(), ms, QStringLiteral("goal < 300 ms"));
    }

    // One amount typed: the four sums move by the difference instead of being summed again.
    constexpr int Edits = 10000;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < Edits; ++i) {
        const int row = (i * 7919) % (model.rowCount() - 1);
        model.setData(model.index(row, LedgerModel::ColMaechulCost), qint64(100000 + i));
    }
    const double perEdit = t.nsecsElapsed() / 1e6 / Edits;
    const double resum = bestOf(3, [&] {
        qint64 sum = 0;
        for (int r = 0; r < model.rowCount(); ++r)
            sum += model.row(r).margin();
        Q_UNUSED(sum)
    });
    ctx.report(QStringLiteral("totals update on one cell change"), model.rowCount(), perEdit,
               QStringLiteral("ms per edit (%1 µs); summing all margins once takes %2 ms")
                   .arg(perEdit * 1000.0, 0, 'f', 1)
                   .arg(resum, 0, 'f', 2));
    const LedgerModel::Totals sums = model.totals();
    qint64 check = 0;
    for (int r = 0; r < model.rowCount(); ++r)
        check += model.row(r).margin();
    if (check != sums.margin)
        ctx.report(QStringLiteral("TOTALS MISMATCH"), model.rowCount(), 0, QString::number(check - sums.margin));
}
