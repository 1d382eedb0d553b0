// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QRect;
class QTableView;
class QWidget;

// Windows that read whole on any screen the shop has, from 1024x768 up.

// The width window needs for its title to read whole in the window manager's title bar, beside
// the bar's icon and its three buttons. Worked out in the bold window font, as title bars use.
int TitleWidth(const QWidget *window);

// The size and place window gets when it is shown on a screen whose free area is available:
// no larger than that area (less the window frame), at least as wide as its title where the
// area allows, and kept inside the area. A maximized or full-screen window is left as it is.
QRect FittedGeometry(const QWidget *window, const QRect &available);
// Applies FittedGeometry for window's screen.
void FitWindow(QWidget *window);

// Installed once on the application: every top-level window is fitted each time it is shown,
// after the size and place it chose for itself (saved layouts included) are set.
void InstallWindowFit();

// Widens grid's window until grid shows every column without a horizontal scroll bar, as far as
// the screen allows; never narrows it.
void WidenToColumns(QTableView *grid);
