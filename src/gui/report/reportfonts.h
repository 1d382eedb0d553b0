// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The family the printed ledger is set in, NanumBarunGothic, which the program carries inside
// itself (regular and bold, with its licence). The first call registers it with the font
// database, so that a print never depends on the fonts the machine has; later calls only
// answer. Needs a QGuiApplication.
QString reportFontFamily();
