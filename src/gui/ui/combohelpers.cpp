// SPDX-License-Identifier: GPL-3.0-or-later
#include "combohelpers.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "core/layout/twips.h"
#include "formhelpers.h"

namespace {

QComboBox *comboOf(QWidget *w)
{
    if (!w)
        return nullptr;
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c;
    if (qobject_cast<QLineEdit *>(w))
        return qobject_cast<QComboBox *>(w->parentWidget());
    return nullptr;
}

// The dropped list of a group box: Enter takes the highlighted item and moves on; the list
// drops on the item the box shows (none when the typed text is no item, so that Enter keeps
// it); in a box one may type into, typing goes into the box while the list is down, replacing
// the text first.
class ListFilter final : public QObject
{
public:
    explicit ListFilter(QComboBox *combo) : QObject(combo), m_combo(combo), m_list(combo->view()) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The list still gets events while the box around it is being destroyed: only the
        // events handled here may touch the box, and those never come then.
        const QEvent::Type type = event->type();
        if (watched != m_list
            || (type != QEvent::Show && type != QEvent::FocusIn && type != QEvent::ShortcutOverride
                && type != QEvent::KeyPress && type != QEvent::InputMethod))
            return QObject::eventFilter(watched, event);
        QAbstractItemView *list = m_list;
        switch (type) {
        case QEvent::Show:
        case QEvent::FocusIn: // after the box has handed over the focus, which may reset its text
            highlightShownText();
            if (m_combo->lineEdit())
                m_combo->lineEdit()->selectAll(); // typing replaces the text, as on entering the box
            break;
        case QEvent::ShortcutOverride:
            // Seen before the list's own Enter handling, which needs a highlighted item.
            if (isEnter(event) && !list->currentIndex().isValid()) {
                m_combo->hidePopup();
                moveOnLater();
                return true;
            }
            break;
        case QEvent::KeyPress:
            if (isEnter(event)) {
                // The list takes the highlighted item and closes first; then the box moves on.
                moveOnLater();
            } else if (m_combo->lineEdit() && isTyping(static_cast<QKeyEvent *>(event))) {
                QCoreApplication::sendEvent(m_combo->lineEdit(), event);
                highlightShownText();
                return true;
            }
            break;
        case QEvent::InputMethod:
            if (m_combo->lineEdit()) {
                QCoreApplication::sendEvent(m_combo->lineEdit(), event);
                highlightShownText();
                return true;
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isEnter(const QEvent *event)
    {
        const int key = static_cast<const QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }

    static bool isTyping(const QKeyEvent *key)
    {
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
            return true;
        return !key->text().isEmpty() && key->text().front().isPrint()
               && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    }

    void highlightShownText()
    {
        QAbstractItemView *list = m_combo->view();
        const int row = m_combo->findText(m_combo->currentText());
        const QModelIndex item = row >= 0 ? m_combo->model()->index(row, m_combo->modelColumn(), m_combo->rootModelIndex())
                                          : QModelIndex();
        list->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
        if (item.isValid())
            list->scrollTo(item);
    }

    void moveOnLater()
    {
        // The box is the timer's context: gone with it, the move is dropped.
        QTimer::singleShot(0, m_combo, [combo = m_combo] { CmbKeyMove(Qt::Key_Return, combo); });
    }

    QComboBox *m_combo; // the filter is its child, so it never outlives it
    QAbstractItemView *m_list;
};

class ComboFilter final : public QObject
{
public:
    explicit ComboFilter(QComboBox *combo) : QObject(combo) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *w = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            CmbShowList(w);
        } else if (event->type() == QEvent::KeyPress) {
            if (CmbKeyMove(static_cast<QKeyEvent *>(event)->key(), w))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void CmbShowList(QWidget *control)
{
    QPointer<QComboBox> combo = comboOf(control ? control : QApplication::focusWidget());
    if (!combo)
        return;
    QTimer::singleShot(0, combo, [combo] {
        if (combo && combo->isVisible() && combo->isEnabled())
            combo->showPopup();
    });
}

void CmbSetSize(QComboBox *combo, int widthTwips, int heightTwips)
{
    if (!combo)
        return;
    const int width = Twips::toPixels(widthTwips, combo->logicalDpiX());
    const int height = Twips::toPixels(heightTwips, combo->logicalDpiY());
    QAbstractItemView *list = combo->view();
    list->setMinimumWidth(std::max(0, width));
    const int row = std::max(1, list->sizeHintForRow(0) > 0 ? list->sizeHintForRow(0) : combo->fontMetrics().height() + 4);
    combo->setMaxVisibleItems(std::max(1, height / row));
    combo->setProperty("cmbListHeight", height);
}

bool CmbKeyMove(int key, QWidget *from)
{
    QWidget *w = from ? from : QApplication::focusWidget();
    if (QComboBox *combo = comboOf(w))
        w = combo;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
        return MoveFocus(0, w);
    case Qt::Key_Left:
        return MoveFocus(1, w);
    default:
        return false;
    }
}

void CmbFollowListEnter(QComboBox *combo)
{
    if (!combo || combo->property("cmbFollowsEnter").toBool())
        return;
    combo->setProperty("cmbFollowsEnter", true);
    if (combo->isEditable())
        combo->view()->setAttribute(Qt::WA_InputMethodEnabled);
    combo->view()->installEventFilter(new ListFilter(combo));
}

void CmbInstall(QComboBox *combo)
{
    if (!combo)
        return;
    combo->installEventFilter(new ComboFilter(combo));
    CmbFollowListEnter(combo);
}
