// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgergrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

#include "core/ledger/ledgermodel.h"
#include "core/ledger/vouchereditor.h"

namespace {
QString editorText(QWidget *editor)
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        return line->text();
    const QVariant v = editor ? editor->property("text") : QVariant();
    return v.toString();
}
bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }
} // namespace

LedgerGrid::LedgerGrid(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAttribute(Qt::WA_InputMethodEnabled);
    // A header takes no focus, so pressing it would sort or resize under an open editor.
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this] { finishEdit(); });
}

bool LedgerGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // A click on the selected cell opens its editor at once: the view would wait for a possible
    // double click (which edits too), and keys typed meanwhile found no editor.
    if (trigger == SelectedClicked && (editTriggers() & SelectedClicked))
        trigger = AllEditTriggers;
    const bool wasEditing = isEditing();
    const bool started = QTableView::edit(index, trigger, event);
    if (started && !wasEditing && isEditing()) {
        m_editIndex = index;
        const QVariant v = index.data(Qt::EditRole);
        m_editOldText = v.isNull() ? QString() : v.toString();
        m_editorEnter = false;
        m_composing.clear();
        m_committedComposition.clear();
        if (m_editor)
            m_editor->editBegins(index.row(), index.column());
        if (QWidget *w = indexWidget(index))
            w->installEventFilter(this);
    }
    return started;
}

bool LedgerGrid::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the cell editor: remembered for the commit that follows.
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event)->key()))
        m_editorEnter = true;
    // The syllable the input method is composing in the editor, shown but not yet in its text.
    if (event->type() == QEvent::InputMethod)
        m_composing = static_cast<QInputMethodEvent *>(event)->preeditString();
    return QTableView::eventFilter(watched, event);
}

void LedgerGrid::commitComposition(QWidget *editor)
{
    // A click on another cell or a command closes the editor before the input method hands over
    // the syllable it is composing; the cell takes the text exactly as the user sees it.
    if (m_composing.isEmpty())
        return;
    const QString syllable = m_composing;
    QInputMethodEvent commit;
    commit.setCommitString(syllable);
    QCoreApplication::sendEvent(editor, &commit);
    m_composing.clear();
    // Some input methods commit it themselves once the focus has moved on, to the grid.
    m_committedComposition = syllable;
}

void LedgerGrid::commitData(QWidget *editor)
{
    if (!m_editor) {
        QTableView::commitData(editor);
        return;
    }
    if (!m_editIndex.isValid())
        return; // this edit was committed already
    commitComposition(editor);
    Pending p;
    p.index = m_editIndex;
    m_editIndex = QPersistentModelIndex();
    p.text = editorText(editor);
    p.changed = p.text != m_editOldText;
    p.enter = m_editorEnter;
    // After the editor has closed: the logic may ask questions and open windows.
    m_pending.push_back(p);
    QTimer::singleShot(0, this, &LedgerGrid::runPending);
}

