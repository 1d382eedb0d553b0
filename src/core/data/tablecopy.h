// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// Every table of the ledger copied row by row from one database into another, keys and all,
// on either engine: the copy between engines, the server's backup into a file and a backup put
// back onto the server. Rows read, written and then counted in the target are compared table by
// table, and a copy that does not add up is rolled back, never left half done.
namespace TableCopy {

struct TableCount
{
    QString table;
    qint64 read = 0;
    qint64 written = 0;
    qint64 counted = 0; // rows the target holds afterwards
};

struct Result
{
    bool ok = false;
    bool cancelled = false;
    QString error; // Korean, for the user
    QList<TableCount> tables;
    QStringList changes; // what the target's schema had to give up to take the source's rows

    QString summary() const;
};

// Called every so many rows with the rows done and the rows in all; false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Both open; target holds the ledger's tables and not one row in them. One transaction on the
// target; the source is read as the caller's transaction on it (if any) sees it.
Result copy(Database &source, Database &target, const Progress &progress = {});

// Every row of target's ledger tables replaced by source's, in one transaction: a restore onto
// a server. The counters never go back, so a key handed out since is not handed out again.
Result replace(Database &source, Database &target, const Progress &progress = {});

// Into a new ledger file at path, which must not exist: written under a temporary name and
// put in place only when whole.
Result copyToNewFile(Database &source, const QString &path, const Progress &progress = {});

} // namespace TableCopy
