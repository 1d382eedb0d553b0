// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordset.h"

#include "core/base/userprompt.h"

void reportQueryError(const SqlError &error, UserPrompt &prompt)
{
    const QString cr(QChar(13));
    switch (error.kind) {
    case SqlError::Kind::None:
        return;
    case SqlError::Kind::NoDatabase:
        prompt.MsgInfo(error.text + cr + error.statement, QStringLiteral("MDB 오류"));
        return;
    case SqlError::Kind::NoObject:
        prompt.MsgInfo(QStringLiteral("Jet Data Base Engine의 식을 확인하세요.") + cr + error.statement,
                       QStringLiteral("Query"));
        return;
    case SqlError::Kind::Busy:
        prompt.MsgInfo(error.text + cr + error.statement, QStringLiteral("MDB 오류"));
        return;
    case SqlError::Kind::TooLong:
    case SqlError::Kind::Duplicate:
    case SqlError::Kind::Other:
        prompt.MsgInfo(error.text + cr + error.statement, QStringLiteral("ERROR"));
        return;
    }
}

std::optional<QSqlQuery> OpenRS(Database &db, const SqlStatement &sql, UserPrompt &prompt)
{
    Database::Result r = db.exec(sql);
    if (!r.ok()) {
        reportQueryError(r.error, prompt);
        return std::nullopt;
    }
    return std::move(r.query);
}

std::optional<QSqlQuery> OpenRSEdit(Database &db, const SqlStatement &sql, UserPrompt &prompt)
{
    return OpenRS(db, sql, prompt);
}

void CloseObj(std::optional<QSqlQuery> &rs)
{
    if (rs) {
        rs->finish();
        rs.reset();
    }
}

std::optional<QStringList> OpenRSTexts(Database &db, const SqlStatement &sql, UserPrompt &prompt)
{
    auto rs = OpenRS(db, sql, prompt);
    if (!rs)
        return std::nullopt;
    QStringList out;
    while (rs->next())
        out << (rs->value(0).isNull() ? QString() : rs->value(0).toString());
    CloseObj(rs);
    return out;
}

std::optional<qint64> OpenRSCount(Database &db, const QString &table, const SqlStatement &condition,
                                  UserPrompt &prompt)
{
    SqlStatement st(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE ") + condition.text);
    st.binds = condition.binds;
    auto rs = OpenRS(db, st, prompt);
    if (!rs)
        return std::nullopt;
    const qint64 n = rs->next() ? rs->value(0).toLongLong() : 0;
    CloseObj(rs);
    return n;
}
