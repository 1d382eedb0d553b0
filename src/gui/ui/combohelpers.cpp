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

#include "formhelpers.h"
#include "ui/twips.h"

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

class ListEnterFilter final : public QObject
{
public:
    ListEnterFilter(QComboBox *combo) : QObject(combo), m_combo(combo) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_combo) {
                // The list takes the highlighted item and closes first; then the box moves on.
                QPointer<QComboBox> combo = m_combo;
                QTimer::singleShot(0, combo, [combo] {
                    if (combo)
                        CmbKeyMove(Qt::Key_Return, combo);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QComboBox> m_combo;
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
    combo->view()->installEventFilter(new ListEnterFilter(combo));
}

void CmbInstall(QComboBox *combo)
{
    if (!combo)
        return;
    combo->installEventFilter(new ComboFilter(combo));
    CmbFollowListEnter(combo);
}
