// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

#include <QDate>
#include <QFileInfo>

#include "devkit/sampleledger.h"

// The benchmarks' sample ledger at path, made once: a fixed "today" keeps it the same from day
// to day, so it is reused. customers: how many (0: the sample's default). False, after saying why,
// when it could not be made.
inline bool ensureSampleLedger(const QString &path, qint64 vouchers, const QDate &today, int customers = 0)
{
    if (QFileInfo::exists(path))
        return true;
    std::fprintf(stderr, "견본 장부 만드는 중 (%lld 전표)...\n", static_cast<long long>(vouchers));
    SampleLedgerOptions o;
    o.vouchers = vouchers;
    o.today = today;
    if (customers > 0)
        o.customers = customers;
    QString error;
    if (!writeSampleLedger(path, o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}
