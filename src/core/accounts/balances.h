// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "core/data/sqlstatement.h"
#include "core/masterdata/businessmode.h"

class Database;

// What each client owes or is owed. A customer's balance at a date D: the opening balance, plus
// the sale amounts (maechul_cost) of the vouchers sold to them up to D, less their payments up to
// D; a supplier's the same with the purchase (maeip_cost, maeip_code, maeip_date) and the
// payments made. The selling expense is the shop's own and not counted; deleted vouchers are in
// the recycle bin, not in total, and so never counted. Negative: paid in advance.
namespace Balances {

// The date and the amount of a voucher that count for a client of this side.
QString voucherDateField(BusiMode mode);
QString voucherAmountField(BusiMode mode);

// One client's balance at date ("YYYY-MM-DD"; empty: everything); nullopt on an error.
std::optional<qint64> balanceAt(Database &db, BusiMode mode, qint64 clientCode, const QString &date,
                                SqlError *error = nullptr);

// The same before date, the date itself left out (empty: the opening balance alone).
std::optional<qint64> balanceBefore(Database &db, BusiMode mode, qint64 clientCode, const QString &date,
                                    SqlError *error = nullptr);

struct Row
{
    qint64 code = 0;
    QString name; // the register's, or PaymentRules::deletedClientName()
    qint64 carried = 0; // 이월: the balance the day before from
    qint64 traded = 0;  // 매출 or 매입 within the period
    qint64 paid = 0;    // 입금 or 지급 within the period
    qint64 balance = 0; // 잔액 at to
};

// Every client of the register, and every code on a voucher or payment that is no longer in it,
// for the period [from, to] (either may be empty: open), in code order.
SqlError list(Database &db, BusiMode mode, const QString &from, const QString &to, std::vector<Row> &out);
// The statements list() runs, each in code order: the vouchers' and the payments' sums (code, all,
// within the period), the opening balances (code, amount) and the register (id, name).
QList<SqlStatement> listStatements(BusiMode mode, const QString &from, const QString &to);
Row totals(const std::vector<Row> &rows);

} // namespace Balances

// The balances list of the 미수금/미지급금 window and the export: code, name, 이월, 매출 (매입),
// 입금 (지급), 잔액, with the totals kept beside the rows.
class BalancesModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BalancesModel)

public:
    enum Column { ColCode, ColName, ColCarried, ColTraded, ColPaid, ColBalance, ColumnCount };
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit BalancesModel(QObject *parent = nullptr);

    SqlError load(Database &db, BusiMode mode, const QString &from, const QString &to);
    // Only clients whose balance is not 0.
    void setNonZeroOnly(bool on);
    bool nonZeroOnly() const { return m_nonZeroOnly; }
    BusiMode mode() const { return m_mode; }
    const Balances::Row &balanceRow(int row) const { return m_shown.at(static_cast<size_t>(row)); }
    // Of the rows shown.
    const Balances::Row &totals() const { return m_totals; }
    // "미수금 현황" or "미지급금 현황".
    static QString title(BusiMode mode);
    static QStringList headers(BusiMode mode);
    static QString totalsLabel() { return QStringLiteral("합계"); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void refilter();

    BusiMode m_mode = BusiMode::Customer;
    bool m_nonZeroOnly = false;
    std::vector<Balances::Row> m_all;
    std::vector<Balances::Row> m_shown;
    Balances::Row m_totals;
};
