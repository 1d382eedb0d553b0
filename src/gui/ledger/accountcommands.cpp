// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountcommands.h"

#include <QWidget>

#include "gui/accounts/frmbalances.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/accounts/frmpayment.h"
#include "safetycommands.h"

void addAccountCommands(QWidget &window, SafetyCommandHost &host, Database &db, UserPrompt &prompt,
                        std::function<AccountClient()> activeClient, AccountChanges *changes)
{
    host.addToolCommand(QStringLiteral("입금·지급(&I)"), [&, activeClient, changes] {
        const AccountClient client = activeClient();
        openPayments(&window, db, prompt, host.paths().gPostFile, client.mode, client.code, changes);
    });
    host.addToolCommand(QStringLiteral("거래처원장(&O)"), [&, activeClient, changes] {
        const AccountClient client = activeClient();
        openClientLedger(&window, db, prompt, host.paths().gPostFile, host.paths().gRptPath, client.mode,
                         client.code, changes);
    });
    host.addToolCommand(QStringLiteral("미수금 현황(&M)"), [&, changes] {
        openBalances(&window, db, prompt, host.paths().gPostFile, host.paths().gRptPath, BusiMode::Customer,
                     changes);
    });
    host.addToolCommand(QStringLiteral("미지급금 현황(&Y)"), [&, changes] {
        openBalances(&window, db, prompt, host.paths().gPostFile, host.paths().gRptPath, BusiMode::Supplier,
                     changes);
    });
}
