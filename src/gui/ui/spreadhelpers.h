// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDate>
#include <QFlags>
#include <QPoint>
#include <QString>
#include <QStringList>

class QLineEdit;
class QTableView;
class QWidget;
class UserPrompt;

// The grid helpers (module modSpread60) for QTableView over the core models.
// Columns and rows are model coordinates counted from 0; -2 stands for the current cell's
// column or row. Cell types (money, numbers, locking) are set per column through a
// SpreadDelegate (spreaddelegate.h) that these helpers install or reuse.

namespace SpreadColors {
inline QColor lockedBack() { return QColor(225, 225, 225); }
inline QColor oddBack() { return QColor(255, 255, 255); }
inline QColor oddText() { return QColor(0, 0, 0); }
inline QColor evenBack() { return QColor(245, 245, 245); }
inline QColor evenText() { return QColor(0, 0, 0); }
inline QColor selectedBack() { return QColor(254, 254, 186); }
inline QColor dateBoxText() { return QColor(0, 0, 255); }
// The ledger's margin column and the totals row.
inline QColor totalsBack() { return QColor(224, 240, 224); }
} // namespace SpreadColors

// The common set-up. ReadOnly: nothing is editable, one cell (or, with RowMode, one row) is
// selected at a time, no block selection. Otherwise typing into a cell replaces its content.
// HeaderSort: a click on a column header sorts by it (the second click on the same header
// reverses the order) through the model's sort(). ClearRows: a model that can remove rows is
// emptied. Alternating: odd rows white, even rows (245, 245, 245). Selected cells are
// (254, 254, 186) in every case.
enum class SpreadOption { ReadOnly = 0x1, ClearRows = 0x2, HeaderSort = 0x4, RowMode = 0x8, Alternating = 0x10 };
Q_DECLARE_FLAGS(SpreadOptions, SpreadOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(SpreadOptions)
void CommonSpreadDesign(QTableView *grid, SpreadOptions options);

// The cell's display text; empty for an empty cell or a cell outside the grid.
QString GetCellText(const QTableView *grid, int column, int row);

// Money column: whole numbers with thousands separators, no currency symbol, from
// -999,999,999,999 to 999,999,999,999; centred vertically when asked.
void SetMoneyCol(QTableView *grid, int column, bool centreVertically);
// Numeric column accepting whole numbers from minimum to maximum (the ledger's amounts).
void SetNumberCol(QTableView *grid, int column, qint64 minimum, qint64 maximum);
// No cell of the column can be edited; with shade its background is (225, 225, 225).
void LockCol(QTableView *grid, int column, bool shade);
// The column's background, e.g. the ledger's margin column (224, 240, 224).
void SetColBackColor(QTableView *grid, int column, const QColor &color);

// Removes one row (-2: the current row) through the model's removeRows. trim is kept for the
// callers: a model holds no blank rows beyond its data. With notice, the floating notice
// FloatMsg::deleted() shows for 500 ms, modally, in cyan. False when nothing was removed.
bool DeleteRow(QTableView *grid, int row, bool notice, bool trim);

// A one-date box: today as "YYYY-MM-01" (firstOfMonth) or "YYYY-MM-DD", 10 pt bold blue,
// left aligned.
void InitDateBox(QLineEdit *box, bool firstOfMonth, const QDate &today = QDate::currentDate());

// The grid menu of the ledger grid. Item numbers are the menu's own.
namespace GridMenu {
enum Item { Close = 0, RowHeight = 1, FontSize = 2, Reset = 3, Extra = 100 };
QString menuName(); // for screen readers
QString rowHeightItem();
QString fontSizeItem();
QString resetItem();
QString closeItem();
QString rowHeightTitle();
QString rowHeightPrompt();
QString fontSizeTitle();
QString fontSizePrompt();
QString resetQuestion();
QString resetDone();
// The prompts' rule: the text's numeric value (0 for empty or non-numeric text) is 0 or
// from 8 to 20.
bool acceptable(const QString &text);
} // namespace GridMenu

// Shows the menu at globalPos and returns the chosen item (Close when closed without choice).
// A window's own commands, extraItems, come first; the i-th is returned as Extra + i.
int GridMenuChoice(QWidget *window, const QPoint &globalPos, const QStringList &extraItems = {});
// Carries out one item for window's grid: the prompts (asked again outside the range), the
// change, the save under "RowHeight"/"FontSize" (or the reset question, DelFormIni and the
// closing message). formIniDir overrides the layout folder (tests).
void RunGridMenuItem(int item, QWidget *window, QTableView *grid, UserPrompt &prompt,
                     const QString &formIniDir = {});
// Both together, as the grid's right-button release calls it.
void ShowGridMenu(QWidget *window, QTableView *grid, UserPrompt &prompt, const QPoint &globalPos,
                  const QString &formIniDir = {});

// The one-row totals grid t under the ledger grid l: l's column count, l's hidden columns
// hidden and l's widths, read-only, no cell highlighted (also after it loses the focus),
// background (224, 240, 224), and l's row headers at l's width when l shows them. The label
// and the sums come from t's model.
void InitTotalGrid(QTableView *t, QTableView *l);

// The width column needs to show its header and its widest text whole, as the grid draws them
// (rows read up to the header's resize precision); 0 for a hidden column.
int ColumnTextWidth(const QTableView *grid, int column);
// Widens every shown column of grid to ColumnTextWidth, at most to maxWidth pixels (0: a third of
// the screen's width); never narrows a column, so design and saved widths stay where wider.
void FitColumnsToText(QTableView *grid, int maxWidth = 0);
// FitColumnsToText now and whenever the model's rows change, and the window widened to show the
// columns (WidenToColumns) as far as the screen allows. For lists whose widths are not saved.
void KeepColumnsFitted(QTableView *grid, int maxWidth = 0);
