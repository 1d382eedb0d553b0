// SPDX-License-Identifier: GPL-3.0-or-later
#include "formhelpers.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcutEvent>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include "core/base/userprompt.h"
#include "core/layout/formrules.h"
#include "core/layout/twips.h"

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

// The rectangle a window is placed against, in global pixels.
QRect anchorRect(const QWidget *anchor)
{
    if (auto *view = qobject_cast<const QAbstractItemView *>(anchor)) {
        const QRect cell = view->visualRect(view->currentIndex()).intersected(view->viewport()->rect());
        if (!cell.isEmpty())
            return {view->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
    }
    return {anchor->mapToGlobal(QPoint(0, 0)), anchor->size()};
}

bool hasDefaultButton(const QWidget *window)
{
    if (!qobject_cast<const QDialog *>(window))
        return false;
    const auto buttons = window->findChildren<QPushButton *>();
    return std::any_of(buttons.begin(), buttons.end(), [](const QPushButton *b) { return b->isDefault(); });
}

// Windows' button habits, which Qt's buttons lack: see InstallButtonKeys.
class ButtonKeys final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Shortcut) {
            auto *button = qobject_cast<QAbstractButton *>(watched);
            const auto *shortcut = static_cast<QShortcutEvent *>(event);
            if (button && !shortcut->isAmbiguous() && shortcut->key() == QKeySequence::mnemonic(button->text())) {
                accelerate(button);
                return true;
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto *button = qobject_cast<QAbstractButton *>(watched);
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (button && enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && button->hasFocus())
                return pressWithEnter(button, key->isAutoRepeat());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void accelerate(QAbstractButton *target)
    {
        QPointer<QAbstractButton> button = target;
        if (button->focusPolicy() != Qt::NoFocus && QApplication::focusWidget() != button) {
            button->setFocus(Qt::ShortcutFocusReason);
            // What leaving queued (the ledger grid commits a cell once its editor has closed)
            // runs before the button acts.
            QCoreApplication::sendPostedEvents();
        }
        if (button && button->isEnabled() && button->isVisible())
            button->click();
    }

    static bool pressWithEnter(QAbstractButton *button, bool autoRepeat)
    {
        if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button)) {
            if (hasDefaultButton(button->window()))
                return false;
            MoveFocus(0, button);
            return true;
        }
        if (!autoRepeat) // holding Enter down saves once
            button->click();
        return true;
    }
};

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
    const QRect a = anchorRect(anchor);
    const QRect anchorTwips(Twips::fromPixels(a.x(), dpiX), Twips::fromPixels(a.y(), dpiY),
                            Twips::fromPixels(a.width(), dpiX), Twips::fromPixels(a.height(), dpiY));
    const QSize frame = form->frameGeometry().size();
    const QSize formTwips(Twips::fromPixels(frame.width(), dpiX), Twips::fromPixels(frame.height(), dpiY));
    const auto placed = [&](int v) {
        const QPoint at = FormRules::placeForm(anchorTwips, formTwips, horizontal, v);
        return QRect(QPoint(Twips::toPixels(at.x(), dpiX), Twips::toPixels(at.y(), dpiY)), frame);
    };
    QRect target = placed(vertical);
    if (const QScreen *screen = anchor->screen()) {
        const QRect avail = screen->availableGeometry();
        const bool above = vertical == FormRules::Above;
        if (above ? target.top() < avail.top() : target.bottom() > avail.bottom()) {
            const QRect other = placed(above ? 0 : FormRules::Above);
            if (other.top() >= avail.top() && other.bottom() <= avail.bottom())
                target = other;
        }
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

void InstallButtonKeys()
{
    static QPointer<ButtonKeys> installed;
    if (!installed && qApp) {
        installed = new ButtonKeys(qApp);
        qApp->installEventFilter(installed);
    }
}

bool OpenFile(QWidget *form, const QString &path)
{
    Q_UNUSED(form) // the desktop decides the owner of the program it starts
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
