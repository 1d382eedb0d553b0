// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QTest>

#include "gui/shell/frmsplash.h"
#include "modalwatch.h"

// Gets the main window's opening past the login of a ledger without a password: an emptied
// password box passes at once, without a box.
inline ModalWatch<frmSplash> admitLogin()
{
    return ModalWatch<frmSplash>([](frmSplash *w) {
        w->TxtPassword->setText(QString());
        QTest::keyClick(w->TxtPassword, Qt::Key_Return);
    });
}
