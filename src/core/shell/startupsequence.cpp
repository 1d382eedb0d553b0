// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupsequence.h"

#include "core/data/database.h"
#include "core/data/schemamaint.h"
#include <QFileInfo>

#include "core/base/ownerfiles.h"
#include "core/base/userprompt.h"
#include "settingkeys.h"
#include "ledgerlocation.h"
#include "ledgerlock.h"

namespace {
// Passes the import on and notes whether a ledger came in.
class NotingImporter final : public LedgerImporter
{
public:
    explicit NotingImporter(LedgerImporter *importer) : m_importer(importer) {}
    LedgerImporter *use() { return m_importer ? this : nullptr; }
    Outcome importLedger(const QString &oldLedger, const AppPaths &paths) override
    {
        Outcome o = m_importer->importLedger(oldLedger, paths);
        imported = imported || o.ok;
        return o;
    }
    bool imported = false;

private:
    LedgerImporter *m_importer;
};
} // namespace

StartupSequence::StartupSequence(AppSettings &settings, Database &db, UserPrompt &prompt)
    : m_settings(settings), m_db(db), m_prompt(prompt)
{
}

StartupSequence::~StartupSequence() = default;

bool StartupSequence::lockLedgerFile()
{
    // On a server several PCs sharing the ledger is the point, and the server keeps them apart.
    if (LedgerLocation::read(m_settings).kind == LedgerLocation::Kind::Server)
        return true;
    const QString ledger = ResolvePaths(m_settings).gDbFile;
    // The folder may not exist yet on a first start; the lock goes where the ledger will be.
    MakeOwnerFolders(QFileInfo(ledger).absolutePath());
    auto lock = std::make_unique<LedgerLock>(ledger);
    switch (lock->take()) {
    case LedgerLock::Outcome::Taken:
        break;
    case LedgerLock::Outcome::HeldElsewhere:
        m_prompt.MsgWarn(LedgerLock::heldText(ledger), programTitle());
        InstanceBell(ledger).ring();
        return false;
    case LedgerLock::Outcome::Failed:
        // A folder nobody may write in (a read-only share) holds no lock file, and no program
        // can change the ledger there either; its opening says what it can and cannot do.
        return true;
    }
    m_lock = std::move(lock);
    m_bell = std::make_unique<InstanceBell>(ledger);
    m_bell->listen([this] {
        if (m_bringToFront)
            m_bringToFront();
    });
    return true;
}

bool StartupSequence::run(View &view)
{
    if (!lockLedgerFile()) {
        m_refused = true;
        return false;
    }
    view.setCaption();
    NotingImporter importer(m_importer);
    m_paths = InitApp(m_settings, m_db, m_prompt, importer.use());
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
    if (!m_settings.get(Settings::noMsg))
        view.showNotice();
    view.InitListGrid();
    if (readable) {
        showImportedPeriod(view, importer.imported);
        view.DispList();
    }
    return true;
}

void StartupSequence::showImportedPeriod(View &view, bool imported)
{
    if (!imported)
        return;
    if (const auto month = lastSaleMonth(m_db))
        view.showPeriod(*month, month->addMonths(1).addDays(-1));
}

bool StartupSequence::refuseNewerLedger()
{
    const auto refusal = m_db.isOpen() ? CheckSchemaVersion(m_db) : std::nullopt;
    if (!refusal)
        return true;
    m_prompt.show(*refusal);
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
    NotingImporter importer(m_importer);
    OpenServerLedger(m_db, LedgerLocation::read(m_settings), m_prompt, &m_paths, importer.use());
    const bool known = refuseNewerLedger();
    // The ledger's own password guards it as at the start, which met no ledger to ask it for.
    if (m_db.isOpen() && !view.runLogin())
        return false;
    // A server still out of reach is said once, by the group check's first look.
    if (known && CheckGroupField(m_db, m_prompt)) {
        view.FillGroupCombo();
        showImportedPeriod(view, importer.imported);
        view.DispList();
    }
    return true;
}

std::optional<QDate> lastSaleMonth(Database &db)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT MAX(maechul_date) FROM total WHERE maechul_date <> ''")));
    if (!r.ok() || !r.query.next())
        return std::nullopt;
    const QDate last = QDate::fromString(r.query.value(0).toString(), QStringLiteral("yyyy-MM-dd"));
    if (!last.isValid())
        return std::nullopt;
    return QDate(last.year(), last.month(), 1);
}
