// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;
class QWidget;

// The combo box helpers (modComboBox) for the group boxes. Key codes are Qt::Key values; a
// null widget means QApplication::focusWidget().

// Opens control's list if control is a combo box (or a combo box's line edit); anything
// else is ignored silently. The list opens once the event loop runs again, so the call fits a
// focus-in handler (skip it when the focus came back from the list itself, reason
// Qt::PopupFocusReason).
void CmbShowList(QWidget *control = nullptr);

// Drop-down width and list height in twips: the open list gets widthTwips as its minimum
// width and shows as many items as fit into heightTwips.
void CmbSetSize(QComboBox *combo, int widthTwips, int heightTwips);

// Enter or Right moves the focus to the next control, Left to the previous one; every other
// key (Up and Down browse the list) is left alone. True when the focus moved.
bool CmbKeyMove(int key, QWidget *from = nullptr);

// Enter in combo's open list picks the highlighted item, closes the list and moves the focus
// on, as Enter does in the closed box. The list opens on the item the box shows, or on none
// when the box holds a text that is no item, and Enter then keeps that text; in an editable
// box typing goes on into the box while its list is open. Install once per box.
void CmbFollowListEnter(QComboBox *combo);

// Everything for a box whose window has no key handling of its own: CmbShowList on focus,
// CmbKeyMove on keys and CmbFollowListEnter.
void CmbInstall(QComboBox *combo);
