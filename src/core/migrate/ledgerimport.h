// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Moving in from the old installation: its ledger (panDB.mdb) and postal file (dbpost.mdb)
// become panDB.db and dbpost.db. Every table of the ledger comes over with its rows, keys and
// text field sizes; the start-up maintenance then treats the new file like any older ledger.
// Either every file is written whole or none is: the writes go into temporary files, in one
// transaction each, renamed into place at the end. An existing file is never replaced and the
// old files are only read.
namespace LedgerImport {

struct Options
{
    QString ledgerMdb;  // the old panDB.mdb
    QString outFolder;  // where panDB.db (and dbpost.db) are made
    QString postalMdb;  // the old dbpost.mdb; empty for none
    // For measuring a large import with a small file: the vouchers are read this many times,
    // the repeats under new keys.
    int voucherPasses = 1;
};

struct TableCount
{
    QString table;
    qint64 read = 0;
    qint64 written = 0;
};

struct Result
{
    bool ok = false;
    bool cancelled = false;
    QString error; // Korean, for the user: what failed and which file
    QString ledgerFile;
    QString postalFile; // empty when no postal file was brought over
    QString format;     // e.g. "Jet 3 (Access 97)"
    int codePage = 0;
    QList<TableCount> tables; // the ledger's tables, then Post
    QStringList changes;      // what the import had to change or leave out
    QStringList wideGroupNames; // group names longer than a group name may be now
    QDate lastSaleMonth;        // the first day of the latest month with a sold voucher, or null

    // Rows read and written per table, the changes and the wide group names, as shown to the user.
    QString summary() const;
};

// Called every so many rows with the rows done and the rows in all; false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

Result run(const Options &options, const Progress &progress = {});

// dbpost.mdb beside the old ledger (any letter case), or empty.
QString postalBeside(const QString &ledgerMdb);

} // namespace LedgerImport
