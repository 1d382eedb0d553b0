// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QSqlDatabase>
#include <QStringList>

#include "database.h"

class QSqlError;

// What one engine does its own way. Database holds one and runs everything else itself.
class DatabaseEngine
{
public:
    virtual ~DatabaseEngine() = default;
    static std::unique_ptr<DatabaseEngine> make(SqlDialect::Engine engine);

    virtual QString driverName() const = 0;
    // Sets the connection up for the ledger the settings name and opens it.
    virtual bool open(QSqlDatabase &db, const ConnectionSettings &settings, bool exclusive, Database::Access access) = 0;
    virtual bool createLedger(const ConnectionSettings &settings, QString *errorText) = 0;
    // The engine's error, classified for the boxes the user sees.
    virtual SqlError classify(const QSqlError &error, const SqlStatement &statement) const = 0;
    // Statement text as the engine runs it; true when the statement hands back the new row's
    // key. Otherwise the driver's lastInsertId() is asked, unless the engine has none.
    virtual bool returnsKey(QString &sql) const { Q_UNUSED(sql); return false; }
    virtual bool hasLastInsertId() const { return true; }
    // False for a statement run as it is, without preparing it first.
    virtual bool prepares(const SqlStatement &statement) const { Q_UNUSED(statement); return true; }

    virtual SqlError forEachRow(Database &db, const SqlStatement &statement,
                                const std::function<void(const Database::RowView &)> &row) = 0;
    virtual SqlError execEach(Database &db, SqlStatement statement, qsizetype rows,
                              const std::function<void(qsizetype row, SqlStatement &values)> &bindRow) = 0;
    virtual std::unique_ptr<Database::RowWriter::Engine> rowWriter(Database &db, const QString &sql) = 0;
    virtual QString integrityCheck(Database &db) = 0;
    virtual bool setSecureDelete(Database &db, bool on) = 0;

    // The statements that open, keep and undo the savepoint name, depth open ones outside it.
    virtual QStringList beginSql(const QString &name, int depth) const;
    virtual QStringList releaseSql(const QString &name, int depth) const;
    virtual QStringList rollbackSql(const QString &name, int depth) const;
    // A statement that fails only when the ledger cannot be read at all.
    virtual QString probeSql() const = 0;
};
