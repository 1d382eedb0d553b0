// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherfield.h"

#include "ledgermodel.h"

using C = LedgerModel::Column;

bool fits(VoucherField field, const FieldValue &value)
{
    switch (field) {
    case VoucherField::Group:
    case VoucherField::Product: return std::holds_alternative<QString>(value);
    case VoucherField::MaeipDate:
    case VoucherField::MaechulDate: return std::holds_alternative<LedgerDate>(value);
    case VoucherField::MaeipCost:
    case VoucherField::MaechulCost:
    case VoucherField::Usecost: return std::holds_alternative<Money>(value);
    case VoucherField::Supplier:
    case VoucherField::Customer: return std::holds_alternative<VoucherClient>(value);
    }
    return false;
}

std::optional<VoucherField> voucherFieldOf(int column)
{
    switch (column) {
    case C::ColMaeipDate: return VoucherField::MaeipDate;
    case C::ColGroup: return VoucherField::Group;
    case C::ColProName: return VoucherField::Product;
    case C::ColMaeipCode:
    case C::ColMaeipName: return VoucherField::Supplier;
    case C::ColMaeipCost: return VoucherField::MaeipCost;
    case C::ColMaechulDate: return VoucherField::MaechulDate;
    case C::ColMaechulCode:
    case C::ColMaechulName: return VoucherField::Customer;
    case C::ColMaechulCost: return VoucherField::MaechulCost;
    case C::ColUsecost: return VoucherField::Usecost;
    default: return std::nullopt;
    }
}

int columnOf(VoucherField field)
{
    switch (field) {
    case VoucherField::MaeipDate: return C::ColMaeipDate;
    case VoucherField::Group: return C::ColGroup;
    case VoucherField::Product: return C::ColProName;
    case VoucherField::Supplier: return C::ColMaeipName;
    case VoucherField::MaeipCost: return C::ColMaeipCost;
    case VoucherField::MaechulDate: return C::ColMaechulDate;
    case VoucherField::Customer: return C::ColMaechulName;
    case VoucherField::MaechulCost: return C::ColMaechulCost;
    case VoucherField::Usecost: return C::ColUsecost;
    }
    return C::ColMaeipDate;
}

QString fieldName(VoucherField field)
{
    switch (field) {
    case VoucherField::Supplier: return LedgerModel::fieldOf(C::ColMaeipCode);
    case VoucherField::Customer: return LedgerModel::fieldOf(C::ColMaechulCode);
    default: return LedgerModel::fieldOf(columnOf(field));
    }
}

QString nameFieldOf(VoucherField client)
{
    return LedgerModel::fieldOf(client == VoucherField::Customer ? C::ColMaechulName : C::ColMaeipName);
}
