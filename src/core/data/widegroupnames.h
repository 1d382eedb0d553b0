// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "sqlstatement.h"

class Database;

// Group names of an older ledger that are longer than a group name may be now. They stay as
// they are (shortening them would change the vouchers' names behind the shop's back); the shop
// is told once per ledger which ones they are and where to shorten them. What was told is kept
// in the ledger itself, so a ledger copied to another PC or shared on a server is not told again.
namespace WideGroupNames {

// The shop's words: which names, what it means, where to shorten them.
QString notice(const QStringList &names);
// Of names, those this ledger has not been told about yet; all of them when the ledger keeps
// no record (an older ledger before its maintenance).
QStringList untold(Database &db, const QStringList &names);
// Adds names to those told.
SqlError markTold(Database &db, const QStringList &names);

} // namespace WideGroupNames
