// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct TaxInvoiceData;

// The month's tax invoices as Hometax's bulk-issue spreadsheet: one row per invoice in the 59
// columns of its form. The layout follows that form; Hometax's own template is the reference
// if it changes.
namespace HometaxSheet {

inline constexpr int ColumnCount = 59;
inline constexpr int ItemsPerInvoice = 4;

QStringList headers();
// The issuable invoices of data, written whole or not at all. Empty on success, else the reason.
QString write(const TaxInvoiceData &data, const QString &path);

} // namespace HometaxSheet
