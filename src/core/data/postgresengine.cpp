// SPDX-License-Identifier: GPL-3.0-or-later
#include "postgresengine.h"

#include <vector>

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include "schema.h"

namespace {

QString engineText(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText().trimmed();
}

QString quoted(const QString &name)
{
    QString s = name;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// Where the ledger's tables are looked for; public stays behind it for the citext type.
QString searchPathSql(const QString &schema)
{
    return QStringLiteral("SET search_path TO ") + quoted(schema) + QStringLiteral(", public");
}

void configure(QSqlDatabase &db, const ConnectionSettings &s)
{
    db.setHostName(s.host);
    db.setPort(s.port);
    db.setDatabaseName(s.database);
    db.setUserName(s.user);
    db.setPassword(s.password);
    // A server that does not answer is reported within seconds, not after the system's minutes:
    // at the connection, and on a network gone quiet under an open one (the idle check's
    // question would otherwise wait for the system's retransmissions).
    db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=solbitsem;keepalives=1;keepalives_idle=30;"
                                        "keepalives_interval=5;keepalives_count=3;tcp_user_timeout=15000"));
}

// A row of a query the driver steps through one result at a time.
class QueryRow final : public Database::RowView
{
public:
    explicit QueryRow(QSqlQuery &query) : m_query(query) {}
    bool isNull(int column) const override { return m_query.isNull(column); }
    qint64 integer(int column) const override { return m_query.value(column).toLongLong(); }
    QString text(int column) const override { return m_query.value(column).toString(); }
    QByteArrayView utf8(int column) const override
    {
        if (m_bytes.size() <= static_cast<size_t>(column))
            m_bytes.resize(static_cast<size_t>(column) + 1);
        QByteArray &b = m_bytes[static_cast<size_t>(column)];
        if (m_query.isNull(column))
            return {};
        b = m_query.value(column).toString().toUtf8();
        return b;
    }

private:
    QSqlQuery &m_query;
    mutable std::vector<QByteArray> m_bytes;
};

class QueryWriter final : public Database::RowWriter::Engine
{
public:
    QueryWriter(Database &db, const QString &sql) : m_query(db.connection())
    {
        if (!db.isOpen())
            m_error = QStringLiteral("no engine handle");
        else if (!m_query.prepare(sql))
            m_error = engineText(m_query.lastError());
        else
            m_valid = true;
    }
    bool isValid() const override { return m_valid; }
    void bindNull(int i) override { m_query.bindValue(i, QVariant(QMetaType::fromType<qint64>())); }
    void bindInteger(int i, qint64 value) override { m_query.bindValue(i, value); }
    void bindText(int i, QByteArrayView utf8) override { m_query.bindValue(i, QString::fromUtf8(utf8)); }
    bool step() override
    {
        if (m_query.exec())
            return true;
        m_error = engineText(m_query.lastError());
        return false;
    }
    QString error() const override { return m_error; }

private:
    QSqlQuery m_query;
    bool m_valid = false;
    QString m_error;
};

// Lost or refused connections (SQLSTATE class 08, an administrator's shutdown).
bool isRefused(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    return error.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08"))
           || state.startsWith(QLatin1String("57P"));
}

// Jet's "ODBC--call failed": a server's error of no case the boxes tell apart.
constexpr int ServerError = 3146;

} // namespace

QString PostgresEngine::driverName() const
{
    return QStringLiteral("QPSQL");
}

bool PostgresEngine::open(QSqlDatabase &db, const ConnectionSettings &settings, bool, Database::Access access)
{
    // The server has no exclusive opening: other PCs on the same ledger are the point of it.
    configure(db, settings);
    if (!db.open())
        return false;
    QSqlQuery q(db);
    QStringList setup;
    if (!settings.schema.isEmpty())
        setup << searchPathSql(settings.schema);
    // A row another PC holds is waited for as long as SQLite waits for a locked file, then
    // reported as the same lock.
    setup << QStringLiteral("SET lock_timeout = '400ms'");
    if (access == Database::Access::ReadOnly)
        setup << QStringLiteral("SET default_transaction_read_only = on");
    for (const QString &s : setup)
        if (!q.exec(s)) {
            db.close();
            return false;
        }
    return true;
}

