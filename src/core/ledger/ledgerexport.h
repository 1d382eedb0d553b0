// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QVariant>

class LedgerModel;
class StagedFile;
struct lxw_workbook;

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

// Every workbook the program writes with libxlsxwriter, whole or not at all: a workbook in
// constant-memory mode into file's temporary name (file.create() is called here), or null with
// the reason;
lxw_workbook *openWorkbook(StagedFile &file, QString *error);
// closed, its first sheet read back to end with row lastRow (counted from 1), and put in place.
// Empty on success, else the reason.
QString closeWorkbook(lxw_workbook *book, StagedFile &file, int lastRow);

// By the file's suffix: .xlsx or .csv; any other suffix is refused.
QString write(const LedgerModel &model, const QString &path, const QString &title = {});

} // namespace LedgerExport
