// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <variant>

#include <QString>

#include "core/base/clientcode.h"
#include "core/base/ledgerdate.h"
#include "core/base/money.h"

// The fields of a voucher that an edit writes, one by one. A client is one field: its code
// and the copy of its name are always written together.
enum class VoucherField { MaeipDate, Group, Product, Supplier, MaeipCost, MaechulDate, Customer, MaechulCost, Usecost };

// A client as a voucher holds it: the code and a copy of the name.
struct VoucherClient
{
    ClientCode code;
    QString name;
    bool operator==(const VoucherClient &) const = default;
};

// The value a field is to hold: a name for the group and the product, a date, an amount or a
// client, each field taking its one kind (fits()).
using FieldValue = std::variant<QString, LedgerDate, Money, VoucherClient>;

bool fits(VoucherField field, const FieldValue &value);
// The field a grid column shows; a client's code and name columns are both its client field.
std::optional<VoucherField> voucherFieldOf(int column);
// The grid column that shows the field (for a client, its name column).
int columnOf(VoucherField field);
// The total table's field; a client's name field is nameFieldOf().
QString fieldName(VoucherField field);
QString nameFieldOf(VoucherField client);
