// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QPair>
#include <QString>

// Cells of a workbook's first sheet, read back with unzip: reference ("A1") -> (attributes,
// content). xml receives the whole sheet.
QMap<QString, QPair<QString, QString>> sheetCells(const QString &xlsx, QString *xml);
// A cell's number; -1 when it holds none (a text cell, or nothing).
qint64 sheetNumber(const QPair<QString, QString> &cell);
// An inline text cell's text; empty for any other cell.
QString sheetText(const QPair<QString, QString> &cell);
