// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>

#include "core/shell/login.h"

class QLabel;
class QLineEdit;

// The login window: a fixed dialog without a close box. It closes itself (accepted) when the
// user is admitted; rejected means the login ended the program.
class frmSplash final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSplash)

public:
    // applyTelvoxUse is the main window's start-up step for the caller-ID switch, run once the
    // user row could be read.
    frmSplash(Database &db, AppSettings &settings, UserPrompt &prompt, std::function<void()> applyTelvoxUse,
              QWidget *parent = nullptr);

    // Caption, boxes and mask from the user row; the design contents stay when it cannot be read.
    void Form_Load();

    static QString enterPrompt() { return QStringLiteral("엔터 치세요"); }

    QLineEdit *TxtUser = nullptr;
    QLineEdit *TxtPassword = nullptr;
    QLabel *lblIdentify = nullptr;

public slots:
    void done(int result) override;
    // Esc and any attempt to close the window ask whether to end the program.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void carryOut(Login::Outcome outcome);

    Login m_login;
    std::function<void()> m_applyTelvoxUse;
};
