// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>

#include "core/masterdata/businessmode.h"

class AccountChanges;
class BalancesModel;
class Database;
class PeriodBoxes;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class UserPrompt;

// "미수금 현황" / "미지급금 현황": every customer's or supplier's 이월, 매출 (매입), 입금 (지급) and
// 잔액 over a period, sortable by any column, optionally only those with a balance, with the
// totals under the list; printed or saved. A double click (or Enter) on a client opens their
// ledger through openLedger.
class FrmBalances final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmBalances)

public:
    using OpenLedger = std::function<void(BusiMode mode, qint64 code, const QString &from, const QString &to)>;

    FrmBalances(Database &db, UserPrompt &prompt, BusiMode mode, QString reportFolder, QWidget *parent = nullptr);
    ~FrmBalances() override;

    void setOpenLedger(OpenLedger open) { m_openLedger = std::move(open); }
    // Reads the balances again when another PC writes a voucher or a payment.
    void followChanges(AccountChanges &changes);
    // The period as typed (short forms allowed); false after the date box.
    bool setPeriod(const QString &from, const QString &to);
    const BalancesModel &model() const { return *m_model; }
    QString heading() const;

    QLineEdit *txtFrom = nullptr;
    QLineEdit *txtTo = nullptr;
    QCheckBox *chkNonZero = nullptr;
    QPushButton *btnSearch = nullptr;
    QTableView *spList = nullptr;
    QLabel *lblTotals = nullptr;
    QPushButton *btnLedger = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnExport = nullptr;
    QPushButton *btnClose = nullptr;

    void btnSearch_Click();
    void btnLedger_Click();
    void btnPrint_Click();
    void btnExport_Click();

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Reads the balances over the period last taken.
    void reload();
    void showTotals();

    Database &m_db;
    UserPrompt &m_prompt;
    BusiMode m_mode;
    QString m_reportFolder;
    BalancesModel *m_model;
    QSortFilterProxyModel *m_sorted;
    OpenLedger m_openLedger;
    PeriodBoxes *m_period;
};

// Opens the balances of all customers or suppliers modally over this month; a client's ledger
// opens over the same period.
void openBalances(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile,
                  const QString &reportFolder, BusiMode mode, AccountChanges *changes = nullptr);
