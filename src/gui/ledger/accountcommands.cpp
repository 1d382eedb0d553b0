// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountcommands.h"

#include <QLineEdit>

#include "frmmain.h"
#include "gui/accounts/frmbalances.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/accounts/frmpayment.h"

void addAccountCommands(frmMain &window, Database &db, UserPrompt &prompt)
{
    const auto shownCustomer = [&window] { return window.txtCurClient[1]->text().toLongLong(); };
    window.addToolCommand(QStringLiteral("입금·지급(&I)"), [&, shownCustomer] {
        openPayments(&window, db, prompt, window.paths().gPostFile, BusiMode::Customer, shownCustomer());
    });
    window.addToolCommand(QStringLiteral("거래처원장(&O)"), [&, shownCustomer] {
        openClientLedger(&window, db, prompt, window.paths().gPostFile, window.paths().gRptPath, BusiMode::Customer,
                         shownCustomer());
    });
    window.addToolCommand(QStringLiteral("미수금 현황(&M)"), [&] {
        openBalances(&window, db, prompt, window.paths().gPostFile, window.paths().gRptPath, BusiMode::Customer);
    });
    window.addToolCommand(QStringLiteral("미지급금 현황(&Y)"), [&] {
        openBalances(&window, db, prompt, window.paths().gPostFile, window.paths().gRptPath, BusiMode::Supplier);
    });
}
