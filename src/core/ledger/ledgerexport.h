// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class LedgerModel;

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
