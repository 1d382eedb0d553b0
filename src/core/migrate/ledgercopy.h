// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/data/tablecopy.h"

// Copies a whole ledger from one database into another, keys and all, so that a shop can move
// its ledger onto a server and back (solbitsem-ledger-copy). The copy itself is the data
// layer's, which the server's backups use as well.
namespace LedgerCopy {

using TableCount = TableCopy::TableCount;
using Result = TableCopy::Result;
using Progress = TableCopy::Progress;

// Both open; target holds the ledger's tables and not one row in them.
inline Result copy(Database &source, Database &target, const Progress &progress = {})
{
    return TableCopy::copy(source, target, progress);
}

// Into a new ledger file at path, which must not exist.
inline Result copyToNewFile(Database &source, const QString &path, const Progress &progress = {})
{
    return TableCopy::copyToNewFile(source, path, progress);
}

} // namespace LedgerCopy
