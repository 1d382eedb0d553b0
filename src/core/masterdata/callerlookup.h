// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "clientrecord.h"
#include "core/data/sqldialect.h"
#include "core/data/sqlstatement.h"

class Database;

// Who is calling: the customers whose telephone or mobile number is the caller's.
struct CallerLookup
{
    bool found = false;  // some customer matched
    ClientRecord caller; // the exact match, or else the customer of the newest row
    // Every matching customer's products with their sale dates, "TV(2026-12-08)", the exact
    // match's first, then newest first, ", " between; a customer without vouchers gives "()".
    QString products;
    // The query's failure (nothing found then), which reportQueryError shows as its box.
    SqlError error;
};

// Whether a stored telephone or mobile number is the caller's, compared digit by digit (dashes,
// blanks and brackets do not count). A stored number with an area code is the caller's only
// under the caller's own area code, or for a caller whose report has none (a local call, whose
// area the program cannot know); a stored number without one matches every caller whose number
// ends with it. A number of more than eight digits has an area code even without a leading 0.
enum class CallerMatch { None, Exact, Partial };
CallerMatch matchCaller(const QString &callerNumber, const QString &storedNumber);

// The candidates: every customer whose tel or phone ends with the caller's last four digits, one
// row per distinct product and sale date (one with empty product and date for a customer
// without vouchers), newest first. The value is bound, and the indexes on the last four
// characters of tel and phone pick the rows.
SqlStatement callerLookupStatement(const SqlDialect &dialect, const QString &callerNumber);
// The customers among the candidates that matchCaller accepts.
CallerLookup LookupCaller(Database &db, const QString &callerNumber);
