// SPDX-License-Identifier: GPL-3.0-or-later
#include "commitgrid.h"

#include <QComboBox>
#include <QLineEdit>

#include "gui/ui/spreadhelpers.h"

CommitGrid::CommitGrid(QWidget *parent) : QTableView(parent)
{
    CommonSpreadDesign(this, SpreadOption::Alternating);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

bool CommitGrid::finishEdit()
{
    if (m_committing)
        return false;
    if (isEditing()) {
        if (QWidget *editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    return !m_committing;
}

void CommitGrid::commitData(QWidget *editor)
{
    // Kept until the editor has closed; the model is written by the commit function only.
    QString text;
    if (const auto *line = qobject_cast<QLineEdit *>(editor))
        text = line->text();
    else if (const auto *combo = qobject_cast<QComboBox *>(editor))
        text = combo->currentText();
    else
        return;
    m_typedIndex = currentIndex();
    m_typed = text;
    m_hasTyped = true;
}

void CommitGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool moveOn = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, moveOn ? QAbstractItemDelegate::NoHint : hint);
    if (m_hasTyped && hint != QAbstractItemDelegate::RevertModelCache && !m_committing) {
        m_hasTyped = false;
        const QPersistentModelIndex index = m_typedIndex;
        m_committing = true;
        if (m_commit && index.isValid())
            m_commit(index, m_typed);
        m_committing = false;
        setFocus();
    }
    m_hasTyped = false;
    if (moveOn) {
        const QModelIndex at = currentIndex();
        const int column = at.column() + (hint == QAbstractItemDelegate::EditNextItem ? 1 : -1);
        if (at.isValid() && column >= 0 && column < model()->columnCount())
            setCurrentIndex(model()->index(at.row(), column));
    }
    emit editEnded();
}
