// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>

#include "core/masterdata/businessmode.h"

class AccountChanges;
class ClientChooser;
class CommitGrid;
class Database;
class PaymentsModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UserPrompt;
class VoucherLookups;

// "입금·지급": the money a customer paid in or the shop paid a supplier. The client is chosen
// by the voucher cells' type-ahead lookup; a new payment is typed in the boxes above and
// saved, the client's payments are listed below, newest first, each cell written at once as
// a voucher's is. The client's opening balance and its date are set here too. Every way out
// (a command, Esc, the close box) finishes an open cell edit first.
class FrmPayment final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmPayment)

public:
    FrmPayment(Database &db, UserPrompt &prompt, VoucherLookups &lookups, QWidget *parent = nullptr);
    ~FrmPayment() override;

    // Shows that client's payments (code 0: none chosen yet).
    void setClient(BusiMode mode, qint64 code);
    BusiMode mode() const;
    qint64 clientCode() const;
    PaymentsModel &model() { return *m_model; }
    // Shows what other PCs write into a server ledger: this client's payments and balance are
    // read again (an open cell edit first ends as the user leaves it).
    void followChanges(AccountChanges &changes);
    static QString caption() { return QStringLiteral("입금·지급"); }

    QComboBox *cmbMode = nullptr;
    QLineEdit *txtClient = nullptr;
    QLabel *lblBalance = nullptr;
    QLineEdit *txtDate = nullptr;
    QPushButton *btnDate = nullptr;
    QLineEdit *txtAmount = nullptr;
    QComboBox *cmbMethod = nullptr;
    QLineEdit *txtMemo = nullptr;
    QPushButton *btnSave = nullptr;
    QLineEdit *txtOpeningDate = nullptr;
    QLineEdit *txtOpeningAmount = nullptr;
    QPushButton *btnOpening = nullptr;
    CommitGrid *spList = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnClose = nullptr;

    // The commands, each after the open edit has finished.
    void btnSave_Click();
    void btnOpening_Click();
    void btnDelete_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs command once the open cell edit and a typed client name have been taken.
    void runCommand(const std::function<void()> &command);
    void showClient();
    void showBalance();
    // Reads this client's payments again, or once the open edit is over.
    void reloadPayments();

    Database &m_db;
    UserPrompt &m_prompt;
    PaymentsModel *m_model;
    ClientChooser *m_client;
    bool m_reloadPending = false;
};

// Opens the payments window modally, preset to that client (code 0: none), with the register
// windows of the lookup over postFile, following changes when given.
void openPayments(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile, BusiMode mode,
                  qint64 clientCode, AccountChanges *changes = nullptr);
