// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>

#include <QPersistentModelIndex>
#include <QTableView>

#include "core/ledger/liveledger.h"

class VoucherEditor;

// The ledger grid as a sheet made for fast entry: typing over a cell replaces it, Enter commits
// and moves to the next editable cell (from the last one to the next row), Esc cancels, and a
// Hangul syllable that starts an edit through an input method arrives whole. Each commit is
// handed to the voucher logic after the cell editor has closed, so the questions and windows it
// opens never run inside the editor. Every command of the window ends the open edit first
// (finishEdit), as the original's focus change did. Other PCs' changes wait while they would
// disturb an edit (LiveLedger::Guard).
class LedgerGrid final : public QTableView, public LiveLedger::Guard
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LedgerGrid)

public:
    explicit LedgerGrid(QWidget *parent = nullptr);

    // The logic the commits go to; null leaves the grid an ordinary table.
    void setVoucherEditor(VoucherEditor *editor) { m_editor = editor; }
    // Set by the logic when it placed the cursor itself, so Enter does not move it on.
    void noteActiveCellSet() { m_cursorPlaced = true; }
    void setConfirmCell(const QModelIndex &index, bool on);
    void setRowMode(bool on);
    // The next editable visible cell after index in reading order; invalid at the end.
    QModelIndex nextEditable(const QModelIndex &index) const;
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // Ends the open edit exactly as leaving the cell would: the editor closes and its commit
    // (its question, its write or its refusal) runs now, as does a commit still waiting for
    // its turn. False while a commit is running (a question of it is open): the command that
    // asked must not run in the middle of it.
    bool finishEdit();

    // The voucher of the open editor or of the running commit, or of the current row while a
    // window or question is open over the grid; 0 when none.
    qint64 heldVoucher() const override;
    // A commit is running, or a window or question is open: rows are addressed by number.
    bool rowsFixed() const override;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Pending
    {
        QPersistentModelIndex index;
        QString text;
        bool changed = false;
        bool enter = false;
    };
    void runPending();
    void runCommit(const Pending &pending);
    void moveOn(const QModelIndex &from);
    void commitComposition(QWidget *editor);

    VoucherEditor *m_editor = nullptr;
    QPersistentModelIndex m_editIndex;
    QString m_editOldText;
    bool m_editorEnter = false;
    bool m_cursorPlaced = false;
    bool m_committing = false;
    std::deque<Pending> m_pending; // commits of closed editors, run in order
    Pending m_typed;               // the commit running now
    QPersistentModelIndex m_confirm;
    QString m_composing;            // the input method's syllable under way in the editor
    QString m_committedComposition; // such a syllable, put into the cell as the edit ended
};
