// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "core/ledger/vouchereditor.h"

class Database;
class Ledger;
class LedgerGrid;
class LedgerModel;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class UserPrompt;
class VoucherLookups;

// Voucher entry in the main window: the voucher logic on one side, the window's grid, code
// boxes and client panels on the other.
class LedgerEntry final : public VoucherEditor::View
{
public:
    // The window's controls that voucher entry shows into, by side (supplier, customer).
    struct Controls
    {
        QWidget *window = nullptr; // owns the floating notice
        LedgerGrid *grid = nullptr;
        QWidget *clientAnchor = nullptr; // what the client windows open against
        std::array<std::array<QLabel *, 6>, 2> panels{}; // pnlinfo, pnlinfo2
        std::array<QLineEdit *, 2> codes{};              // txtCurClient
        std::array<QPushButton *, 2> editButtons{};      // btnClientEdit
        // Makes a click a command of the window: an open cell edit ends first.
        std::function<void(QAbstractButton *, std::function<void()>)> connectCommand;
    };

    LedgerEntry(const Controls &controls, LedgerModel &model, Ledger &ledger, Database &db, UserPrompt &prompt,
                VoucherLookups &lookups);
    ~LedgerEntry() override;
    LedgerEntry(const LedgerEntry &) = delete;
    LedgerEntry &operator=(const LedgerEntry &) = delete;

    VoucherEditor &editor() { return *m_editor; }

    // Opens the client of panel side for editing; nothing when the panel is empty.
    using ClientEditOpener = std::function<void(BusiMode side, ClientCode code)>;
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

    // A client panel's value: shown, and given to screen readers as the panel's description
    // (its name stays the caption).
    static void setPanelText(QLabel *panel, const QString &text);

private:
    Controls m_controls;
    LedgerGrid &m_grid;
    std::unique_ptr<VoucherEditor> m_editor;
    ClientEditOpener m_openClientEdit;
};
