// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "core/shell/userpassword.h"

class QLineEdit;
class QPushButton;

// The password window: the current password and the new one (empty removes the password),
// typed twice, every box masked. Enter in the confirmation box changes.
class frmpass final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmpass)

public:
    frmpass(Database &db, UserPrompt &prompt, QWidget *parent = nullptr);

    // (0) the current password, (1) the new one.
    QLineEdit *txtinput[2] = {};
    QLineEdit *txtConfirm = nullptr; // the new one again
    QPushButton *btnChange = nullptr;

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void btnChange_Click();

    UserPassword m_password;
};
