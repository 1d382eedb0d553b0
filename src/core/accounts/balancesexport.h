// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QString>

class BalancesModel;

// The balances list written as .xlsx or .csv (by the suffix): code, name, 이월, 매출 or 매입,
// 입금 or 지급, 잔액, amounts as numbers, the totals row last. Empty on success, else the reason.
namespace BalancesExport {
QString write(const BalancesModel &model, const QString &path, const QString &title = {});
}

// `solbitsem --export-balances OUT.xlsx|OUT.csv (--customers|--suppliers) [--from DATE]
// [--to DATE] [--password-stdin]`: nullopt when the arguments are not this command; else the
// exit code (0 written, 1 failed, 2 misused).
std::optional<int> runExportBalances(int argc, char *argv[]);
