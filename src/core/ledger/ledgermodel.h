// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "ledgerrow.h"
#include "voucherfield.h"

// The ledger grid's rows: saved vouchers in query order and, last, the entry row. Margins are
// derived per row and the four period totals are kept up to date incrementally, so an edit
// never re-sums the grid.
class LedgerModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LedgerModel)

public:
    // Grid columns 1 to 17, counted from 0 here.
    enum Column {
        ColMaeipDate,
        ColGroup,
        ColProName,
        ColMaeipCode,
        ColMaeipName,
        ColMaeipCost,
        ColMaechulDate,
        ColMaechulCode,
        ColMaechulName,
        ColMaechulCost,
        ColUsecost,
        ColMargin,
        ColTotalId,
        ColSumMaeip,
        ColSumMaechul,
        ColSumUsecost,
        ColSumMargin,
        ColumnCount
    };
    enum Role { SortRole = Qt::UserRole + 1 };

    struct Totals
    {
        qint64 maeipCost = 0;
        qint64 maechulCost = 0;
        qint64 usecost = 0;
        qint64 margin = 0;
        bool operator==(const Totals &) const = default;
    };

    explicit LedgerModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Sorts the saved vouchers; the entry row is dropped and a fresh one appended.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Removes rows, the entry row included, keeping the totals.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // Stores a value into a cell; false when it does not fit the column.
    bool store(int row, int column, const QVariant &value);
    // A field of a row takes a value that was written (or, on the entry row, that waits for
    // the insert); a client sets its code and name cells.
    void setField(int row, VoucherField field, const FieldValue &value);

    static bool isHiddenColumn(int column);
    static bool isAmountColumn(int column);
    static bool isCodeColumn(int column);
    // The `total` field a column shows (its column identifier); empty for the derived columns.
    static QString fieldOf(int column);
    static QString headerText(int column);
    // The designed width of a visible column in the grid's character unit; 0 for hidden ones.
    static double designWidth(int column);
    // The numeric cells (amounts, margin, sums) accept whole numbers within this limit.
    static constexpr qint64 AmountLimit = 999999999999LL;
    static bool isNumericColumn(int column);

    // Replaces every row; no entry row is added.
    void setRows(std::vector<LedgerRow> rows);
    void clear();
    const LedgerRow &row(int r) const { return m_rows[static_cast<size_t>(r)]; }
    // Appends a blank entry row dated defaultDate in both date columns.
    void AddNewRow(const QString &defaultDate);
    // The last row is the entry row once the grid is filled.
    bool hasEntryRow() const { return m_hasEntryRow; }
    int entryRow() const { return m_hasEntryRow ? rowCount() - 1 : -1; }
    void removeVoucherRow(int r);
    // Makes the entry row a saved voucher with the given key (after its insert).
    void setTotalId(int r, qint64 id);
    // A saved voucher's row replaced by what is stored now, the totals moved by the difference.
    void replaceRow(int r, const LedgerRow &row);
    // A voucher put in at row r (at most the entry row's place), the totals moved by its amounts.
    void insertVoucherRow(int r, const LedgerRow &row);
    // True while the saved rows stand in the query's order (sale date, key), until a header sort.
    bool inQueryOrder() const { return m_queryOrder; }
    // A column's value of a row as EditRole gives it (null for an empty cell); the derived
    // columns but the margin give nothing.
    static QVariant valueOf(const LedgerRow &r, int column);

    Totals totals() const { return m_totals; }
    // The sort the view asks for re-appends the entry row with this date.
    void setDefaultDate(const QString &date) { m_defaultDate = date; }
    QString defaultDate() const { return m_defaultDate; }

signals:
    void totalsChanged(const LedgerModel::Totals &totals);

private:
    QVariant raw(const LedgerRow &r, int column) const;
    // One cell of a row: its text, or its number for the amounts and codes.
    void assign(int row, int column, const QString &text, qint64 number, bool empty);
    void addToTotals(const LedgerRow &r, int sign);
    void emitTotals();

    std::vector<LedgerRow> m_rows;
    bool m_hasEntryRow = false;
    bool m_queryOrder = true;
    Totals m_totals;
    QString m_defaultDate;
};
