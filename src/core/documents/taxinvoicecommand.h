// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// `solbitsem --export-taxinvoice OUT.xlsx --month YYYY-MM [--per-voucher] [--date YYYY-MM-DD]
// [--password-stdin]`: the month's Hometax bulk-issue sheet of the ledger the settings name,
// without a window or a display; the sales that cannot be issued are listed on standard error.
// nullopt when the arguments are not this command; else the exit code (0 written, 1 failed,
// 2 misused).
std::optional<int> runExportTaxInvoice(int argc, char *argv[]);
