// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QtGlobal>

#include "core/masterdata/businessmode.h"

class AccountChanges;
class Database;
class QWidget;
class SafetyCommandHost;
class UserPrompt;

// A client of one side; code 0: none.
struct AccountClient
{
    BusiMode mode = BusiMode::Customer;
    qint64 code = 0;
};

// The 도구 menu's entries of the money side: payments, the client ledger and the balances of
// customers and suppliers, their windows owned by window and following changes (may be null).
// The payments window and the client ledger open on activeClient().
void addAccountCommands(QWidget &window, SafetyCommandHost &host, Database &db, UserPrompt &prompt,
                        std::function<AccountClient()> activeClient, AccountChanges *changes);
