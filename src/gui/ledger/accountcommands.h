// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QtGlobal>

class Database;
class QWidget;
class SafetyCommandHost;
class UserPrompt;

// The 도구 menu's entries of the money side: payments, the client ledger and the balances of
// customers and suppliers, their windows owned by window. The payments window and the client
// ledger open on shownCustomer (0: none).
void addAccountCommands(QWidget &window, SafetyCommandHost &host, Database &db, UserPrompt &prompt,
                        std::function<qint64()> shownCustomer);
