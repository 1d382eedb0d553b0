// SPDX-License-Identifier: GPL-3.0-or-later
#include "totalsmodel.h"

#include "core/base/textutil.h"

TotalsModel::TotalsModel(LedgerModel &ledger, QObject *parent) : QAbstractTableModel(parent), m_ledger(ledger)
{
    connect(&m_ledger, &LedgerModel::totalsChanged, this, [this] {
        emit dataChanged(index(0, 0), index(0, LedgerModel::ColumnCount - 1), {Qt::DisplayRole});
    });
    connect(&m_ledger, &QAbstractItemModel::modelReset, this, [this] {
        emit dataChanged(index(0, 0), index(0, LedgerModel::ColumnCount - 1), {Qt::DisplayRole});
    });
}

int TotalsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 1; }
int TotalsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : LedgerModel::ColumnCount; }

QVariant TotalsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const auto t = m_ledger.totals();
    qint64 value = 0;
    switch (index.column()) {
    case LedgerModel::ColMaeipCost: value = t.maeipCost; break;
    case LedgerModel::ColMaechulCost: value = t.maechulCost; break;
    case LedgerModel::ColUsecost: value = t.usecost; break;
    case LedgerModel::ColMargin: value = t.margin; break;
    case LedgerModel::ColMaeipDate:
        if (role == Qt::DisplayRole)
            return label();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
    if (role == Qt::DisplayRole)
        return formatMoney(value);
    if (role == Qt::EditRole)
        return value;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TotalsModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant TotalsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return LedgerModel::headerText(section);
    return QStringLiteral(" ");
}
