// SPDX-License-Identifier: GPL-3.0-or-later
#include "database.h"

#include <sqlite3.h>

#include <atomic>
#include <filesystem>
#include <system_error>

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
    q.exec(QStringLiteral("PRAGMA synchronous=EXTRA"));
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

SqlError Database::forEachRow(const SqlStatement &statement, const std::function<void(const RowView &)> &row)
{
    if (!isOpen())
        return SqlError::noDatabase(statement);
    const QVariant handle = connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return classify(SQLITE_MISUSE, QStringLiteral("no engine handle"), statement);
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = statement.text.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        return classify(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), statement);
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

Database::Result Database::exec(const SqlStatement &statement)
{
    Result r;
    if (!isOpen()) {
        r.error = SqlError::noDatabase(statement);
        return r;
    }
    if (!statement.table.isEmpty()) {
        // A NUL or half a surrogate pair cannot be stored as typed (the file holds UTF-8, and
        // the older file's text ended at a NUL): refused here rather than changed on the way.
        for (const auto &[name, value] : statement.binds) {
            if (value.typeId() != QMetaType::QString)
                continue;
            const QString text = value.toString();
            if (text.contains(QChar(0)) || !QStringView(text).isValidUtf16()) {
                r.error.kind = SqlError::Kind::Other;
                r.error.text = QStringLiteral("저장할 수 없는 문자(NUL 또는 짝 없는 서로게이트)가 들어 있습니다. [%1]").arg(name);
                r.error.statement = statement.display();
                return r;
            }
        }
        if (const Schema::Table *t = Schema::ledgerTable(statement.table)) {
            for (const auto &[name, value] : statement.binds) {
                const Schema::Field *f = t->field(name);
                if (!f || f->type != Schema::FieldType::Text || f->size <= 0 || value.isNull())
                    continue;
                if (LenAnsi(value.toString()) > f->size) {
                    r.error.kind = SqlError::Kind::TooLong;
                    r.error.code = FieldTooSmall;
                    r.error.text = QStringLiteral("입력한 값이 필드 크기보다 큽니다. [%1] 최대 %2바이트")
                                       .arg(f->name)
                                       .arg(f->size);
                    r.error.statement = statement.display();
                    return r;
                }
            }
        }
    }
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
