// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDate>
#include <QString>

#include "voucherfield.h"

// Why a typed cell is refused, as its box shows it.
struct CellRefusal
{
    // Non-zero: the save's error box with this error number; 0: an information box.
    int number = 0;
    QString text;
};

// What a committed cell stores, or, without a value, why not.
struct CellValue
{
    std::optional<FieldValue> value;
    CellRefusal refusal;
};

// The rule of a cell typed into, apart from any window or file: a date in its stored form
// (nothing typed is no date), an amount in whole won within the grid's limit, a group or
// product name as given. A client comes from its lookup, never from text, so its columns
// (and the derived ones) give no value and no message.
CellValue cellValue(int column, const QString &typed, const QDate &today);
