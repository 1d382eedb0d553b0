// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include "core/base/clientcode.h"

// One row of the ledger grid: a saved voucher, or the entry row (totalId 0).
struct LedgerRow
{
    qint64 totalId = 0;
    QString maeipDate;
    QString groupName;
    QString proName;
    ClientCode maeipCode;
    QString maeipName;
    qint64 maeipCost = 0;
    QString maechulDate;
    ClientCode maechulCode;
    QString maechulName;
    qint64 maechulCost = 0;
    qint64 maechulUsecost = 0;
    // Amount or code cells that are empty (NULL in the file, or not typed yet on the entry row).
    quint16 emptyMask = 0;

    // Sale amount less selling expense less purchase amount; 0 while unsold.
    qint64 margin() const { return maechulCost == 0 ? 0 : maechulCost - maechulUsecost - maeipCost; }
    bool operator==(const LedgerRow &) const = default;
};
