// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;
class UserPrompt;
class frmMain;

// The 도구 menu's entries of the papers: 사업자 정보 and 세금계산서 자료.
void addDocumentCommands(frmMain &window, Database &db, UserPrompt &prompt);
// The grid menu's 거래명세표: the selected saved rows, all of one customer.
void printStatementOfSelection(frmMain &window, Database &db, UserPrompt &prompt);
QString statementMenuItem();
