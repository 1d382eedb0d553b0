// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordset.h"


Notice queryError(const SqlError &error)
{
    const QString cr(QChar(13));
    switch (error.kind) {
    case SqlError::Kind::None:
        break;
    case SqlError::Kind::NoDatabase:
    case SqlError::Kind::Busy:
        return Notice::info(error.text + cr + error.statement, QStringLiteral("MDB 오류"));
    case SqlError::Kind::NoObject:
        return Notice::info(QStringLiteral("Jet Data Base Engine의 식을 확인하세요.") + cr + error.statement,
                            QStringLiteral("Query"));
    case SqlError::Kind::TooLong:
    case SqlError::Kind::Duplicate:
    case SqlError::Kind::Other:
        return Notice::info(error.text + cr + error.statement, QStringLiteral("ERROR"));
    }
    return {};
}

Fallible<QSqlQuery> OpenRS(Database &db, const SqlStatement &sql)
{
    Database::Result r = db.exec(sql);
    if (!r.ok())
        return queryError(r.error);
    return std::move(r.query);
}

Fallible<QSqlQuery> OpenRSEdit(Database &db, const SqlStatement &sql)
{
    return OpenRS(db, sql);
}

void CloseObj(std::optional<QSqlQuery> &rs)
{
    if (rs) {
        rs->finish();
        rs.reset();
    }
}

void CloseObj(Fallible<QSqlQuery> &rs)
{
    CloseObj(rs.value());
}

std::optional<Notice> changeOne(Database &db, const SqlStatement &change, const QString &nothingChanged)
{
    const Database::Result r = db.exec(change);
    if (!r.ok())
        return queryError(r.error);
    if (r.rowsAffected < 1)
        return Notice::info(nothingChanged);
    return std::nullopt;
}

std::optional<Notice> deleteOne(Database &db, const SqlStatement &deletion)
{
    return changeOne(db, deletion, QStringLiteral("삭제중 오류가 발생하였습니다."));
}

Fallible<QStringList> OpenRSTexts(Database &db, const SqlStatement &sql)
{
    auto rs = OpenRS(db, sql);
    if (!rs)
        return rs.failure();
    QStringList out;
    while (rs->next())
        out << (rs->value(0).isNull() ? QString() : rs->value(0).toString());
    CloseObj(rs);
    return out;
}

Fallible<qint64> OpenRSCount(Database &db, const QString &table, const SqlStatement &condition)
{
    SqlStatement st(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE ") + condition.text);
    st.binds = condition.binds;
    auto rs = OpenRS(db, st);
    if (!rs)
        return rs.failure();
    const qint64 n = rs->next() ? rs->value(0).toLongLong() : 0;
    CloseObj(rs);
    return n;
}
