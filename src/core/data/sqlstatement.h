// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class SqlDialect;

// A statement with named placeholders and the values bound to them. Values never enter the
// SQL text; display() writes them in only for the user's eyes.
struct SqlStatement
{
    QString text;
    QList<QPair<QString, QVariant>> binds; // placeholder without ':' and its value
    // Target table of an INSERT or UPDATE: binds named after its sized text fields are checked
    // against the field size before anything is written.
    QString table;

    SqlStatement() = default;
    SqlStatement(QString sql) : text(std::move(sql)) {} // NOLINT: a plain text is a statement
    SqlStatement &bind(const QString &name, const QVariant &value)
    {
        binds.append({name, value});
        return *this;
    }
    SqlStatement &into(const QString &tableName)
    {
        table = tableName;
        return *this;
    }
    // Appends " WHERE field contains word": anywhere in the field, ignoring (ASCII) letter case
    // as the NOCASE columns do, every character taken literally, and of any length (the engine
    // refuses a LIKE pattern beyond 50,000 bytes).
    SqlStatement &whereContains(const SqlDialect &dialect, const QString &field, const QString &word);
    QString display() const;
};

// An engine failure as the caller sees it.
struct SqlError
{
    // Duplicate: a unique key of the row is taken already (by another PC's row, on a server).
    enum class Kind { None, NoDatabase, NoObject, Busy, TooLong, Duplicate, Other };
    Kind kind = Kind::None;
    int code = 0;       // SQLite's native code; on the server the Jet number of its case
    QString text;       // the engine's description
    QString statement;  // what ran, values written in

    bool isError() const { return kind != Kind::None; }
    // No ledger is open: VB's error 91 with its text, as the boxes show it.
    static SqlError noDatabase(const SqlStatement &statement);
    // The server connection went away under the statement: the 91 box, saying so. The statement
    // may or may not have run on the server.
    static SqlError connectionLost(const SqlStatement &statement, const QString &reason);
    // The server could not be reached again before the statement; it did not run.
    static SqlError reconnectFailed(const SqlStatement &statement, const QString &reason);
};
