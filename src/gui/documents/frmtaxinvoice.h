// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "core/documents/taxinvoice.h"

class Database;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class UserPrompt;

// 세금계산서 자료: a month's tax invoices, one per customer or per voucher, with the sales that
// cannot be issued listed apart, saved as Hometax's bulk-issue sheet.
class FrmTaxInvoice final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmTaxInvoice)

public:
    FrmTaxInvoice(Database &db, UserPrompt &prompt, QString reportFolder, QWidget *parent = nullptr);

    // Reads the month typed (YYYY-MM) into the two lists; false (said) on a wrong month or an error.
    bool btnRefresh_Click();
    // Saves the issuable invoices at path; empty on success, else the reason (also said).
    QString saveTo(const QString &path);
    const TaxInvoiceData &data() const { return m_data; }

    QLineEdit *txtMonth = nullptr;
    QRadioButton *optPerCustomer = nullptr;
    QRadioButton *optPerVoucher = nullptr;
    QPushButton *btnRefresh = nullptr;
    QTableWidget *spIssuable = nullptr;
    QLabel *lblIssuable = nullptr;
    QTableWidget *spUnissuable = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnClose = nullptr;

private:
    void btnSave_Click();

    Database &m_db;
    UserPrompt &m_prompt;
    QString m_reportFolder;
    TaxInvoiceData m_data;
};
