// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class AppSettings;
class Database;
class UserPrompt;
class frmMain;

// The 도구 menu's backup, restore, recycle-bin and export entries of the ledger window.
void addSafetyCommands(frmMain &window, AppSettings &settings, Database &db, UserPrompt &prompt);
