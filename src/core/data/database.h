// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include "sqlstatement.h"

// One named connection on one database file. Everything that is particular to SQLite (open
// options, pragmas, error codes, creating a file) stays inside this class, so that a server
// database can take its place later.
class Database final
{
public:
    enum class Access { ReadWrite, ReadOnly };

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
    Result exec(const SqlStatement &statement) const;
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

    private:
        void *m_stmt;
    };
    // Steps a query straight through the engine, without a QVariant per value: the fast path
    // for filling large grids. Same error classification as exec().
    SqlError forEachRow(const SqlStatement &statement, const std::function<void(const RowView &)> &row) const;

    bool transaction();
    bool commit();
    bool rollback();

    // Fields of a table as the file declares them: name and declared type.
    QList<QPair<QString, QString>> columns(const QString &table) const;
    bool hasTable(const QString &table) const;

private:
    QString m_name;
    QString m_path;
};

// Rolls back unless commit() was called.
class TransactionGuard final
{
public:
    explicit TransactionGuard(Database &db) : m_db(db), m_active(db.transaction()) {}
    ~TransactionGuard()
    {
        if (m_active)
            m_db.rollback();
    }
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;
    bool active() const { return m_active; }
    bool commit()
    {
        if (!m_active)
            return false;
        m_active = false;
        return m_db.commit();
    }

private:
    Database &m_db;
    bool m_active;
};
