// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// The family the printed ledger is set in, NanumBarunGothic, which the program carries inside
// itself (regular and bold, with its licence). The first call registers it with the font
// database, so that a print never depends on the fonts the machine has; later calls only
// answer. Needs a QGuiApplication.
QString reportFontFamily();

// A printed report's font in the painter's own unit: points at unitsPerPoint units each, as a
// pixel size, so the text is the same size whatever the device's dpi, and without hinting, so
// the widths are the same at every scale. family empty: the carried font, which is registered
// even when the layout names another, so that Hangul the other lacks still finds a face.
QFont reportUnitFont(const QString &family, double points, double unitsPerPoint, bool bold);
