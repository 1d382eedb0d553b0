// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct SqlStatement;
class Database;
class UserPrompt;

// Asks "name을(를) 정말 삭제하시겠습니까?" (No by default), then runs the delete; true when a row
// went. A failure or a delete that found nothing is reported.
bool askAndDelete(Database &db, UserPrompt &prompt, const QString &name, const SqlStatement &deletion);
