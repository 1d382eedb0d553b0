// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// An item view that starts editing when typed over must have its editor open before the input
// method sees the first key. Otherwise the view receives the first composition, the editor
// takes the focus, and the input method (which commits to the old focus and resets on a focus
// change) drops the syllable under way: 2-beolsik "rlawlstn" became "ㅣㅁ진수" instead of
// 김진수. On X11 the key presses are watched ahead of the input method for this; elsewhere the
// views' own handling of a composition that starts an edit remains.
void InstallTypingOpensEditor();

// Opens the editor of focus's current cell, emptied, when focus is an item view that starts
// editing on any key and is not editing yet. True when an editor was opened.
bool openEditorForTyping(QWidget *focus);
