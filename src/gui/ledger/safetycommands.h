// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDate>

#include "core/shell/startupsequence.h"

class AppSettings;
class Database;
class LedgerModel;
class LiveLedger;
class QAction;
class QString;
class QWidget;
class UserPrompt;

// What the safety commands need of the ledger window, read when a command runs (the paths and
// the live ledger come with the opening).
class SafetyCommandHost
{
public:
    virtual ~SafetyCommandHost() = default;
    // A 도구 menu entry; like the buttons it first finishes an open cell edit.
    virtual QAction *addToolCommand(const QString &text, std::function<void()> command) = 0;
    virtual const AppPaths &paths() const = 0;
    virtual QDate today() const = 0;
    // The shown vouchers.
    virtual LedgerModel &model() = 0;
    // Other PCs' changes of the shown vouchers; null before the ledger is opened.
    virtual LiveLedger *live() = 0;
};

// The 도구 menu's backup, restore, recycle-bin and export entries of the ledger window, the
// ledger's location and the retry of a ledger server that could not be reached. window owns
// their dialogs and is closed when the retry's login ends the program; view is the opening's.
void addSafetyCommands(QWidget &window, SafetyCommandHost &host, StartupSequence::View &view, AppSettings &settings,
                       Database &db, UserPrompt &prompt);
