// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class Database;
class QCheckBox;
class QLineEdit;
class QPushButton;
class UserPrompt;

// 사업자 정보: the shop's own business details, kept in the ledger so that every PC of a
// server ledger prints the same heading, with the 부가세포함 switch of the papers.
class FrmBusinessInfo final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmBusinessInfo)

public:
    enum Field { Name, Owner, Number, BusiType, BusiItem, Address, Tel, Email, FieldCount };

    FrmBusinessInfo(Database &db, UserPrompt &prompt, QWidget *parent = nullptr);
    // Reads the ledger's details into the boxes; false (said to the user) when they cannot be read.
    bool load();
    // Saves and closes; a wrong number or an engine error keeps the window open.
    void btnSave_Click();

    QLineEdit *txtShop[FieldCount] = {};
    QCheckBox *chkVatIncluded = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    Database &m_db;
    UserPrompt &m_prompt;
};
