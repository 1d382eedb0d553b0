// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "databaseengine.h"

// The embedded engine: one file through Qt's QSQLITE driver, its fast paths straight through
// SQLite's own handle.
class SqliteEngine final : public DatabaseEngine
{
public:
    QString driverName() const override;
    bool open(QSqlDatabase &db, const ConnectionSettings &settings, bool exclusive, Database::Access access) override;
    bool createLedger(const ConnectionSettings &settings, QString *errorText) override;
    SqlError classify(const QSqlError &error, const SqlStatement &statement) const override;
    SqlError forEachRow(Database &db, const SqlStatement &statement,
                        const std::function<void(const Database::RowView &)> &row) override;
    SqlError execEach(Database &db, SqlStatement statement, qsizetype rows,
                      const std::function<void(qsizetype row, SqlStatement &values)> &bindRow) override;
    std::unique_ptr<Database::RowWriter::Engine> rowWriter(Database &db, const QString &sql) override;
    QString integrityCheck(Database &db) override;
    bool setSecureDelete(Database &db, bool on) override;
    QString probeSql() const override;
};
