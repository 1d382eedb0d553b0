// SPDX-License-Identifier: GPL-3.0-or-later
#include "cellrule.h"

#include "checkdate.h"
#include "ledgermodel.h"

namespace {
// VB's error numbers for the two refusals, shown in the save's error box.
constexpr int OverflowError = 6;
constexpr int TypeMismatchError = 13;
} // namespace

CellValue cellValue(int column, const QString &typed, const QDate &today)
{
    const auto field = voucherFieldOf(column);
    if (!field || field == VoucherField::Supplier || field == VoucherField::Customer)
        return {};
    switch (*field) {
    case VoucherField::MaeipDate:
    case VoucherField::MaechulDate: {
        if (typed.isEmpty())
            return {LedgerDate(), {}};
        if (const auto stored = normaliseDate(typed, today))
            return {LedgerDate(QDate::fromString(*stored, QStringLiteral("yyyy-MM-dd"))), {}};
        return {std::nullopt, {0, dateFormatMessage(typed)}};
    }
    case VoucherField::MaeipCost:
    case VoucherField::MaechulCost:
    case VoucherField::Usecost: {
        const auto money = Money::fromText(typed);
        if (!money)
            return {std::nullopt, {TypeMismatchError, QStringLiteral("Type mismatch: 금액은 원 단위의 정수로 입력하세요.")}};
        if (money->won() < -LedgerModel::AmountLimit || money->won() > LedgerModel::AmountLimit)
            return {std::nullopt,
                    {OverflowError, QStringLiteral("Overflow: 금액은 -999,999,999,999부터 999,999,999,999까지입니다.")}};
        return {*money, {}};
    }
    default:
        return {typed, {}};
    }
}
