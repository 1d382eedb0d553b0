// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlQuery>
#include <QStringList>

#include "core/base/notice.h"
#include "database.h"
#include "sqlstatement.h"

// Runs a query; a failure comes back as the one box its kind calls for, with the statement shown
// under the message. The caller's flow shows it and stops.
Fallible<QSqlQuery> OpenRS(Database &db, const SqlStatement &sql);
// The same for a query whose rows the caller goes on to change.
Fallible<QSqlQuery> OpenRSEdit(Database &db, const SqlStatement &sql);
// Releases a result early; harmless on an empty one.
void CloseObj(std::optional<QSqlQuery> &rs);
void CloseObj(Fallible<QSqlQuery> &rs);
// The first column of every row as text ("" for Null).
Fallible<QStringList> OpenRSTexts(Database &db, const SqlStatement &sql);
// The number of rows of table that meet condition (a WHERE clause with its values bound).
Fallible<qint64> OpenRSCount(Database &db, const QString &table, const SqlStatement &condition);
// Runs a change of one row: the box of a failure, or the information box nothingChanged when the
// statement found no row.
std::optional<Notice> changeOne(Database &db, const SqlStatement &change, const QString &nothingChanged);
// The same for a delete, with its box "삭제중 오류가 발생하였습니다.".
std::optional<Notice> deleteOne(Database &db, const SqlStatement &deletion);
// The box OpenRS returns for an error.
Notice queryError(const SqlError &error);
