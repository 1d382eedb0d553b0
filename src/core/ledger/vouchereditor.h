// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDate>
#include <QString>
#include <QVariant>

#include "core/masterdata/businessmode.h"
#include "voucherstore.h"

struct ClientRecord;
class Database;
class Ledger;
class LedgerModel;
class QObject;
class UserPrompt;
class VoucherLookups;

// Typing, changing and deleting vouchers in the ledger grid. Every committed cell is one
// database write, and the grid takes the value only after it, so a refused or failed commit
// leaves the grid showing what the file holds (the entry row aside). Columns are the model's,
// counted from 0.
class VoucherEditor final
{
public:
    // What the logic needs of the window around the grid.
    class View
    {
    public:
        virtual ~View() = default;
        virtual void setActiveCell(int row, int column) = 0;
        virtual void focusGrid() = 0;
        // The cell being confirmed, painted in the confirmation colours while the question is up.
        virtual void setConfirmHighlight(int row, int column, bool on) = 0;
        // The whole row highlighted while its deletion is asked.
        virtual void setRowMode(bool on) = 0;
        virtual void showFloatMsg(const QString &text) = 0;
        // A client panel: null clears it (and its code box).
        virtual void showClient(BusiMode side, const ClientRecord *client) = 0;
        // Anchors the lookup windows are placed against (the grid at its edited cell, and pnlTop).
        virtual const QObject *codeAnchor() const = 0;
        virtual const QObject *clientAnchor() const = 0;
    };

    VoucherEditor(Database &db, UserPrompt &prompt, VoucherLookups &lookups, LedgerModel &model, Ledger &ledger,
                  View &view);
    VoucherEditor(const VoucherEditor &) = delete;
    VoucherEditor &operator=(const VoucherEditor &) = delete;

    // Edit begins: the old text is remembered and Enter forgotten.
    void editBegins(int row, int column);
    // Enter typed in the grid.
    void setEnterPressed(bool pressed) { m_enterPressed = pressed; }
    bool enterPressed() const { return m_enterPressed; }
    // Edit ends with typed as the cell's text; changed when the user changed it.
    void editEnds(int row, int column, const QString &typed, bool changed);
    QString EditOldText() const { return m_editOldText; }

    // Inserts the entry row's voucher; its key comes from the insert itself.
    std::optional<qint64> RecAddNew(const LedgerRow &voucher);
    // Writes one field of the saved voucher of a row.
    bool RecUpdate(int row, VoucherField field, const FieldValue &value);
    // Asks before a change of an older row; false when refused (the cell keeps its old value).
    bool ReallyEdit(const QString &oldText, int column, int row);
    // F4 on the active row.
    void RecDelete(int row);
    bool RecDelete_Sub(qint64 code);

    void DispClientInfo(BusiMode side, ClientCode code);
    void ClearClientInfo(BusiMode side);
    // The active cell moved to another row: both panels follow it.
    void activeRowChanged(int oldRow, int newRow);
    // Called by the client edit window after a save.
    void SyncUpdateClient(ClientCode nCode, BusiMode nBusiMode, bool bAdd);

    // Freezes "today" for the date rules (tests).
    void setToday(const QDate &today) { m_today = today; }

private:
    QString cellText(int row, int column) const;
    // What a committed cell is to store, through its lookup or its rule; nullopt when nothing
    // was chosen or the rule refused (its box shown).
    std::optional<FieldValue> cellValueOf(int row, int column, const QString &typed);
    // The entry row takes amounts and clients only after its product.
    void productFirst(int row);
    void runError(const QString &procedure, int number, const QString &description);

    Database &m_db;
    VoucherStore m_store;
    UserPrompt &m_prompt;
    VoucherLookups &m_lookups;
    LedgerModel &m_model;
    Ledger &m_ledger;
    View &m_view;
    QString m_editOldText;
    bool m_enterPressed = false;
    QDate m_today;
};