bool PostgresEngine::createLedger(const ConnectionSettings &settings, QString *errorText)
{
    QString err;
    const QString name = QStringLiteral("solbitsem-create-") + QString::number(quintptr(this));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driverName(), name);
        configure(db, settings);
        if (!db.open()) {
            err = engineText(db.lastError());
        } else {
            QSqlQuery q(db);
            const auto run = [&](const QString &sql) {
                if (err.isEmpty() && !q.exec(sql))
                    err = engineText(q.lastError());
            };
            // Text fields compare without regard to letter case through citext; a user who may
            // not add extensions finds it added by the database's owner.
            if (!q.exec(QStringLiteral("SELECT 1 FROM pg_type WHERE typname = 'citext'")) || !q.next())
                run(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
            if (!settings.schema.isEmpty()) {
                run(QStringLiteral("CREATE SCHEMA IF NOT EXISTS ") + quoted(settings.schema));
                run(searchPathSql(settings.schema));
            }
            // Case folding must stay ASCII-only, as the file engine's NOCASE, which only the C
            // locale's lower() guarantees.
            if (err.isEmpty() && q.exec(QStringLiteral("SHOW lc_ctype")) && q.next()
                && q.value(0).toString() != QStringLiteral("C") && q.value(0).toString() != QStringLiteral("POSIX"))
                err = QStringLiteral("데이터베이스의 LC_CTYPE이 C가 아닙니다: ") + q.value(0).toString();
            if (err.isEmpty()) {
                SqlStatement exists(SqlDialect(SqlDialect::Engine::Postgres).tablesSql());
                if (q.exec(exists.text) && q.next())
                    err = QStringLiteral("장부의 표가 이미 있습니다.");
            }
            run(QStringLiteral("BEGIN"));
            for (const QString &sql : SqlDialect(SqlDialect::Engine::Postgres).createLedgerSql())
                run(sql);
            if (err.isEmpty())
                run(QStringLiteral("COMMIT"));
            else
                q.exec(QStringLiteral("ROLLBACK"));
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (err.isEmpty())
        return true;
    if (errorText)
        *errorText = QStringLiteral("서버에 장부를 만들 수 없습니다: ") + settings.display() + QStringLiteral("\r\n") + err;
    return false;
}

SqlError PostgresEngine::classify(const QSqlError &error, const SqlStatement &statement) const
{
    const QString state = error.nativeErrorCode();
    // A lost or refused connection means no ledger to talk to, as an unopened one.
    if (isRefused(error))
        return SqlError::connectionLost(statement, engineText(error));
    // The server's cases carry the numbers the boxes know them by; the server's own SQLSTATE
    // stays in the text.
    struct Case
    {
        const char *state;
        SqlError::Kind kind;
        int jet;
    };
    static constexpr Case cases[] = {
        {"42P01", SqlError::Kind::NoObject, 3011},  // undefined table
        {"42703", SqlError::Kind::NoObject, 3011},  // undefined column
        {"55P03", SqlError::Kind::Busy, 3261},      // lock not available
        {"40P01", SqlError::Kind::Busy, 3261},      // deadlock
        {"40001", SqlError::Kind::Busy, 3261},      // serialization failure
        {"23505", SqlError::Kind::Duplicate, 3022}, // unique violation
        {"23502", SqlError::Kind::Other, 3314},     // a required field left empty
        {"23514", SqlError::Kind::Other, 3317},     // a CHECK refused the value
        {"22001", SqlError::Kind::TooLong, 3163},   // text longer than its field
    };
    SqlError e;
    e.text = engineText(error);
    if (!state.isEmpty())
        e.text += QStringLiteral(" (SQLSTATE ") + state + QLatin1Char(')');
    e.statement = statement.display();
    e.kind = SqlError::Kind::Other;
    e.code = ServerError;
    for (const Case &c : cases)
        if (state == QLatin1String(c.state)) {
            e.kind = c.kind;
            e.code = c.jet;
        }
    return e;
}

bool PostgresEngine::returnsKey(QString &sql) const
{
    // The driver's lastInsertId() is an OID, which no ledger table has: the key comes back
    // with the insert itself.
    static const QRegularExpression insert(QStringLiteral(R"re(^\s*INSERT\s+INTO\s+"?(\w+)"?)re"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = insert.match(sql);
    if (!m.hasMatch() || sql.contains(QLatin1String("RETURNING"), Qt::CaseInsensitive))
        return false;
    const Schema::Table *t = Schema::ledgerTable(m.captured(1));
    if (!t)
        return false;
    for (const Schema::Field &f : t->fields)
        if (f.type == Schema::FieldType::Counter) {
            sql += QStringLiteral(" RETURNING ") + quoted(f.name);
            return true;
        }
    return false;
}

bool PostgresEngine::prepares(const SqlStatement &statement) const
{
    // The server prepares only queries and row changes, not BEGIN, SAVEPOINT, SET or DDL; a
    // statement without values has nothing to gain from it.
    return !statement.binds.isEmpty();
}

SqlError PostgresEngine::forEachRow(Database &db, const SqlStatement &statement,
                                    const std::function<void(const Database::RowView &)> &row)
{
    Database::Result r = db.exec(statement);
    if (!r.ok())
        return r.error;
    const QueryRow view(r.query);
    while (r.query.next())
        row(view);
    if (r.query.lastError().isValid())
        return db.errorOf(r.query.lastError(), statement);
    return {};
}

SqlError PostgresEngine::execEach(Database &db, SqlStatement statement, qsizetype rows,
                                  const std::function<void(qsizetype row, SqlStatement &values)> &bindRow)
{
    if (!db.isOpen())
        return SqlError::noDatabase(statement);
    QSqlQuery q(db.connection());
    if (!q.prepare(statement.text))
        return db.errorOf(q.lastError(), statement);
    for (qsizetype row = 0; row < rows; ++row) {
        statement.binds.clear();
        bindRow(row, statement);
        if (const SqlError e = Database::sizeError(statement); e.isError())
            return e;
        for (const auto &[name, value] : statement.binds)
            q.bindValue(QLatin1Char(':') + name, value);
        if (!q.exec())
            return db.errorOf(q.lastError(), statement);
    }
    return {};
}

std::unique_ptr<Database::RowWriter::Engine> PostgresEngine::rowWriter(Database &db, const QString &sql)
{
    return std::make_unique<QueryWriter>(db, sql);
}

QString PostgresEngine::integrityCheck(Database &db)
{
    // The server checks its own pages; what is left to see is that every table of the ledger
    // can be read through.
    for (const Schema::Table &t : Schema::ledgerTables()) {
        const Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT count(*) FROM ") + quoted(t.name)));
        if (!r.ok())
            return r.error.text;
    }
    return QStringLiteral("ok");
}

bool PostgresEngine::setSecureDelete(Database &db, bool)
{
    // A server's files are not handed around like a ledger file; a replaced row's space is the
    // server's to reclaim.
    return db.isOpen();
}

QStringList PostgresEngine::beginSql(const QString &name, int depth) const
{
    // A savepoint needs a transaction around it on the server.
    if (depth == 0)
        return {QStringLiteral("BEGIN")};
    return DatabaseEngine::beginSql(name, depth);
}

QStringList PostgresEngine::releaseSql(const QString &name, int depth) const
{
    if (depth == 0)
        return {QStringLiteral("COMMIT")};
    return DatabaseEngine::releaseSql(name, depth);
}

QStringList PostgresEngine::rollbackSql(const QString &name, int depth) const
{
    if (depth == 0)
        return {QStringLiteral("ROLLBACK")};
    return DatabaseEngine::rollbackSql(name, depth);
}

QString PostgresEngine::probeSql() const
{
    return QStringLiteral("SELECT 1 FROM pg_catalog.pg_class LIMIT 1");
}
