// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class Database;

// What every group of measurements gets: the sample ledger and a way to print a line.
struct BenchContext
{
    Database &db;
    QString ledgerPath;
    QString workFolder; // for extra files a measurement needs
    qint64 vouchers = 0;
    // One result line: what was measured, rows, milliseconds, and an optional comparison.
    std::function<void(const QString &what, qint64 rows, double ms, const QString &note)> report;
};

// Milliseconds of the fastest of n runs.
double bestOf(int n, const std::function<void()> &run);
// Resident memory of this process in bytes.
qint64 residentBytes();
