// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QString>

// `solbitsem --export-ledger OUT.xlsx|OUT.csv [--from DATE --to DATE | --product TEXT |
// --client TEXT] [--password-stdin]`: the selected vouchers written without a window or a
// display, once the ledger's password (if it has one) is given. nullopt when
// the arguments are not this command; else the exit code (0 written, 1 failed, 2 misused).
std::optional<int> runExportLedger(int argc, char *argv[]);

// Runs write (an export) with standard error closed to the export library's own lines; its result.
QString withoutLibraryLines(const std::function<QString()> &write);
