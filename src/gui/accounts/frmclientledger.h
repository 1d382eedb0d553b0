// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <functional>

#include <QDialog>

#include "core/masterdata/businessmode.h"

class AccountChanges;
class ClientChooser;
class ClientLedgerModel;
class PeriodBoxes;
class Database;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class UserPrompt;
class VoucherLookups;

// "거래처원장": one client's vouchers and payments over a period with the running balance, from
// 전기이월 to the closing balance, printed or saved as a workbook or CSV. The client is chosen by
// the voucher cells' type-ahead lookup; the period by the ledger's date rules.
class FrmClientLedger final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmClientLedger)

public:
    FrmClientLedger(Database &db, UserPrompt &prompt, VoucherLookups &lookups, QString reportFolder,
                    QWidget *parent = nullptr);
    ~FrmClientLedger() override;

    // Shows that client's ledger over the period shown (code 0: none).
    void setClient(BusiMode mode, qint64 code);
    // The period as typed (short forms allowed); false after the date box.
    bool setPeriod(const QString &from, const QString &to);
    BusiMode mode() const;
    qint64 clientCode() const;
    const ClientLedgerModel &model() const { return *m_model; }
    QString heading() const;
    static QString caption() { return QStringLiteral("거래처원장"); }
    // Reads the ledger again when another PC writes a voucher or this client's payment.
    void followChanges(AccountChanges &changes);

    QComboBox *cmbMode = nullptr;
    QLineEdit *txtClient = nullptr;
    QLineEdit *txtFrom = nullptr;
    QLineEdit *txtTo = nullptr;
    QPushButton *btnSearch = nullptr;
    QTableView *spList = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnExport = nullptr;
    QPushButton *btnClose = nullptr;

    // Reads the ledger again for the client and period shown.
    void btnSearch_Click();
    void btnPrint_Click();
    void btnExport_Click();

protected:
    void done(int result) override;

private:
    // Reads the client's ledger over the period last taken.
    void reload();
    // A client must be chosen for printing and saving; false after saying so.
    bool haveClient();

    Database &m_db;
    UserPrompt &m_prompt;
    QString m_reportFolder;
    ClientLedgerModel *m_model;
    ClientChooser *m_client;
    PeriodBoxes *m_period;
};

// What a customer's voucher line opens (double click or Enter): the 거래명세표 of that day. The
// window that prints it sits above this one and sets it; unset, the lines open nothing.
using DayStatement = std::function<void(QWidget *parent, qint64 customerCode, const QString &date)>;
void setDayStatement(DayStatement open);

// What a customer's voucher line opens (double click or Enter): the 거래명세표 of that day. The
// window that prints it sits above this one and sets it; unset, the lines open nothing.
using DayStatement = std::function<void(QWidget *parent, qint64 customerCode, const QString &date)>;
void setDayStatement(DayStatement open);

// Opens the client ledger modally for that client (code 0: to be chosen) over this month.
void openClientLedger(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile,
                      const QString &reportFolder, BusiMode mode, qint64 clientCode,
                      AccountChanges *changes = nullptr);
