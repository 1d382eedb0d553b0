// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>
#include <optional>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QByteArrayView>
#include <QString>

#include "connectionsettings.h"
#include "sqldialect.h"
#include "sqlstatement.h"

class DatabaseEngine;

// One named connection on one ledger: a SQLite file or a database on a PostgreSQL server.
// What is particular to an engine (open options, error codes, creating a ledger, the fast
// paths) lives behind DatabaseEngine; the SQL that differs comes from dialect(). Everything
// else runs the same statements on both.
class Database final
{
public:
    // Load: a new file that nobody sees until it is whole. Its rollback journal stays in memory
    // and nothing is synced while it fills; the loader calls syncToDisk() before showing it.
    // LoadTyped: the same, by a loader that binds every whole-number field as a whole number
    // itself, so the fields' type checks are not run again for each row.
    enum class Access { ReadWrite, ReadOnly, Load, LoadTyped };

    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing file; false, silently, when it is missing or cannot be opened. A file
    // that is not a database still opens: its first statement reports the damage.
    bool open(const QString &path, bool exclusive = false, Access access = Access::ReadWrite);
    // Opens the ledger the settings name, a file or a server database; false, silently, when
    // the file is missing or the server cannot be reached or refuses the login.
    bool open(const ConnectionSettings &settings, bool exclusive = false, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const;
    // Opened and not closed, but the connection is gone (a server that went away or restarted):
    // the next statement opens it again with the same settings.
    bool isLost() const;
    // The file, or the server ledger as display() names it.
    QString path() const { return m_path; }
    const ConnectionSettings &settings() const { return m_settings; }
    const SqlDialect &dialect() const { return m_dialect; }
    QSqlDatabase connection() const;

    // Puts a closed file's bytes, or a folder's entries (after a rename), on disk; the system's
    // reason when that failed.
    static QString syncToDisk(const QString &path);

    // A new ledger file with every table and no rows. Refuses to touch an existing file. On a
    // failure errorText names the folder and the system's or the engine's reason.
    static bool createLedger(const QString &path, QString *errorText);
    // The same on either engine; on a server, the ledger's tables in a database (and schema)
    // that has none of them yet.
    static bool createLedger(const ConnectionSettings &settings, QString *errorText);

    struct Result
    {
        QSqlQuery query;
        SqlError error;
        int rowsAffected = 0;
        qint64 lastInsertId = 0;
        bool ok() const { return !error.isError(); }
    };
    // Prepares, binds and runs one statement. Text bound to a sized field of the statement's
    // table is checked against that size first, and refused whole when too long.
    // On a handle that is not open the error is the 91 box's (SqlError::noDatabase).
    Result exec(const SqlStatement &statement);
    // The error of a statement, classified for the boxes the user sees. A server connection
    // found lost is opened again before the next statement, never for this one: a write whose
    // answer was lost may have been done.
    SqlError errorOf(const QSqlError &error, const SqlStatement &statement);

    // One row of a streamed result; valid only inside the callback.
    class RowView
    {
    public:
        virtual bool isNull(int column) const = 0;
        virtual qint64 integer(int column) const = 0;
        virtual QString text(int column) const = 0;
        // The text's bytes, valid until the next row (without a copy where the engine can).
        virtual QByteArrayView utf8(int column) const = 0;

    protected:
        RowView() = default;
        virtual ~RowView() = default;
        RowView(const RowView &) = default;
        RowView &operator=(const RowView &) = default;
    };
    // Steps a query straight through the engine, without a QVariant per value: the fast path
    // for filling large grids. Same error classification as exec().
    SqlError forEachRow(const SqlStatement &statement, const std::function<void(const RowView &)> &row);
    // Runs one statement once per row, prepared once: the fast path for writing many rows.
    // bindRow binds row's values by name into values; each row's text is checked against the
    // field sizes as exec() checks it. Stops at the first error and returns it.
    SqlError execEach(SqlStatement statement, qsizetype rows,
                      const std::function<void(qsizetype row, SqlStatement &values)> &bindRow);

    // One statement run again and again with new values straight through the engine: the fast
    // path for writing many rows. Values are bound by the position of their placeholder, from 0
    // in the order the placeholders first appear; a text must stay valid until step() returns.
    class RowWriter
    {
    public:
        RowWriter(Database &db, const QString &sql);
        ~RowWriter();
        RowWriter(const RowWriter &) = delete;
        RowWriter &operator=(const RowWriter &) = delete;
        bool isValid() const;
        void bindNull(int i);
        void bindInteger(int i, qint64 value);
        void bindText(int i, QByteArrayView utf8);
        // Writes the row and clears the bindings; false with error() set.
        bool step();
        QString error() const;

        // What an engine implements.
        class Engine
        {
        public:
            virtual ~Engine() = default;
            virtual bool isValid() const = 0;
            virtual void bindNull(int i) = 0;
            virtual void bindInteger(int i, qint64 value) = 0;
            virtual void bindText(int i, QByteArrayView utf8) = 0;
            virtual bool step() = 0;
            virtual QString error() const = 0;
        };

    private:
        std::unique_ptr<Engine> m_engine;
    };

    // Fields of a table as the ledger declares them: name and declared type.
    QList<QPair<QString, QString>> columns(const QString &table);
    bool hasTable(const QString &table);
    // Reads the ledger's catalogue: an error when the ledger cannot be read at all.
    SqlError probe();
    // The version of the layout recorded in the ledger (Schema::Version); 0 for a ledger of a
    // program that recorded none, nullopt when it cannot be read.
    std::optional<int> schemaVersion();
    SqlError setSchemaVersion(int version);
    // Pages freed by later writes are overwritten, so a replaced secret leaves no trace in the file.
    bool setSecureDelete(bool on);
    // The engine's own check of the ledger: "ok", or its findings (or its error) as text.
    QString integrityCheck();

    // Text bound to a sized field of the statement's table that is longer than the field, or
    // a text no engine can store as typed: the error, before anything is written.
    static SqlError sizeError(const SqlStatement &statement);

    // Called after a lost server connection was opened again, for what the old connection
    // held (the channels it listened on); one function per owner, replaced or dropped by it.
    void setOnReconnect(const void *owner, std::function<void()> reconnected);
    void dropOnReconnect(const void *owner);

private:
    friend class TransactionGuard;
    // Runs the engine's statements of a transaction step; false at the first that fails.
    SqlError execAll(const QStringList &sql);
    // Opens a lost server connection again with the settings it was opened with; the 91 error
    // when that failed, and the statement is not run.
    SqlError reconnectIfLost(const SqlStatement &statement);

    QString m_name;
    QString m_path;
    ConnectionSettings m_settings;
    SqlDialect m_dialect;
    std::unique_ptr<DatabaseEngine> m_engine;
    int m_savepoints = 0; // open TransactionGuards, outermost first
    std::vector<std::pair<const void *, std::function<void()>>> m_onReconnect;
    bool m_exclusive = false;
    Access m_access = Access::ReadWrite;
};

// Makes the statements run between its making and commit() one change: rolled back unless
// committed. It is a savepoint, so it nests: inside an open transaction (or another guard) it
// undoes only its own part.
class TransactionGuard final
{
public:
    explicit TransactionGuard(Database &db, const QString &name = QStringLiteral("solbitsem"));
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;
    bool active() const { return m_active; }
    // Keeps the changes; the engine's error when that failed or the guard never began.
    SqlError commit();

private:
    Database &m_db;
    QString m_name;
    bool m_active = false;
};
