// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDate>
#include <QString>
#include <QVariant>

#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/vouchereditor.h"
#include "scriptedlookups.h"
#include "scriptedprompt.h"
#include "templedger.h"

// The text a cell of the ledger grid shows.
QString cellText(const LedgerModel &model, int row, int column);

// The voucher logic over a fresh ledger file, wired as the ledger window wires it, for the
// tests of the voucher grid. A test class derives from it (after QObject), calls
// openLedger() in init(), builds its view and then calls startEditor().
class LedgerFixture
{
protected:
    // The tests' today and the entry row's date.
    static QDate today() { return QDate(2026, 12, 8); }

    // A fresh empty file, a scripted prompt and lookups, the model and its Ledger dated today.
    void openLedger();
    // The voucher logic reporting to view; the view outlives the editor.
    void startEditor(VoucherEditor::View &view);
    // Fills the grid with the vouchers sold from from to to, as the period filter does.
    bool showPeriod(const QString &from, const QString &to);

    QString cell(int row, int column) const { return cellText(*m_model, row, column); }
    int entry() const { return m_model->entryRow(); }
    // A field of a stored voucher; invalid when the voucher is not in the file.
    QVariant stored(qint64 id, const QString &field);

    std::unique_ptr<TempLedger> m_l;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<ScriptedLookups> m_lookups;
    std::unique_ptr<LedgerModel> m_model;
    std::unique_ptr<Ledger> m_ledger;
    std::unique_ptr<VoucherEditor> m_ed;
};