bool LedgerGrid::finishEdit()
{
    if (m_committing)
        return false;
    if (isEditing()) {
        if (QWidget *editor = indexWidget(m_editIndex.isValid() ? QModelIndex(m_editIndex) : currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    runPending();
    return true;
}

qint64 LedgerGrid::heldVoucher() const
{
    QModelIndex at = m_editIndex;
    if (!at.isValid() && m_committing)
        at = m_typed.index;
    if (!at.isValid() && !m_pending.empty())
        at = m_pending.front().index; // closed, its commit about to run
    if (!at.isValid() && rowsFixed())
        at = currentIndex();
    if (!at.isValid() || !model())
        return 0;
    return model()->index(at.row(), LedgerModel::ColTotalId).data(Qt::EditRole).toLongLong();
}

bool LedgerGrid::rowsFixed() const
{
    return m_committing || QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

void LedgerGrid::runPending()
{
    // A question of a running commit spins an event loop; the commit after it waits its turn.
    if (m_committing)
        return;
    m_committing = true;
    while (!m_pending.empty()) {
        const Pending p = m_pending.front();
        m_pending.pop_front();
        runCommit(p);
    }
    m_committing = false;
}

void LedgerGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The cursor moves only after the logic has had its say.
    QTableView::closeEditor(editor, hint == QAbstractItemDelegate::RevertModelCache
                                        ? QAbstractItemDelegate::RevertModelCache
                                        : QAbstractItemDelegate::NoHint);
}

void LedgerGrid::runCommit(const Pending &p)
{
    if (!m_editor || !p.index.isValid())
        return;
    m_cursorPlaced = false;
    m_editor->setEnterPressed(p.enter);
    m_typed = p;
    m_editor->editEnds(p.index.row(), p.index.column(), p.text, p.changed);
    m_typed = Pending();
    if (p.enter && !m_cursorPlaced && p.index.isValid())
        moveOn(p.index);
}

QModelIndex LedgerGrid::nextEditable(const QModelIndex &from) const
{
    if (!model() || !from.isValid())
        return {};
    const int columns = model()->columnCount();
    for (int r = from.row(), startVisual = horizontalHeader()->visualIndex(from.column()) + 1; r < model()->rowCount();
         ++r, startVisual = 0) {
        for (int v = startVisual; v < columns; ++v) {
            const int c = horizontalHeader()->logicalIndex(v);
            if (isColumnHidden(c))
                continue;
            const QModelIndex i = model()->index(r, c);
            if (i.flags() & Qt::ItemIsEditable)
                return i;
        }
    }
    return {};
}

void LedgerGrid::moveOn(const QModelIndex &from)
{
    const QModelIndex next = nextEditable(from);
    if (next.isValid()) {
        setCurrentIndex(next);
        scrollTo(next);
    }
}

void LedgerGrid::keyPressEvent(QKeyEvent *event)
{
    m_committedComposition.clear();
    // F4 reaches the grid from its cell editor too: the sheet was always in edit mode.
    if (m_editor && event->key() == Qt::Key_F4) {
        if (finishEdit() && m_editor)
            m_editor->RecDelete(currentIndex().row());
        return;
    }
    if (m_editor && !isEditing()) {
        if (isEnter(event->key()) && currentIndex().isValid()) {
            // Enter on a cell that is not being edited: an empty lookup cell opens its lookup.
            const QPersistentModelIndex at = currentIndex();
            const QVariant v = at.data(Qt::EditRole);
            m_editor->editBegins(at.row(), at.column());
            m_cursorPlaced = false;
            m_editor->setEnterPressed(true);
            m_editor->editEnds(at.row(), at.column(), v.isNull() ? QString() : v.toString(), false);
            if (!m_cursorPlaced && at.isValid())
                moveOn(at);
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void LedgerGrid::inputMethodEvent(QInputMethodEvent *event)
{
    if (!isEditing() && !m_committedComposition.isEmpty() && event->preeditString().isEmpty()
        && event->commitString() == m_committedComposition) {
        m_committedComposition.clear(); // already in the cell it was typed into
        return;
    }
    // The view would open the editor but drop the composing syllable; hand it to the editor.
    if (!isEditing() && (!event->commitString().isEmpty() || !event->preeditString().isEmpty())
        && currentIndex().isValid() && edit(currentIndex(), AnyKeyPressed, event)) {
        if (QWidget *w = indexWidget(currentIndex())) {
            if (auto *line = qobject_cast<QLineEdit *>(w))
                line->clear(); // typing over a cell replaces it
            QCoreApplication::sendEvent(w, event);
            return;
        }
    }
    QTableView::inputMethodEvent(event);
}

void LedgerGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_editor && current.isValid() && current.row() != previous.row())
        m_editor->activeRowChanged(previous.isValid() ? previous.row() : -1, current.row());
}

void LedgerGrid::setConfirmCell(const QModelIndex &index, bool on)
{
    m_confirm = on ? QPersistentModelIndex(index) : QPersistentModelIndex();
    viewport()->update();
}

void LedgerGrid::setRowMode(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (on && currentIndex().isValid())
        selectRow(currentIndex().row());
    else if (currentIndex().isValid())
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void LedgerGrid::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (!m_confirm.isValid())
        return;
    // The cell whose change is being confirmed stands out while the question is open.
    QPainter p(viewport());
    const QRect r = visualRect(m_confirm);
    p.fillRect(r, QColor(0, 80, 250));
    p.setPen(QColor(255, 255, 128));
    // It shows what was typed, as the sheet's cell held it until a refusal put the old text back.
    QString text = m_confirm.data(Qt::DisplayRole).toString();
    if (m_typed.index == m_confirm) {
        const auto *delegate = qobject_cast<const QStyledItemDelegate *>(itemDelegateForIndex(m_confirm));
        text = delegate ? delegate->displayText(m_typed.text, locale()) : m_typed.text;
    }
    const QVariant align = m_confirm.data(Qt::TextAlignmentRole);
    p.drawText(r.adjusted(3, 0, -3, 0), align.isValid() ? align.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter), text);
}
