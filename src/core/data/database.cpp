// SPDX-License-Identifier: GPL-3.0-or-later
#include "database.h"

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include "core/base/textutil.h"
#include "schema.h"

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("solbitsem-%1").arg(++counter);
}

// The engine's own words, without the driver's preface.
QString engineText(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
// Jet's "field too small" number, for text over its field's size.
constexpr int FieldTooSmall = 3163;

} // namespace

Database::Database() : m_name(nextConnectionName()) {}

Database::~Database()
{
    close();
    QSqlDatabase::removeDatabase(m_name);
}

bool Database::open(const QString &path, bool exclusive, Access access)
{
    // The driver would create a missing file; a missing ledger must stay missing.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return false;
    close();
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(info.absoluteFilePath());
    // A lock held by another program is waited for briefly, then reported.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=400");
    if (access == Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        return false;
    m_path = info.absoluteFilePath();
    QSqlQuery q(db);
    // A commit is on disk when it returns. FULL would delete the rollback journal without syncing
    // the folder, and after a power cut the journal could come back and undo the last commit;
    // EXTRA syncs the folder too. Errors here (a damaged file) surface at the first query.
    if (access == Access::Load) {
        q.exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    } else {
        q.exec(QStringLiteral("PRAGMA synchronous=EXTRA"));
    }
    if (exclusive)
        q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
    return true;
}

void Database::close()
{
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    m_path.clear();
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_name, false);
}

QString Database::syncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    const QString why = ok ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0)
        ::close(fd);
    return why;
}

