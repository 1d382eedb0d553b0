// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/accounts/paymentbin.h"
#include "core/ledger/recyclebin.h"
#include "gui/ui/listwindow.h"

class QTableView;
class TextTableModel;
class UserPrompt;

// "삭제된 전표": the recycle bin, newest deletion first. Restores the selected vouchers under
// their own keys (announced by restored(), so that the ledger shows them at once) or empties
// the bin after a question. Below, the deleted payments, restored or emptied on their own.
class FrmDeleted final : public ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmDeleted)

public:
    FrmDeleted(Database &db, UserPrompt &prompt, QWidget *parent = nullptr);
    QPushButton *cmdRestore = nullptr;
    QPushButton *cmdEmpty = nullptr;
    QTableView *spPayments = nullptr;
    QPushButton *cmdRestorePayments = nullptr;
    QPushButton *cmdEmptyPayments = nullptr;
    void Refresh_List();
    void Refresh_Payments();

signals:
    void restored(const QList<qint64> &ids);

private:
    void cmdRestore_Click();
    void cmdEmpty_Click();
    void cmdRestorePayments_Click();
    void cmdEmptyPayments_Click();

    RecycleBin m_bin;
    UserPrompt &m_prompt;
    std::vector<RecycleBin::Entry> m_entries;
    PaymentBin m_payments;
    TextTableModel *m_paymentsModel;
    std::vector<PaymentBin::Entry> m_paymentEntries;
};
