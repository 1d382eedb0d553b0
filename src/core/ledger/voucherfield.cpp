// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherfield.h"

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