bool Database::createLedger(const QString &path, QString *errorText)
{
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    const auto fail = [errorText](const QString &text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    if (info.exists())
        return fail(QStringLiteral("파일이 이미 있습니다: ") + QDir::toNativeSeparators(path));
    // QDir::mkpath gives no reason; the system's says whether a file is in the way, the disk is
    // read-only or the user may not write there.
    std::error_code reason;
    std::filesystem::create_directories(std::filesystem::path(info.absolutePath().toStdU16String()), reason);
    if (reason)
        return fail(QStringLiteral("폴더를 만들 수 없습니다: ") + folder + QStringLiteral("\r\n")
                    + QString::fromLocal8Bit(reason.message()));
    {
        // Made here rather than by the engine, whose "unable to open database file" would hide
        // the system's reason. NewOnly: a file that appeared meanwhile is not touched.
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return fail(QStringLiteral("폴더에 파일을 만들 수 없습니다: ") + folder + QStringLiteral("\r\n")
                        + file.errorString());
    }
    bool ok = true;
    QString err;
    {
        const QString name = nextConnectionName();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(info.absoluteFilePath());
            if (!db.open()) {
                ok = false;
                err = engineText(db.lastError());
            } else {
                QSqlQuery q(db);
                ok = db.transaction();
                for (const Schema::Table &t : Schema::ledgerTables()) {
                    QStringList sql{Schema::createTableSql(t)};
                    sql << Schema::createIndexSql(t);
                    for (const QString &s : sql) {
                        if (ok && !q.exec(s)) {
                            ok = false;
                            err = engineText(q.lastError());
                        }
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

namespace {
SqlError classify(int code, const QString &text, const SqlStatement &statement)
{
    SqlError e;
    e.code = code;
    e.text = text;
    e.statement = statement.display();
    const int primary = e.code & 0xff;
    if (primary == SqliteBusy || primary == SqliteLocked)
        e.kind = SqlError::Kind::Busy;
    else if (e.text.startsWith(QLatin1String("no such table")) || e.text.startsWith(QLatin1String("no such column")))
        e.kind = SqlError::Kind::NoObject;
    else
        e.kind = SqlError::Kind::Other;
    return e;
}
// Text bound to a sized field of the statement's table that is longer than the field: the
// error Jet gave, before anything is written.
SqlError sizeError(const SqlStatement &statement)
{
    if (statement.table.isEmpty())
        return {};
    // A NUL or half a surrogate pair cannot be stored as typed (the file holds UTF-8, and the
    // older file's text ended at a NUL): refused here rather than changed on the way.
    for (const auto &[name, value] : statement.binds) {
        if (value.typeId() != QMetaType::QString)
            continue;
        const QString text = value.toString();
        if (text.contains(QChar(0)) || !QStringView(text).isValidUtf16()) {
            SqlError e;
            e.kind = SqlError::Kind::Other;
            e.text = QStringLiteral("저장할 수 없는 문자(NUL 또는 짝 없는 서로게이트)가 들어 있습니다. [%1]").arg(name);
            e.statement = statement.display();
            return e;
        }
    }
    const Schema::Table *t = Schema::ledgerTable(statement.table);
    if (!t)
        return {};
    for (const auto &[name, value] : statement.binds) {
        const Schema::Field *f = t->field(name);
        if (!f || f->type != Schema::FieldType::Text || f->size <= 0 || value.isNull())
            continue;
        if (LenAnsi(value.toString()) > f->size) {
            SqlError e;
            e.kind = SqlError::Kind::TooLong;
            e.code = FieldTooSmall;
            e.text = QStringLiteral("입력한 값이 필드 크기보다 큽니다. [%1] 최대 %2바이트").arg(f->name).arg(f->size);
            e.statement = statement.display();
            return e;
        }
    }
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
} // namespace

SqlError Database::errorOf(const QSqlError &error, const SqlStatement &statement) const
{
    if (error.type() == QSqlError::NoError)
        return {};
    return classify(error.nativeErrorCode().toInt(), engineText(error), statement);
}

bool Database::RowView::isNull(int column) const
{
    return sqlite3_column_type(static_cast<sqlite3_stmt *>(m_stmt), column) == SQLITE_NULL;
}

qint64 Database::RowView::integer(int column) const
{
    return sqlite3_column_int64(static_cast<sqlite3_stmt *>(m_stmt), column);
}

QByteArrayView Database::RowView::utf8(int column) const
{
    auto *stmt = static_cast<sqlite3_stmt *>(m_stmt);
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(stmt, column)) : QByteArrayView();
}

QString Database::RowView::text(int column) const
{
    auto *stmt = static_cast<sqlite3_stmt *>(m_stmt);
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    if (!data)
        return QString();
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt, column));
}

void *Database::engineHandle() const
{
    const QVariant handle = connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

SqlError Database::prepareRaw(const SqlStatement &statement, sqlite3 *&db, sqlite3_stmt *&stmt)
{
    if (!isOpen())
        return SqlError::noDatabase(statement);
    db = static_cast<sqlite3 *>(engineHandle());
    if (!db)
        return classify(SQLITE_MISUSE, QStringLiteral("no engine handle"), statement);
    const QByteArray sql = statement.text.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        return classify(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), statement);
    return {};
}

SqlError Database::forEachRow(const SqlStatement &statement, const std::function<void(const RowView &)> &row)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (const SqlError e = prepareRaw(statement, db, stmt); e.isError())
        return e;
    bindAll(stmt, statement);
    const RowView view(stmt);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        row(view);
    SqlError e;
    if (rc != SQLITE_DONE)
        e = classify(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), statement);
    sqlite3_finalize(stmt);
    return e;
}

SqlError Database::execEach(SqlStatement statement, qsizetype rows,
                           const std::function<void(qsizetype row, SqlStatement &values)> &bindRow)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (const SqlError e = prepareRaw(statement, db, stmt); e.isError())
        return e;
    SqlError e;
    for (qsizetype row = 0; row < rows && !e.isError(); ++row) {
        statement.binds.clear();
        bindRow(row, statement);
        e = sizeError(statement);
        if (e.isError())
            break;
        bindAll(stmt, statement);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            e = classify(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), statement);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    return e;
}

Database::RowWriter::RowWriter(Database &db, const QString &sql)
{
    auto *engine = db.isOpen() ? static_cast<sqlite3 *>(db.engineHandle()) : nullptr;
    if (!engine) {
        m_error = QStringLiteral("no engine handle");
        return;
    }
    m_db = engine;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(engine, text.constData(), static_cast<int>(text.size()), &stmt, nullptr) != SQLITE_OK)
        m_error = QString::fromUtf8(sqlite3_errmsg(engine));
    m_stmt = stmt;
}

Database::RowWriter::~RowWriter()
{
    sqlite3_finalize(static_cast<sqlite3_stmt *>(m_stmt));
}

void Database::RowWriter::bindNull(int i)
{
    sqlite3_bind_null(static_cast<sqlite3_stmt *>(m_stmt), i + 1);
}

void Database::RowWriter::bindInteger(int i, qint64 value)
{
    sqlite3_bind_int64(static_cast<sqlite3_stmt *>(m_stmt), i + 1, value);
}

void Database::RowWriter::bindText(int i, QByteArrayView utf8)
{
    // A null pointer would store NULL; an empty text stays an empty text.
    sqlite3_bind_text(static_cast<sqlite3_stmt *>(m_stmt), i + 1, utf8.data() ? utf8.data() : "",
                      static_cast<int>(utf8.size()), SQLITE_STATIC);
}

bool Database::RowWriter::step()
{
    auto *stmt = static_cast<sqlite3_stmt *>(m_stmt);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc == SQLITE_DONE)
        return true;
    m_error = QString::fromUtf8(sqlite3_errmsg(static_cast<sqlite3 *>(m_db)));
    return false;
}

