// SPDX-License-Identifier: GPL-3.0-or-later
#include "formhelpers.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include "ui/formrules.h"
#include "ui/twips.h"
#include "ui/userprompt.h"

namespace {

QWidget *orFocus(QWidget *w)
{
    return w ? w : QApplication::focusWidget();
}

bool takesTabFocus(const QWidget *w, const QWidget *window)
{
    return w->window() == window && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()
           && !w->focusProxy();
}

} // namespace

QWidget *nextInTabOrder(QWidget *from, bool forward)
{
    if (!from)
        return nullptr;
    // A combo box's line edit and the like stand for their owner in the chain.
    QWidget *start = from;
    while (start->parentWidget() && start->parentWidget()->focusProxy() == start)
        start = start->parentWidget();
    const QWidget *window = start->window();
    QWidget *w = start;
    for (int guard = 0; guard < 10000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start)
            return nullptr;
        if (takesTabFocus(w, window))
            return w;
    }
    return nullptr;
}

bool MoveFocus(int direction, QWidget *from)
{
    if (direction != 0 && direction != 1)
        return false;
    QWidget *w = orFocus(from);
    QWidget *target = nextInTabOrder(w, direction == 0);
    if (!target)
        return false;
    target->setFocus(direction == 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool KeyToTab(int key, QWidget *from)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        return MoveFocus(0, from);
    case Qt::Key_Up:
        return MoveFocus(1, from);
    default:
        return false;
    }
}

void SelectAllText(QWidget *control)
{
    QPointer<QWidget> w = orFocus(control);
    if (!w)
        return;
    QTimer::singleShot(0, w, [w] {
        if (!w)
            return;
        QWidget *c = w;
        if (auto *combo = qobject_cast<QComboBox *>(c)) {
            if (!combo->lineEdit())
                return;
            c = combo->lineEdit();
        }
        if (auto *edit = qobject_cast<QLineEdit *>(c)) {
            if (edit->inputMask().isEmpty() || !edit->text().isEmpty())
                edit->selectAll();
        } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(c)) {
            spin->selectAll();
        } else if (auto *text = qobject_cast<QTextEdit *>(c)) {
            text->selectAll();
        } else if (auto *plain = qobject_cast<QPlainTextEdit *>(c)) {
            plain->selectAll();
        }
    });
}

void SetHangulMode(bool on, QWidget *control)
{
    QWidget *w = orFocus(control);
    if (!w)
        return;
    Qt::InputMethodHints hints = w->inputMethodHints();
    if (on)
        hints &= ~Qt::InputMethodHints(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    else
        hints |= Qt::ImhPreferLatin;
    w->setInputMethodHints(hints);
    if (w->hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImHints);
}

void PlaceForm(QWidget *form, const QWidget *anchor, int horizontal, int vertical)
{
    if (!form || !anchor)
        return;
    const double dpiX = anchor->logicalDpiX();
    const double dpiY = anchor->logicalDpiY();
    const QPoint origin = anchor->mapToGlobal(QPoint(0, 0));
    const QRect anchorTwips(Twips::fromPixels(origin.x(), dpiX), Twips::fromPixels(origin.y(), dpiY),
                            Twips::fromPixels(anchor->width(), dpiX), Twips::fromPixels(anchor->height(), dpiY));
    const QSize frame = form->frameGeometry().size();
    const QSize formTwips(Twips::fromPixels(frame.width(), dpiX), Twips::fromPixels(frame.height(), dpiY));
    const QPoint at = FormRules::placeForm(anchorTwips, formTwips, horizontal, vertical);
    QRect target(QPoint(Twips::toPixels(at.x(), dpiX), Twips::toPixels(at.y(), dpiY)), frame);
    if (const QScreen *screen = anchor->screen()) {
        const QRect avail = screen->availableGeometry();
        // A popup that would leave the screen is pushed back onto it.
        target.moveLeft(std::clamp(target.left(), avail.left(), std::max(avail.left(), avail.right() - target.width() + 1)));
        target.moveTop(std::clamp(target.top(), avail.top(), std::max(avail.top(), avail.bottom() - target.height() + 1)));
    }
    form->move(target.topLeft());
}

QString controlText(const QWidget *control)
{
    if (!control)
        return {};
    if (auto *e = qobject_cast<const QLineEdit *>(control))
        return e->text();
    if (auto *c = qobject_cast<const QComboBox *>(control))
        return c->currentText();
    if (auto *s = qobject_cast<const QAbstractSpinBox *>(control))
        return s->text();
    if (auto *t = qobject_cast<const QTextEdit *>(control))
        return t->toPlainText();
    if (auto *p = qobject_cast<const QPlainTextEdit *>(control))
        return p->toPlainText();
    if (auto *l = qobject_cast<const QLabel *>(control))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(control))
        return b->text();
    return {};
}

bool CheckRequired(QWidget *control, const QString &caption, bool zeroIsEmpty, UserPrompt &prompt)
{
    if (!FormRules::isRequiredEmpty(controlText(control), zeroIsEmpty))
        return false;
    prompt.MsgInfo(FormRules::requiredMessage(caption), FormRules::requiredTitle());
    if (control && control->isVisible() && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
    return true;
}

bool OpenFile(QWidget *form, const QString &path)
{
    Q_UNUSED(form) // the desktop decides the owner of the program it starts
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
