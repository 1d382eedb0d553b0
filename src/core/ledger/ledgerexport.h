// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QVariant>

class LedgerModel;

// The vouchers a ledger model holds, in its order, with the margin column and the four totals
// under them: the grid's visible columns, saved vouchers only (no entry row).
namespace LedgerExport {

struct Column
{
    QString header;
    bool number = false; // amounts: numbers in the workbook, plain digits in CSV
    bool date = false;   // "YYYY-MM-DD" texts: dates in the workbook
    bool plain = false;  // a number without the thousands format (a code)
};
// Any table written the same way: the header row, rows of raw values (null: an empty cell;
// text that is neither an amount nor a date gets the CSV guard), a totals row last (a text is a
// label, a number an amount, null blank).
struct Table
{
    QString sheet;
    std::vector<Column> columns;
    int rows = 0;
    std::function<QVariant(int row, int column)> value;
    QVariantList totals;
};
QString writeXlsx(const Table &table, const QString &path, const QString &title = {});
QString writeCsv(const Table &table, const QString &path);
QString write(const Table &table, const QString &path, const QString &title = {});

// An Excel workbook: amounts as numbers in a thousands format, dates as dates, the header row
// frozen, columns as wide as their Korean texts. title goes into the workbook's properties.
// Empty on success, else the reason.
QString writeXlsx(const LedgerModel &model, const QString &path, const QString &title = {});
// CSV in UTF-8 with a byte-order mark (so that Excel reads Hangul), fields quoted where needed,
// amounts as plain digits.
QString writeCsv(const LedgerModel &model, const QString &path);
// For every workbook the program writes with libxlsxwriter:
// the library's failure in Korean, its own words kept for support;
QString xlsxFailure(int libraryError, int systemError);
// whether the workbook's first sheet, unpacked, holds rowTag in its last part and ends as a sheet
// does (the library reports success for a workbook cut short on a full disk);
bool sheetEndsWith(const QString &path, const QByteArray &rowTag);

// By the file's suffix: .xlsx or .csv; any other suffix is refused.
QString write(const LedgerModel &model, const QString &path, const QString &title = {});

} // namespace LedgerExport
