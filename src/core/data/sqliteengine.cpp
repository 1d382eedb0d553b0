// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqliteengine.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include "core/base/ownerfiles.h"

namespace {

constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;

// The engine's own words, without the driver's preface.
QString engineText(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

SqlError classifyCode(int code, const QString &text, const SqlStatement &statement)
{
    SqlError e;
    e.code = code;
    e.text = text;
    e.statement = statement.display();
    const int primary = e.code & 0xff;
    if (primary == SqliteBusy || primary == SqliteLocked)
        e.kind = SqlError::Kind::Busy;
    else if (e.code == SQLITE_CONSTRAINT_UNIQUE || e.code == SQLITE_CONSTRAINT_PRIMARYKEY)
        e.kind = SqlError::Kind::Duplicate;
    else if (e.text.startsWith(QLatin1String("no such table")) || e.text.startsWith(QLatin1String("no such column")))
        e.kind = SqlError::Kind::NoObject;
    else
        e.kind = SqlError::Kind::Other;
    return e;
}

SqlError lastError(sqlite3 *db, const SqlStatement &statement)
{
    return classifyCode(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), statement);
}

// The engine's own handle under the driver; null when there is none.
sqlite3 *handleOf(const Database &db)
{
    if (!db.isOpen())
        return nullptr;
    const QVariant handle = db.connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The engine's handle and statement for the fast paths; an error when there is none.
SqlError prepareRaw(const Database &database, const SqlStatement &statement, sqlite3 *&db, sqlite3_stmt *&stmt)
{
    if (!database.isOpen())
        return SqlError::noDatabase(statement);
    db = handleOf(database);
    if (!db)
        return classifyCode(SQLITE_MISUSE, QStringLiteral("no engine handle"), statement);
    const QByteArray sql = statement.text.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        return lastError(db, statement);
    return {};
}

// Binds every named value; a name the statement does not use is skipped.
void bindAll(sqlite3_stmt *stmt, const SqlStatement &statement)
{
    for (const auto &[name, value] : statement.binds) {
        const int i = sqlite3_bind_parameter_index(stmt, (QLatin1Char(':') + name).toUtf8().constData());
        if (i == 0)
            continue;
        if (value.isNull()) {
            sqlite3_bind_null(stmt, i);
        } else if (value.typeId() == QMetaType::QString) {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(stmt, i, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(stmt, i, value.toLongLong());
        }
    }
}

class StatementRow final : public Database::RowView
{
public:
    explicit StatementRow(sqlite3_stmt *stmt) : m_stmt(stmt) {}
    bool isNull(int column) const override { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }
    qint64 integer(int column) const override { return sqlite3_column_int64(m_stmt, column); }
    QByteArrayView utf8(int column) const override
    {
        const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return data ? QByteArrayView(data, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
    }
    QString text(int column) const override
    {
        const QByteArrayView bytes = utf8(column);
        return bytes.data() ? QString::fromUtf8(bytes) : QString();
    }

private:
    sqlite3_stmt *m_stmt;
};

class StatementWriter final : public Database::RowWriter::Engine
{
public:
    StatementWriter(sqlite3 *db, const QString &sql) : m_db(db)
    {
        if (!db) {
            m_error = QStringLiteral("no engine handle");
            return;
        }
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &m_stmt, nullptr) != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(db));
    }
    ~StatementWriter() override { sqlite3_finalize(m_stmt); }
    StatementWriter(const StatementWriter &) = delete;
    StatementWriter &operator=(const StatementWriter &) = delete;

    bool isValid() const override { return m_stmt != nullptr; }
    void bindNull(int i) override { sqlite3_bind_null(m_stmt, i + 1); }
    void bindInteger(int i, qint64 value) override { sqlite3_bind_int64(m_stmt, i + 1, value); }
    void bindText(int i, QByteArrayView utf8) override
    {
        // A null pointer would store NULL; an empty text stays an empty text.
        sqlite3_bind_text(m_stmt, i + 1, utf8.data() ? utf8.data() : "", static_cast<int>(utf8.size()), SQLITE_STATIC);
    }
    bool step() override
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        if (rc == SQLITE_DONE)
            return true;
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }
    QString error() const override { return m_error; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_error;
};

} // namespace

QString SqliteEngine::driverName() const
{
    return QStringLiteral("QSQLITE");
}

bool SqliteEngine::open(QSqlDatabase &db, const ConnectionSettings &settings, bool exclusive, Database::Access access)
{
    // The driver would create a missing file; a missing ledger must stay missing.
    const QFileInfo info(settings.path);
    if (!info.exists() || !info.isFile())
        return false;
    db.setDatabaseName(info.absoluteFilePath());
    // A lock held by another program is waited for briefly, then reported.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=400");
    if (access == Database::Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        return false;
    QSqlQuery q(db);
    // A commit is on disk when it returns. FULL would delete the rollback journal without syncing
    // the folder, and after a power cut the journal could come back and undo the last commit;
    // EXTRA syncs the folder too. Errors here (a damaged file) surface at the first query.
    if (access == Database::Access::Load || access == Database::Access::LoadTyped) {
        q.exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        if (access == Database::Access::Load) {
            // The index trees of a large fill stay in memory (64 MB at most) rather than going
            // back and forth to the file: a third off a copy of 100,000 vouchers.
            q.exec(QStringLiteral("PRAGMA cache_size=-65536"));
        } else {
            // This loader builds the indexes after the rows. The sorter then works in pieces the
            // size of the cache and sorts them on worker threads while it reads the table on:
            // a tenth to a fifth off the indexes of 1,000,000 vouchers. The field checks cost
            // as much as the insert itself.
            q.exec(QStringLiteral("PRAGMA cache_size=-16384"));
            q.exec(QStringLiteral("PRAGMA threads=4"));
            q.exec(QStringLiteral("PRAGMA ignore_check_constraints=ON"));
        }
    } else {
        q.exec(QStringLiteral("PRAGMA synchronous=EXTRA"));
    }
    if (exclusive)
        q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
    return true;
}

bool SqliteEngine::createLedger(const ConnectionSettings &settings, QString *errorText)
{
    const QFileInfo info(settings.path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    const auto fail = [errorText](const QString &text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    if (info.exists())
        return fail(QStringLiteral("파일이 이미 있습니다: ") + QDir::toNativeSeparators(settings.path));
    if (QString reason; !MakeOwnerFolders(info.absolutePath(), &reason))
        return fail(reason);
    {
        // Made here rather than by the engine, whose "unable to open database file" would hide
        // the system's reason. NewOnly: a file that appeared meanwhile is not touched.
        // The owner's alone: SQLite gives its journals the same mode.
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerFiles::fileMode()))
            return fail(QStringLiteral("폴더에 파일을 만들 수 없습니다: ") + folder + QStringLiteral("\r\n")
                        + file.errorString());
    }
    bool ok = true;
    QString err;
    {
        const QString name = QStringLiteral("solbitsem-create-") + QString::number(quintptr(this));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(driverName(), name);
            db.setDatabaseName(info.absoluteFilePath());
            if (!db.open()) {
                ok = false;
                err = engineText(db.lastError());
            } else {
                QSqlQuery q(db);
                ok = db.transaction();
                for (const QString &s : SqlDialect(SqlDialect::Engine::Sqlite).createLedgerSql()) {
                    if (ok && !q.exec(s)) {
                        ok = false;
                        err = engineText(q.lastError());
                    }
                }
                ok = ok && db.commit();
                if (!ok && err.isEmpty())
                    err = engineText(db.lastError());
                q.finish();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (!ok) {
        QFile::remove(info.absoluteFilePath());
        return fail(QStringLiteral("폴더에 장부를 만들 수 없습니다: ") + folder + QStringLiteral("\r\n") + err);
    }
    return true;
}

SqlError SqliteEngine::classify(const QSqlError &error, const SqlStatement &statement) const
{
    return classifyCode(error.nativeErrorCode().toInt(), engineText(error), statement);
}

SqlError SqliteEngine::forEachRow(Database &database, const SqlStatement &statement,
                                  const std::function<void(const Database::RowView &)> &row)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (const SqlError e = prepareRaw(database, statement, db, stmt); e.isError())
        return e;
    bindAll(stmt, statement);
    const StatementRow view(stmt);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        row(view);
    SqlError e;
    if (rc != SQLITE_DONE)
        e = lastError(db, statement);
    sqlite3_finalize(stmt);
    return e;
}

SqlError SqliteEngine::execEach(Database &database, SqlStatement statement, qsizetype rows,
                                const std::function<void(qsizetype row, SqlStatement &values)> &bindRow)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (const SqlError e = prepareRaw(database, statement, db, stmt); e.isError())
        return e;
    SqlError e;
    for (qsizetype row = 0; row < rows && !e.isError(); ++row) {
        statement.binds.clear();
        bindRow(row, statement);
        e = Database::sizeError(statement);
        if (e.isError())
            break;
        bindAll(stmt, statement);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            e = lastError(db, statement);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    return e;
}

std::unique_ptr<Database::RowWriter::Engine> SqliteEngine::rowWriter(Database &db, const QString &sql)
{
    return std::make_unique<StatementWriter>(handleOf(db), sql);
}

QString SqliteEngine::integrityCheck(Database &db)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("PRAGMA integrity_check")));
    if (!r.ok())
        return r.error.text;
    QStringList findings;
    while (r.query.next())
        findings << r.query.value(0).toString();
    return findings.isEmpty() ? QStringLiteral("no result") : findings.join(QLatin1Char('\n'));
}

bool SqliteEngine::setSecureDelete(Database &db, bool on)
{
    return db.exec(SqlStatement(on ? QStringLiteral("PRAGMA secure_delete = 1") : QStringLiteral("PRAGMA secure_delete = 0")))
        .ok();
}

QString SqliteEngine::probeSql() const
{
    return QStringLiteral("SELECT 1 FROM sqlite_master LIMIT 1");
}
