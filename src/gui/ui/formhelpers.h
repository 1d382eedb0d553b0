// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;
class UserPrompt;

// The form input helpers. Key codes are Qt::Key values (Qt::Key_Return and
// Qt::Key_Enter stand for VB's 13, Qt::Key_Down for 40, Qt::Key_Up for 38). Where a routine
// works on "the active control", a null widget means QApplication::focusWidget().
// Focus moves go straight to the next or previous control of the window's tab order
// (visible, enabled, accepting Tab focus) instead of injecting Tab keystrokes.

// Gives a control its objectName and its accessible name (the Korean label screen readers read).
template<typename W>
W *named(W *control, const QString &objectName, const QString &accessibleName)
{
    control->setObjectName(objectName);
    control->setAccessibleName(accessibleName);
    return control;
}

// Enter and Down move the focus to the next control, Up to the previous one; any other key
// does nothing. True when the focus was moved, so that a key handler can swallow the key.
bool KeyToTab(int key, QWidget *from = nullptr);
// 0 moves to the next control, 1 to the previous one, any other value does nothing.
bool MoveFocus(int direction, QWidget *from = nullptr);
// The next (or previous) control of from's window in tab order; null when there is none.
QWidget *nextInTabOrder(QWidget *from, bool forward);

// Selects the whole text of control (line edit, editable combo box, spin box, text edit).
// A line edit with an input mask (the masked edit box) is selected only when it holds text.
// The selection is made once the event loop runs again, so that calling it from a focus-in
// handler survives the mouse press that gave the focus. Anything else is ignored.
void SelectAllText(QWidget *control = nullptr);

// Hangul (on) or Latin letters (off) for control's input method, through Qt's input-method
// hints; where the platform offers no such switch nothing happens.
void SetHangulMode(bool on, QWidget *control = nullptr);

// Moves the top-level window form next to anchor: horizontal 0 left edges
// aligned, 1 right edges aligned, 2 centred, anything else left 0; vertical 4 above the
// anchor, anything else below it. An item view anchors with its current cell (the cell being
// edited) while that cell is in view. Worked out in twips of the anchor's screen; a form that
// would leave the screen goes to the other side of the anchor where it fits there, and is
// then kept on that screen. Call it after the form has its final size.
void PlaceForm(QWidget *form, const QWidget *anchor, int horizontal, int vertical);

// True when control is empty (its text is empty, or "0" with zeroIsEmpty): then the box
// "[caption]은(는) 필수 입력 사항입니다." (or the captionless text) titled "필수입력" is shown and
// the control gets the focus if it is visible and enabled. False, silently, otherwise.
bool CheckRequired(QWidget *control, const QString &caption, bool zeroIsEmpty, UserPrompt &prompt);
// The text CheckRequired looks at: line edit, combo box, spin box, text edits, labels, buttons.
QString controlText(const QWidget *control);

// Buttons in every window of the program, installed once on the application: an accelerator
// (Alt+letter) first moves the focus to its button, so that the field it leaves does all its
// leave-the-field work (formats a phone number, commits a cell edit) before the button acts.
// Enter on a focused button presses it; on a check box it moves on, as in the fields, unless
// a default button takes it.
void InstallButtonKeys();

// Opens path with the desktop's associated program. False when none could be started.
bool OpenFile(QWidget *form, const QString &path);
