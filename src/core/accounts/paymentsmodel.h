// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QDate>

#include "payment.h"
#include "paymentstore.h"

class Database;
class UserPrompt;

// The payments of one client, newest first, as the payments window lists them. Every change is
// one statement on the ledger at once, as a voucher cell is: a refused or failed change keeps
// the old value, so the list shows what the ledger holds. Questions go through the prompt.
class PaymentsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PaymentsModel)

public:
    enum Column { ColDate, ColAmount, ColMethod, ColMemo, ColumnCount };
    // The raw value sorting uses (date text, amount as a number).
    static constexpr int SortRole = Qt::UserRole + 1;

    PaymentsModel(Database &db, UserPrompt &prompt, QObject *parent = nullptr);

    // Lists the payments of this client (0: none); false after the query's box.
    bool setClient(BusiMode mode, qint64 clientCode);
    BusiMode mode() const { return m_mode; }
    qint64 clientCode() const { return m_clientCode; }
    bool reload();
    const Payment &payment(int row) const { return m_rows.at(static_cast<size_t>(row)); }
    // The row of a payment key, or -1.
    int rowOf(qint64 id) const;

    // A new payment for this client from the typed texts; its key, or nullopt after the box that
    // refused a text or reported the failed save.
    std::optional<qint64> addPayment(const QString &dateText, const QString &amountText, const QString &method,
                                     const QString &memo);
    // One typed cell: checked, asked about unless the payment was the last one saved here
    // ("정말 수정하시겠습니까?" with what is stored now), written. False leaves the old value.
    bool commitCell(int row, int column, const QString &typed);
    // Asks and moves the payment to the recycle bin.
    bool removePayment(int row);

    // The date rules' "today" (tests freeze it).
    void setToday(const QDate &today) { m_today = today; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // EditRole runs commitCell.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    QDate today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }

    Database &m_db;
    UserPrompt &m_prompt;
    PaymentStore m_store;
    BusiMode m_mode = BusiMode::Customer;
    qint64 m_clientCode = 0;
    qint64 m_lastSaved = 0;
    std::vector<Payment> m_rows;
    QDate m_today;
};

// The opening balance of a client, set in the payments window: changing it once the client has
// payments asks first (declined by default).
namespace OpeningBalance {

std::optional<ClientOpening> read(Database &db, BusiMode mode, qint64 clientCode, UserPrompt &prompt);
// Checks the typed texts and stores them; false after a box or when the user declined.
bool set(Database &db, BusiMode mode, qint64 clientCode, const QString &dateText, const QString &amountText,
         UserPrompt &prompt, const QDate &today = QDate::currentDate());
QString changeQuestion(BusiMode mode);

} // namespace OpeningBalance
