// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QTableView;
class QWidget;
class UserPrompt;

// The layout routines (modFormIni) over the file format of ui/layoutini.h. A window's file is
// AppFolders::formIniDir()/<objectName>.ini; a grid's sections are named after the grid's
// objectName. Column numbers in the file count from 1 (model column 0 is key "1"); widths
// are in GridUnits characters, row heights and font sizes in points.

// The window's file path; dir overrides the folder (tests), empty means formIniDir().
QString FormIniPath(const QString &windowName, const QString &dir = {});

// Applies the window's file, if any: position and size (twips) first, then the window state
// (so a maximised window keeps its normal rectangle), then every QTableView child whose model
// has more than two columns. What is missing, not numeric or absurd keeps the design value,
// and the window always ends up on a screen.
void LoadFormIni(QWidget *form, const QString &dir = {});
// Applies one grid's sections of file.
void LoadSpreadIni(QTableView *grid, const QString &file);

// Writes the window state and, for a normal window, its position and size; nothing for a
// hidden or minimised window. False when nothing was written or the write failed.
bool SaveFormIni(QWidget *form, const QString &dir = {});
// Writes the current width of model column column (0-based) of a visible grid.
bool SaveSpreadIni_Col(QWidget *form, QTableView *grid, int column, const QString &dir = {});
// Writes one general grid setting ("FontSize" or "RowHeight") as the text typed. A failure
// shows "Error N (…) in procedure SaveSpreadIni_Gn of Module modFormIni" when prompt is given.
bool SaveSpreadIni_Gn(QWidget *form, QTableView *grid, const QString &key, const QString &value,
                      UserPrompt *prompt, const QString &dir = {});
// Deletes the named window's file; a failure shows the "… procedure DelFormIni …" box.
bool DelFormIni(const QString &windowName, UserPrompt *prompt, const QString &dir = {});

// The grid settings LoadSpreadIni and the grid menu share: font size of all cells with the
// header row at 10 points; height of all rows with the header row 2 points taller.
void setGridFontSize(QTableView *grid, double points);
double gridFontSize(const QTableView *grid);
void setGridRowHeight(QTableView *grid, double points);
// The current row height in points, as last set (or measured from the rows).
double gridRowHeight(const QTableView *grid);
// Column width of model column in GridUnits characters, and back.
double gridColumnWidth(const QTableView *grid, int column);
void setGridColumnWidth(QTableView *grid, int column, double chars);
// The columns of grid whose width the user chose: read from its layout file, or dragged since.
QList<int> userSizedColumns(const QTableView *grid);
void markUserSized(QTableView *grid, int column);
