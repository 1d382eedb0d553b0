// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The read-only lists of the search windows: rows of texts under fixed headers, filled whole
// by a query and then changed row by row (an added, edited or deleted entry).
class TextTableModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextTableModel)

public:
    explicit TextTableModel(QStringList headers, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;
    // Texts that read as whole numbers sort as numbers, the rest as text.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void setRows(QList<QStringList> rows);
    void clear() { setRows({}); }
    void appendRow(const QStringList &row);
    void setRow(int row, const QStringList &texts);
    void setText(int row, int column, const QString &text);
    QString text(int row, int column) const;
    const QList<QStringList> &rows() const { return m_rows; }
    // Amounts stand right-aligned, as in the ledger.
    void setRightAligned(QList<int> columns) { m_right = std::move(columns); }

private:
    QStringList m_headers;
    QList<QStringList> m_rows;
    QList<int> m_right;
};
