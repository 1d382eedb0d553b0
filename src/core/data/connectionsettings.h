// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "sqldialect.h"

// Where a ledger lives: a file of the embedded engine, or a database on a PostgreSQL server.
struct ConnectionSettings
{
    SqlDialect::Engine engine = SqlDialect::Engine::Sqlite;
    QString path; // the ledger file
    QString host; // a name, an address or the folder of a unix socket
    int port = 5432;
    QString database;
    QString user;
    QString password;
    // The schema holding the ledger's tables on the server; empty for the user's default.
    QString schema;

    static ConnectionSettings file(const QString &path);
    // libpq's "host=… port=… dbname=… user=… password=…" (with "schema=…" besides) names a
    // server ledger; any other text is a file path.
    static ConnectionSettings parse(const QString &text);
    bool isServer() const { return engine == SqlDialect::Engine::Postgres; }
    // The file path, or user@host:port/database[.schema], for messages.
    QString display() const;
};
