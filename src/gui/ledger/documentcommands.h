// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;
class LedgerModel;
class QTableView;
class QWidget;
class SafetyCommandHost;
class UserPrompt;

// The 도구 menu's entries of the papers: 사업자 정보 and 세금계산서 자료, their windows owned by
// window; and what a customer's voucher line of the client ledger opens, that day's 거래명세표.
void addDocumentCommands(QWidget &window, SafetyCommandHost &host, Database &db, UserPrompt &prompt);
// The grid menu's 거래명세표: the selected saved rows of grid (over model), all of one customer.
void printStatementOfSelection(QWidget &window, const QTableView &grid, const LedgerModel &model, Database &db,
                               UserPrompt &prompt, const QString &reportFolder);
QString statementMenuItem();
// The grid menu's day statement: every voucher sold to the active row's customer on its sale date.
void printDayStatementOfRow(QWidget &window, const QTableView &grid, const LedgerModel &model, Database &db,
                            UserPrompt &prompt, const QString &reportFolder);
QString dayStatementMenuItem();
