// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "databaseengine.h"

// A database on a PostgreSQL server through Qt's QPSQL driver: several PCs on one ledger.
class PostgresEngine final : public DatabaseEngine
{
public:
    QString driverName() const override;
    bool open(QSqlDatabase &db, const ConnectionSettings &settings, bool exclusive, Database::Access access) override;
    bool createLedger(const ConnectionSettings &settings, QString *errorText) override;
    SqlError classify(const QSqlError &error, const SqlStatement &statement) const override;
    bool returnsKey(QString &sql) const override;
    // The driver would ask the server for lastval(), an error that aborts an open transaction.
    bool hasLastInsertId() const override { return false; }
    bool prepares(const SqlStatement &statement) const override;
    SqlError forEachRow(Database &db, const SqlStatement &statement,
                        const std::function<void(const Database::RowView &)> &row) override;
    SqlError execEach(Database &db, SqlStatement statement, qsizetype rows,
                      const std::function<void(qsizetype row, SqlStatement &values)> &bindRow) override;
    std::unique_ptr<Database::RowWriter::Engine> rowWriter(Database &db, const QString &sql) override;
    QString integrityCheck(Database &db) override;
    bool setSecureDelete(Database &db, bool on) override;
    QStringList beginSql(const QString &name, int depth) const override;
    QStringList releaseSql(const QString &name, int depth) const override;
    QStringList rollbackSql(const QString &name, int depth) const override;
    QString probeSql() const override;
};
