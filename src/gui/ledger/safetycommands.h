// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class AppSettings;
class Database;
class UserPrompt;
class frmMain;

// The 도구 menu's backup, restore, recycle-bin and export entries of the ledger window, the
// ledger's location and the retry of a ledger server that could not be reached.
void addSafetyCommands(frmMain &window, AppSettings &settings, Database &db, UserPrompt &prompt);
