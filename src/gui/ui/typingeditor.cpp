// SPDX-License-Identifier: GPL-3.0-or-later
#include "typingeditor.h"

#include <QAbstractItemView>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>

#include <xcb/xcb.h>
// Xlib last: its macros (KeyPress, None, …) would clash with Qt's names.
#include <X11/XKBlib.h>

namespace {

// A key that types a character (Latin-1, Hangul or Unicode keysyms), not a command key.
bool typesCharacter(KeySym sym)
{
    return (sym >= 0x20 && sym <= 0x7e) || (sym >= 0xa0 && sym <= 0xff) || (sym >= 0x0ea1 && sym <= 0x0eff)
           || (sym >= 0x01000100 && sym <= 0x0110ffff);
}

class TypingFilter final : public QAbstractNativeEventFilter
{
public:
    explicit TypingFilter(Display *display) : m_display(display) {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
            return false;
        const auto *key = static_cast<const xcb_key_press_event_t *>(message);
        // Ctrl, Alt and Super make a command (Alt+T opens the tools menu), not text.
        if (key->state & (XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4))
            return false;
        const int group = (key->state >> 13) & 3;
        const int level = (key->state & XCB_MOD_MASK_SHIFT) ? 1 : 0;
        if (!typesCharacter(XkbKeycodeToKeysym(m_display, key->detail, group, level)))
            return false;
        // Only a key for the focus widget's own window: an open menu or popup takes the keys
        // while the grid keeps the focus.
        QWidget *focus = QApplication::focusWidget();
        if (!focus || QApplication::activePopupWidget() || focus->window()->winId() != key->event)
            return false;
        // The key goes on to the input method, which now composes into the open editor.
        openEditorForTyping(focus);
        return false;
    }

private:
    Display *m_display;
};

} // namespace

bool openEditorForTyping(QWidget *focus)
{
    auto *view = qobject_cast<QAbstractItemView *>(focus);
    if (!view || !view->isEnabled() || !(view->editTriggers() & QAbstractItemView::AnyKeyPressed))
        return false;
    const QModelIndex current = view->currentIndex();
    if (!current.isValid() || !(current.flags() & Qt::ItemIsEditable) || view->indexWidget(current))
        return false;
    view->edit(current);
    QWidget *editor = view->indexWidget(current);
    if (!editor)
        return false;
    if (auto *line = qobject_cast<QLineEdit *>(editor->focusProxy() ? editor->focusProxy() : editor))
        line->clear(); // typing over a cell replaces it
    return true;
}

void InstallTypingOpensEditor()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return;
    // Lives as long as the application, which removes its filters when it goes.
    static TypingFilter filter(x11->display());
    qApp->installNativeEventFilter(&filter);
}
