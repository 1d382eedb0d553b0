// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDate>

#include "startup.h"

class AppSettings;
class Database;
class InstanceBell;
class LedgerLock;
class UserPrompt;

// The opening of the program in its fixed order. The data side (settings, the ledger, schema
// maintenance, the notice setting) runs here; the main window does its own steps through View.
class StartupSequence final
{
public:
    // The main window's part of the opening, called in this order.
    class View
    {
    public:
        virtual ~View() = default;
        virtual void setCaption() = 0;
        // The paths are resolved and the ledger is open (or reported): the window connects
        // what works on them.
        virtual void ledgerOpened(const AppPaths &paths) = 0;
        // False when the login ended the program.
        virtual bool runLogin() = 0;
        virtual void applyLayout() = 0;
        // The caller-ID controls, the search strip, the entry row's date.
        virtual void prepareControls() = 0;
        virtual void FillGroupCombo() = 0;
        virtual void showNotice() = 0;
        virtual void InitListGrid() = 0;
        // Right after an import: the first query shows this period instead of the current month.
        virtual void showPeriod(const QDate &from, const QDate &to) = 0;
        virtual void DispList() = 0;
    };

    StartupSequence(AppSettings &settings, Database &db, UserPrompt &prompt);
    ~StartupSequence();
    StartupSequence(const StartupSequence &) = delete;
    StartupSequence &operator=(const StartupSequence &) = delete;

    // On a first start the old installation's ledger is offered through importer; without
    // one a new empty ledger is made.
    void setImporter(LedgerImporter *importer) { m_importer = importer; }

    // A second start on this ledger file asks the running one to come to the front: this is
    // called then (in the event loop).
    void setBringToFront(std::function<void()> bringToFront) { m_bringToFront = std::move(bringToFront); }

    // The whole opening; false when the login ended the program, or when another program holds
    // the ledger file (refused() then).
    bool run(View &view);
    bool refused() const { return m_refused; }

    // A server ledger that could not be opened (the server unreachable at the start, or later
    // refused): the server login, the login, the checks of the opening and the first query
    // again. False when the login ended the program.
    bool reconnect(View &view);
    // True when reconnect applies: the settings name a ledger server and no ledger is open.
    static bool canReconnect(AppSettings &settings, const Database &db);
    const AppPaths &paths() const { return m_paths; }

private:
    // A file ledger is held for this program alone; false, after a box, when another start holds
    // it (which is asked to come to the front).
    bool lockLedgerFile();
    // A ledger of a newer program's layout is refused (and closed) before anything reads or
    // writes it; false then.
    bool refuseNewerLedger();
    // After an import the grid opens on the ledger's last month with a sold voucher, not on the
    // current month, which an old ledger has nothing in.
    void showImportedPeriod(View &view, bool imported);

    AppSettings &m_settings;
    Database &m_db;
    UserPrompt &m_prompt;
    AppPaths m_paths;
    LedgerImporter *m_importer = nullptr;
    std::function<void()> m_bringToFront;
    std::unique_ptr<LedgerLock> m_lock;
    std::unique_ptr<InstanceBell> m_bell;
    bool m_refused = false;
};

// The first day of the latest month with a sold voucher: where the grid opens after an import
// (the period query finds vouchers by their sale date). nullopt when none is sold or the ledger
// cannot be read.
std::optional<QDate> lastSaleMonth(Database &db);
