// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QSqlQuery>
#include <QStringList>

#include "database.h"
#include "sqlstatement.h"

class UserPrompt;

// Runs a query and reports a failure itself, in the one box its kind calls for, with the
// statement shown under the message. nullopt after a failure: the caller just stops.
std::optional<QSqlQuery> OpenRS(Database &db, const SqlStatement &sql, UserPrompt &prompt);
// The same for a query whose rows the caller goes on to change.
std::optional<QSqlQuery> OpenRSEdit(Database &db, const SqlStatement &sql, UserPrompt &prompt);
// Releases a result early; harmless on an empty one.
void CloseObj(std::optional<QSqlQuery> &rs);
// The first column of every row as text ("" for Null); nullopt after the failure box.
std::optional<QStringList> OpenRSTexts(Database &db, const SqlStatement &sql, UserPrompt &prompt);
// The number of rows of table that meet condition (a WHERE clause with its values bound);
// nullopt after the failure box.
std::optional<qint64> OpenRSCount(Database &db, const QString &table, const SqlStatement &condition,
                                  UserPrompt &prompt);
// The box OpenRS shows for an error.
void reportQueryError(const SqlError &error, UserPrompt &prompt);
