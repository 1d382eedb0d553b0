// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QByteArrayView>
#include <QString>

#include "sqlstatement.h"

struct sqlite3;
struct sqlite3_stmt;

// One named connection on one database file. Everything that is particular to SQLite (open
// options, pragmas, error codes, creating a file) stays inside this class, so that a server
// database can take its place later.
class Database final
{
public:
    // Load: a new file that nobody sees until it is whole. Its rollback journal stays in memory
    // and nothing is synced while it fills; the loader calls syncToDisk() before showing it.
    enum class Access { ReadWrite, ReadOnly, Load };

    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing file; false, silently, when it is missing or cannot be opened. A file
    // that is not a database still opens: its first statement reports the damage.
    bool open(const QString &path, bool exclusive = false, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    QSqlDatabase connection() const;

    // Puts a closed file's bytes, or a folder's entries (after a rename), on disk; the system's
    // reason when that failed.
    static QString syncToDisk(const QString &path);

    // A new ledger file with every table and no rows. Refuses to touch an existing file. On a
    // failure errorText names the folder and the system's or the engine's reason.
    static bool createLedger(const QString &path, QString *errorText);

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
    // The error of a statement, classified for the boxes the user sees.
    SqlError errorOf(const QSqlError &error, const SqlStatement &statement) const;

    // One row of a streamed result; valid only inside the callback.
    class RowView
    {
    public:
        explicit RowView(void *statement) : m_stmt(statement) {}
        bool isNull(int column) const;
        qint64 integer(int column) const;
        QString text(int column) const;
        // The text's bytes without a copy, valid until the next row.
        QByteArrayView utf8(int column) const;

    private:
        void *m_stmt;
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
        bool isValid() const { return m_stmt != nullptr; }
        void bindNull(int i);
        void bindInteger(int i, qint64 value);
        void bindText(int i, QByteArrayView utf8);
        // Writes the row and clears the bindings; false with error() set.
        bool step();
        QString error() const { return m_error; }

    private:
        void *m_db = nullptr;
        void *m_stmt = nullptr;
        QString m_error;
    };

    // Fields of a table as the file declares them: name and declared type.
    QList<QPair<QString, QString>> columns(const QString &table);
    bool hasTable(const QString &table);
    // Reads the file's catalogue: an error when the ledger cannot be read at all.
    SqlError probe();
    // Pages freed by later writes are overwritten, so a replaced secret leaves no trace in the file.
    bool setSecureDelete(bool on);
    // A consistent copy of the open file through the engine's online backup, taken while the
    // program keeps running and writing; written under a temporary name and renamed only when
    // whole, so a failed copy never looks like a backup. An existing target is refused.
    SqlError backupTo(const QString &target);
    // PRAGMA integrity_check: "ok", or the engine's findings (or its error) as text.
    QString integrityCheck();

private:
    // The engine's handle and statement for the fast paths; an error when there is none.
    SqlError prepareRaw(const SqlStatement &statement, sqlite3 *&db, sqlite3_stmt *&stmt);
    // The engine's own handle under the driver; null when there is none.
    void *engineHandle() const;

    QString m_name;
    QString m_path;
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
