// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include "core/ledger/vouchereditor.h"

class frmMain;
class LedgerGrid;
class Database;
class UserPrompt;
class VoucherLookups;

// Voucher entry in the main window: the voucher logic on one side, the window's grid, code
// boxes and client panels on the other.
class LedgerEntry final : public VoucherEditor::View
{
public:
    LedgerEntry(frmMain &window, LedgerGrid &grid, Database &db, UserPrompt &prompt, VoucherLookups &lookups);
    ~LedgerEntry() override;
    LedgerEntry(const LedgerEntry &) = delete;
    LedgerEntry &operator=(const LedgerEntry &) = delete;

    VoucherEditor &editor() { return *m_editor; }

    // Opens the client of panel side for editing; nothing when the panel is empty.
    using ClientEditOpener = std::function<void(BusiMode side, qint32 code)>;
    void setClientEditOpener(ClientEditOpener opener) { m_openClientEdit = std::move(opener); }
    void btnClientEdit_Click(BusiMode side);

    void setActiveCell(int row, int column) override;
    void focusGrid() override;
    void setConfirmHighlight(int row, int column, bool on) override;
    void setRowMode(bool on) override;
    void showFloatMsg(const QString &text) override;
    void showClient(BusiMode side, const ClientRecord *client) override;
    const QObject *codeAnchor() const override;
    const QObject *clientAnchor() const override;

private:
    frmMain &m_window;
    LedgerGrid &m_grid;
    std::unique_ptr<VoucherEditor> m_editor;
    ClientEditOpener m_openClientEdit;
};
