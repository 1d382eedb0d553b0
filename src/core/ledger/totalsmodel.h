// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include "ledgermodel.h"

// The one-row totals grid under the ledger: the label and the four sums, in the ledger's
// own columns so that the widths line up.
class TotalsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TotalsModel)

public:
    explicit TotalsModel(LedgerModel &ledger, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Column headers as the ledger's; the row header is blank.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString label() { return QStringLiteral("[합 계]"); }

private:
    LedgerModel &m_ledger;
};
