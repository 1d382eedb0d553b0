// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Database;
class UserPrompt;
class frmMain;

// The 도구 menu's entries of the money side: payments, the client ledger and the balances of
// customers and suppliers. The payments window and the client ledger open on the customer the
// panel shows.
void addAccountCommands(frmMain &window, Database &db, UserPrompt &prompt);
