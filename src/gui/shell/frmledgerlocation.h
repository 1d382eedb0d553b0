// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class AppSettings;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UserPrompt;

// "장부 위치": this PC's ledger file or a ledger server several PCs share. What is stored here
// is used from the next start; the server's password is asked then, never stored.
class FrmLedgerLocation final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmLedgerLocation)

public:
    FrmLedgerLocation(AppSettings &settings, UserPrompt &prompt, QWidget *parent = nullptr);

    QRadioButton *optFile = nullptr;
    QRadioButton *optServer = nullptr;
    QLineEdit *txtHost = nullptr;
    QLineEdit *txtPort = nullptr;
    QLineEdit *txtDatabase = nullptr;
    QLineEdit *txtUser = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void cmdOK_Click();
    void showKind();

    AppSettings &m_settings;
    UserPrompt &m_prompt;
};
