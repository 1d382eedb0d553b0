// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/startup.h"
#include "ledgerimport.h"

// The first start's import: the old ledger into the data folder, with the dbpost.mdb that
// lies beside it when the postal file is still missing.
class FirstStartImport final : public LedgerImporter
{
public:
    explicit FirstStartImport(LedgerImport::Progress progress = {}) : m_progress(std::move(progress)) {}
    Outcome importLedger(const QString &oldLedger, const AppPaths &paths) override;

private:
    LedgerImport::Progress m_progress;
};
