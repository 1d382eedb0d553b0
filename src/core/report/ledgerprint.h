// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QDate>
#include <QString>

#include "core/data/sqlstatement.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/ledgerrow.h"

class Database;

// The printed ledger's title: the value of the report's Title formula, blanks included.
inline QString ledgerReportTitle()
{
    return QStringLiteral("솔  빛  셈");
}

// Copies the saved vouchers the grid shows (not the entry row), in the grid's order, into
// total_print, replacing what an earlier print left there (on a server, this connection's own
// staging: another PC printing at the same moment keeps its rows). One transaction: on a failure
// the earlier staging stays and the engine's error is returned.
SqlError print_total_input(Database &db, const LedgerModel &model);

// What the printed ledger shows. Rows carry the staged fields only (no group, codes or key).
struct LedgerReport
{
    QString title;
    QString heading; // the period or search the rows come from
    QDate printDate;
    std::vector<LedgerRow> rows;
    LedgerModel::Totals totals;
};

// Reads total_print back in staging order and sums the four totals.
SqlError readLedgerReport(Database &db, LedgerReport &report);

// A print's data side: stages the shown rows, then reads them back as the report titled with
// the Title formula's value, under heading, dated printDate.
SqlError prepareLedgerReport(Database &db, const LedgerModel &model, const QString &heading, const QDate &printDate,
                             LedgerReport &report);
// The caption of the box that reports a failed staging, above the engine's number and text.
inline QString stagingErrorCaption()
{
    return QStringLiteral("인쇄할 자료를 준비하지 못했습니다.");
}
