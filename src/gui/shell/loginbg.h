// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The optional background picture of the login window (Image/loginbg.jpg of the program
// folder); without the file the window keeps its plain background.
bool LoadLoginBG(QWidget *form);