Database::Result Database::exec(const SqlStatement &statement)
{
    Result r;
    if (!isOpen()) {
        r.error = SqlError::noDatabase(statement);
        return r;
    }
    r.error = sizeError(statement);
    if (r.error.isError())
        return r;
    r.query = QSqlQuery(connection());
    r.query.setForwardOnly(true);
    if (!r.query.prepare(statement.text)) {
        r.error = errorOf(r.query.lastError(), statement);
        return r;
    }
    for (const auto &[name, value] : statement.binds)
        r.query.bindValue(QLatin1Char(':') + name, value);
    if (!r.query.exec()) {
        r.error = errorOf(r.query.lastError(), statement);
        return r;
    }
    if (!r.query.isSelect()) {
        r.rowsAffected = r.query.numRowsAffected();
        r.lastInsertId = r.query.lastInsertId().toLongLong();
    }
    return r;
}

namespace {
QString quotedName(const QString &name)
{
    QString s = name;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}
} // namespace

TransactionGuard::TransactionGuard(Database &db, const QString &name) : m_db(db), m_name(quotedName(name))
{
    m_active = m_db.exec(SqlStatement(QStringLiteral("SAVEPOINT ") + m_name)).ok();
}

TransactionGuard::~TransactionGuard()
{
    if (m_active) {
        m_db.exec(SqlStatement(QStringLiteral("ROLLBACK TO ") + m_name));
        m_db.exec(SqlStatement(QStringLiteral("RELEASE ") + m_name));
    }
}

SqlError TransactionGuard::commit()
{
    if (!m_active) {
        SqlError e;
        e.kind = SqlError::Kind::Other;
        e.code = SQLITE_ERROR;
        e.text = QStringLiteral("no transaction");
        return e;
    }
    m_active = false;
    return m_db.exec(SqlStatement(QStringLiteral("RELEASE ") + m_name)).error;
}

QList<QPair<QString, QString>> Database::columns(const QString &table)
{
    QList<QPair<QString, QString>> out;
    SqlStatement st(QStringLiteral("SELECT name, type FROM pragma_table_info(:t)"));
    st.bind(QStringLiteral("t"), table);
    Result r = exec(st);
    while (r.ok() && r.query.next())
        out.append({r.query.value(0).toString(), r.query.value(1).toString()});
    return out;
}

bool Database::hasTable(const QString &table)
{
    SqlStatement st(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = :t COLLATE NOCASE"));
    st.bind(QStringLiteral("t"), table);
    Result r = exec(st);
    return r.ok() && r.query.next();
}

SqlError Database::probe()
{
    return exec(SqlStatement(QStringLiteral("SELECT 1 FROM sqlite_master LIMIT 1"))).error;
}

bool Database::setSecureDelete(bool on)
{
    return exec(SqlStatement(on ? QStringLiteral("PRAGMA secure_delete = 1") : QStringLiteral("PRAGMA secure_delete = 0")))
        .ok();
}

SqlError Database::backupTo(const QString &target)
{
    const SqlStatement what(QStringLiteral("BACKUP TO ") + QDir::toNativeSeparators(target));
    if (!isOpen())
        return SqlError::noDatabase(what);
    auto *source = static_cast<sqlite3 *>(engineHandle());
    if (!source)
        return classify(SQLITE_MISUSE, QStringLiteral("no engine handle"), what);
    if (QFileInfo::exists(target))
        return classify(SQLITE_CANTOPEN, QStringLiteral("파일이 이미 있습니다."), what);
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    sqlite3 *dest = nullptr;
    int rc = sqlite3_open_v2(part.toUtf8().constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString text;
    if (rc == SQLITE_OK) {
        if (sqlite3_backup *b = sqlite3_backup_init(dest, "main", source, "main")) {
            // A few hundred pages at a time, with the read lock let go in between, so that the
            // program's own writes go on while a large ledger is copied. A write by another
            // connection meanwhile makes the engine start over, so the copy is still one moment
            // of the file. A lock held by a writer is waited out a while.
            int busy = 0;
            do {
                rc = sqlite3_backup_step(b, 256);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                    ++busy;
                    sqlite3_sleep(50);
                } else {
                    busy = 0;
                }
            } while (rc == SQLITE_OK || (busy > 0 && busy < 100));
            sqlite3_backup_finish(b);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        if (rc == SQLITE_OK)
            rc = sqlite3_errcode(dest);
    }
    if (rc != SQLITE_OK)
        text = dest && sqlite3_errcode(dest) != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(dest))
                                                          : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(dest);
    if (rc == SQLITE_OK && !QFile::rename(part, target)) {
        rc = SQLITE_CANTOPEN;
        text = QStringLiteral("이름을 바꿀 수 없습니다.");
    }
    if (rc != SQLITE_OK) {
        QFile::remove(part);
        return classify(rc, text, what);
    }
    return {};
}

QString Database::integrityCheck()
{
    Result r = exec(SqlStatement(QStringLiteral("PRAGMA integrity_check")));
    if (!r.ok())
        return r.error.text;
    QStringList findings;
    while (r.query.next())
        findings << r.query.value(0).toString();
    return findings.isEmpty() ? QStringLiteral("no result") : findings.join(QLatin1Char('\n'));
}
