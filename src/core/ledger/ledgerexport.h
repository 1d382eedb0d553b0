// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVariant>

class LedgerModel;

// Any table written as a workbook or CSV the way the ledger is: the header row, the rows, then
// a totals row when there is one. A number column holds whole won (qint64) and is written as a
// number, a date column "YYYY-MM-DD" text written as a date, any other column typed text
// (guarded in CSV against a spreadsheet running it).
struct ExportTable
{
    enum class Kind { Text, Number, Date };
    QStringList headers;
    std::vector<Kind> kinds; // one per header
    int rowCount = 0;
    std::function<QVariant(int row, int column)> value; // null: an empty cell
    std::vector<QVariant> totals; // the last row: text or qint64 per column; empty: no totals row
    QByteArray sheetName = "장부";
};

namespace TableExport {
// By the file's suffix: .xlsx or .csv; any other suffix is refused. Empty on success, else the
// reason. title goes into the workbook's properties.
QString write(const ExportTable &table, const QString &path, const QString &title = {});
QString writeXlsx(const ExportTable &table, const QString &path, const QString &title = {});
QString writeCsv(const ExportTable &table, const QString &path);
} // namespace TableExport

// The vouchers a ledger model holds, in its order, with the margin column and the four totals
// under them: the grid's visible columns, saved vouchers only (no entry row).
namespace LedgerExport {

// An Excel workbook: amounts as numbers in a thousands format, dates as dates, the header row
// frozen, columns as wide as their Korean texts. title goes into the workbook's properties.
// Empty on success, else the reason.
QString writeXlsx(const LedgerModel &model, const QString &path, const QString &title = {});
// CSV in UTF-8 with a byte-order mark (so that Excel reads Hangul), fields quoted where needed,
// amounts as plain digits.
QString writeCsv(const LedgerModel &model, const QString &path);
// By the file's suffix: .xlsx or .csv; any other suffix is refused.
QString write(const LedgerModel &model, const QString &path, const QString &title = {});

} // namespace LedgerExport
