// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupsequence.h"

#include "core/data/database.h"
#include "core/data/schemamaint.h"
#include "appsettings.h"
#include "ledgerlocation.h"

StartupSequence::StartupSequence(AppSettings &settings, Database &db, UserPrompt &prompt)
    : m_settings(settings), m_db(db), m_prompt(prompt)
{
}

bool StartupSequence::run(View &view)
{
    view.setCaption();
    m_paths = InitApp(m_settings, m_db, m_prompt, m_importer);
    const bool known = refuseNewerLedger();
    view.ledgerOpened(m_paths);
    // A server out of reach has no password to ask for; its retry asks it once it is reached.
    if (!canReconnect(m_settings, m_db) && !view.runLogin())
        return false;
    // An unreadable ledger has been reported once; the group list and the grid stay empty rather
    // than repeating the same box. So does a refused one, said by its own box.
    const bool readable = known && CheckGroupField(m_db, m_prompt);
    view.applyLayout();
    view.prepareControls();
    if (readable)
        view.FillGroupCombo();
    if (m_settings.value(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("0"))
        == QStringLiteral("0"))
        view.showNotice();
    view.InitListGrid();
    if (readable)
        view.DispList();
    return true;
}

bool StartupSequence::refuseNewerLedger()
{
    if (!m_db.isOpen() || CheckSchemaVersion(m_db, m_prompt))
        return true;
    m_db.close();
    return false;
}

bool StartupSequence::canReconnect(AppSettings &settings, const Database &db)
{
    return LedgerLocation::read(settings).kind == LedgerLocation::Kind::Server && !db.isOpen();
}

bool StartupSequence::reconnect(View &view)
{
    if (!canReconnect(m_settings, m_db))
        return true;
    OpenServerLedger(m_db, LedgerLocation::read(m_settings), m_prompt, &m_paths, m_importer);
    const bool known = refuseNewerLedger();
    // The ledger's own password guards it as at the start, which met no ledger to ask it for.
    if (m_db.isOpen() && !view.runLogin())
        return false;
    // A server still out of reach is said once, by the group check's first look.
    if (known && CheckGroupField(m_db, m_prompt)) {
        view.FillGroupCombo();
        view.DispList();
    }
    return true;
}
