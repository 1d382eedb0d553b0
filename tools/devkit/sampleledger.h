// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDate>
#include <QString>

// A ledger of made-up but realistic Korean trade data, the same for the same seed: for demos,
// tests and the benchmark.
struct SampleLedgerOptions
{
    qint64 vouchers = 10000;
    quint32 seed = 1;
    int suppliers = 200;
    int customers = 2000;
    int products = 500;
    int groups = 21;
    double soldShare = 0.8;
    QDate today; // invalid: the current date
};

// Writes a new panDB.db at path (which must not exist). progress gets the vouchers written so far.
bool writeSampleLedger(const QString &path, const SampleLedgerOptions &options, QString *errorText,
                       const std::function<void(qint64)> &progress = {});
