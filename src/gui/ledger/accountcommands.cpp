// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountcommands.h"

#include <QWidget>

#include "gui/accounts/frmbalances.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/accounts/frmpayment.h"
#include "safetycommands.h"

void addAccountCommands(QWidget &window, SafetyCommandHost &host, Database &db, UserPrompt &prompt,
                        std::function<qint64()> shownCustomer)
{
    host.addToolCommand(QStringLiteral("입금·지급(&I)"), [&, shownCustomer] {
        openPayments(&window, db, prompt, host.paths().gPostFile, BusiMode::Customer, shownCustomer());
    });
    host.addToolCommand(QStringLiteral("거래처원장(&O)"), [&, shownCustomer] {
        openClientLedger(&window, db, prompt, host.paths().gPostFile, host.paths().gRptPath, BusiMode::Customer,
                         shownCustomer());
    });
    host.addToolCommand(QStringLiteral("미수금 현황(&M)"), [&] {
        openBalances(&window, db, prompt, host.paths().gPostFile, host.paths().gRptPath, BusiMode::Customer);
    });
    host.addToolCommand(QStringLiteral("미지급금 현황(&Y)"), [&] {
        openBalances(&window, db, prompt, host.paths().gPostFile, host.paths().gRptPath, BusiMode::Supplier);
    });
}
