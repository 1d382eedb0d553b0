// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include "core/shell/ledgerbackup.h"
#include "gui/ui/listwindow.h"

class UserPrompt;

// "복원": the backups, newest first, with their date, voucher count and size; the chosen one
// replaces the ledger (LedgerBackup asks and checks). Closes itself after a restore.
class FrmBackup final : public ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmBackup)

public:
    FrmBackup(LedgerBackup &backup, QWidget *parent = nullptr);
    QPushButton *cmdRestore = nullptr;
    bool restored() const { return m_restored; }
    void Refresh_List();

private:
    void cmdRestore_Click();

    LedgerBackup &m_backup;
    QList<LedgerBackup::Entry> m_entries;
    bool m_restored = false;
};
