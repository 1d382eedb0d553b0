// SPDX-License-Identifier: GPL-3.0-or-later
#include "firststartimport.h"

#include <QFileInfo>

LedgerImporter::Outcome FirstStartImport::importLedger(const QString &oldLedger, const AppPaths &paths)
{
    LedgerImport::Options options{oldLedger, QFileInfo(paths.gDbFile).absolutePath(), {}};
    if (!QFileInfo::exists(paths.gPostFile)
        && QFileInfo(paths.gPostFile).absolutePath() == options.outFolder)
        options.postalMdb = LedgerImport::postalBeside(oldLedger);
    const LedgerImport::Result r = LedgerImport::run(options, m_progress);
    return {r.ok, r.cancelled, r.ok ? r.summary() : r.error};
}
