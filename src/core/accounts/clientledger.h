// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "core/data/sqlstatement.h"
#include "core/masterdata/businessmode.h"

class Database;

// One client's ledger for a period: 전기이월 (the balance the day before from), each voucher
// and payment in date order (vouchers first on a day) with the running balance, the period's
// totals and the closing balance.
namespace ClientLedger {

struct Row
{
    enum class Kind { CarriedForward, Voucher, Payment, Totals, Closing };
    Kind kind = Kind::Voucher;
    QString date;
    QString text;        // product, or payment method and memo, or the line's label
    qint64 traded = 0;   // 매출 or 매입
    qint64 paid = 0;     // 입금 or 지급
    qint64 balance = 0;  // running balance after the line
    qint64 key = 0;      // total_id or payment_id
};

// The lines for client code of mode in [from, to] (either may be empty: open).
SqlError build(Database &db, BusiMode mode, qint64 code, const QString &from, const QString &to,
               std::vector<Row> &out);

QString carriedForwardLabel(); // "전기이월"
QString totalsLabel();         // "기간 합계"
QString closingLabel();        // "기말 잔액"

} // namespace ClientLedger

// The client ledger's lines for the window and for printing: 일자, 적요, 매출 (매입),
// 입금 (지급), 잔액.
class ClientLedgerModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientLedgerModel)

public:
    enum Column { ColDate, ColText, ColTraded, ColPaid, ColBalance, ColumnCount };
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit ClientLedgerModel(QObject *parent = nullptr);

    SqlError load(Database &db, BusiMode mode, qint64 code, const QString &from, const QString &to);
    const std::vector<ClientLedger::Row> &lines() const { return m_rows; }
    BusiMode mode() const { return m_mode; }
    static QString title() { return QStringLiteral("거래처원장"); }
    static QStringList headers(BusiMode mode);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    BusiMode m_mode = BusiMode::Customer;
    std::vector<ClientLedger::Row> m_rows;
};
