// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupsequence.h"

#include "core/data/schemamaint.h"
#include "appsettings.h"

StartupSequence::StartupSequence(AppSettings &settings, Database &db, UserPrompt &prompt)
    : m_settings(settings), m_db(db), m_prompt(prompt)
{
}

bool StartupSequence::run(View &view)
{
    view.setCaption();
    m_paths = InitApp(m_settings, m_db, m_prompt, m_importer);
    view.ledgerOpened(m_paths);
    if (!view.runLogin())
        return false;
    // An unreadable ledger has been reported once; the group list and the grid stay empty rather
    // than repeating the same box.
    const bool readable = CheckGroupField(m_db, m_prompt);
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
