// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QString>

#include "clientrecord.h"
#include "core/data/sqldialect.h"

class Database;
class UserPrompt;
struct SqlStatement;

// Who is calling: the customers whose telephone or mobile number ends with a caller-ID key.
struct CallerLookup
{
    bool found = false;  // some customer matched
    ClientRecord caller; // the customer of the newest row
    // Every row's product with its sale date, "TV(2026-12-08)", newest first and ", " between;
    // a customer without vouchers gives "()".
    QString products;
};

// One row per distinct product and sale date of every matching customer (one row with empty
// product and date for a customer without vouchers), newest first. The key is bound.
SqlStatement callerLookupStatement(const SqlDialect &dialect, const QString &key);
// nullopt after the failure box of OpenRS.
std::optional<CallerLookup> LookupCaller(Database &db, UserPrompt &prompt, const QString &key);
