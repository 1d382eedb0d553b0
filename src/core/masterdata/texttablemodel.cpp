// SPDX-License-Identifier: GPL-3.0-or-later
#include "texttablemodel.h"

#include <algorithm>

TextTableModel::TextTableModel(QStringList headers, QObject *parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers))
{
}

int TextTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant TextTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_headers.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && m_right.contains(index.column()))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_headers.size() ? QVariant(m_headers.at(section)) : QVariant();
    return section + 1;
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool TextTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

void TextTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_headers.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> order0(m_rows.size());
    for (int i = 0; i < order0.size(); ++i)
        order0[i] = i;
    const auto less = [&](int a, int b) {
        const QString &x = m_rows[a].value(column);
        const QString &y = m_rows[b].value(column);
        bool okX = false;
        bool okY = false;
        const qint64 nx = x.toLongLong(&okX);
        const qint64 ny = y.toLongLong(&okY);
        if (okX && okY)
            return nx < ny;
        return x.compare(y, Qt::CaseInsensitive) < 0;
    };
    std::stable_sort(order0.begin(), order0.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? less(a, b) : less(b, a);
    });
    QList<QStringList> sorted;
    sorted.reserve(m_rows.size());
    QList<int> newRowOf(m_rows.size());
    for (int i = 0; i < order0.size(); ++i) {
        sorted.append(m_rows[order0[i]]);
        newRowOf[order0[i]] = i;
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    for (const QModelIndex &i : before)
        after.append(index(newRowOf.value(i.row(), i.row()), i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TextTableModel::setRows(QList<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TextTableModel::appendRow(const QStringList &row)
{
    const int n = static_cast<int>(m_rows.size());
    beginInsertRows({}, n, n);
    m_rows.append(row);
    endInsertRows();
}

void TextTableModel::setRow(int row, const QStringList &texts)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row] = texts;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole, Qt::EditRole});
}

void TextTableModel::setText(int row, int column, const QString &t)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_headers.size())
        return;
    QStringList &r = m_rows[row];
    while (r.size() <= column)
        r.append(QString());
    r[column] = t;
    emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole, Qt::EditRole});
}

QString TextTableModel::text(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows[row].value(column);
}
