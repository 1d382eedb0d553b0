// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/startup.h"

class QWidget;

// The first start's import with a progress dialog whose cancel button stops it.
class ImportProgress final : public LedgerImporter
{
public:
    explicit ImportProgress(QWidget *parent) : m_parent(parent) {}
    Outcome importLedger(const QString &oldLedger, const AppPaths &paths) override;

private:
    QWidget *m_parent;
};
