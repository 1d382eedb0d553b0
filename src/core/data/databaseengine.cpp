// SPDX-License-Identifier: GPL-3.0-or-later
#include "databaseengine.h"

#include "postgresengine.h"
#include "sqliteengine.h"

std::unique_ptr<DatabaseEngine> DatabaseEngine::make(SqlDialect::Engine engine)
{
    if (engine == SqlDialect::Engine::Postgres)
        return std::make_unique<PostgresEngine>();
    return std::make_unique<SqliteEngine>();
}

// A savepoint opens a transaction of its own on SQLite and nests inside any other.
QStringList DatabaseEngine::beginSql(const QString &name, int) const
{
    return {QStringLiteral("SAVEPOINT ") + name};
}

QStringList DatabaseEngine::releaseSql(const QString &name, int) const
{
    return {QStringLiteral("RELEASE ") + name};
}

QStringList DatabaseEngine::rollbackSql(const QString &name, int) const
{
    return {QStringLiteral("ROLLBACK TO ") + name, QStringLiteral("RELEASE ") + name};
}
