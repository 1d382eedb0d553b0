// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QPersistentModelIndex>
#include <QTableView>

// A grid whose cells are written one by one, as the ledger's are: typing over a cell replaces
// it, Enter or Tab or leaving the cell commits, Esc cancels. The typed text goes to the commit
// function after the editor has closed, so that the questions a write asks never run inside
// the editor; the model itself is never written by the view.
class CommitGrid final : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommitGrid)

public:
    // Gets the cell and the typed text; the model shows what was stored (or the old value).
    using Commit = std::function<void(const QModelIndex &index, const QString &typed)>;

    explicit CommitGrid(QWidget *parent = nullptr);
    void setCommit(Commit commit) { m_commit = std::move(commit); }
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // A cell is being edited or its commit (with its question) is running: rows must stay put.
    bool isBusy() const { return isEditing() || m_committing; }
    // Ends the open edit as leaving the cell would, its commit included. False while a commit
    // is running (its question is open): whatever asked must wait.
    bool finishEdit();

signals:
    // An edit ended, its commit (if any) done.
    void editEnded();

protected:
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    Commit m_commit;
    QPersistentModelIndex m_typedIndex;
    QString m_typed;
    bool m_hasTyped = false;
    bool m_committing = false;
};
