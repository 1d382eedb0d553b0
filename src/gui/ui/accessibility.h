// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Two places where Qt's accessibility tree falls short of what screen readers and end-to-end
// tests read, mended for the whole program once this is installed:
// - On Linux Qt names a combo box after its current item and leaves its label to a relation,
//   so a reader says "판매처" where the box chooses the client side. A combo box that carries
//   an accessible name is named by it and reports its item as its value.
// - Qt leaves popup windows out of the application's children, so an open menu (the grid
//   menu) cannot be found from the top of the tree. The application lists the open popups
//   after its windows.
void installAccessibility();
