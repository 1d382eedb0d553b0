// SPDX-License-Identifier: GPL-3.0-or-later
#include "database.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QSqlError>

#include "core/base/textutil.h"
#include "databaseengine.h"
#include "schema.h"

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("solbitsem-%1").arg(++counter);
}

// Jet's "field too small" number, for text over its field's size.
constexpr int FieldTooSmall = 3163;
// SQLITE_ERROR, the engine's number for a transaction step that could not run.
constexpr int GenericError = 1;

} // namespace

Database::Database() : m_name(nextConnectionName()), m_engine(DatabaseEngine::make(m_dialect.engine())) {}

Database::~Database()
{
    close();
    QSqlDatabase::removeDatabase(m_name);
}

bool Database::open(const QString &path, bool exclusive, Access access)
{
    return open(ConnectionSettings::file(path), exclusive, access);
}

bool Database::open(const ConnectionSettings &settings, bool exclusive, Access access)
{
    close();
    auto engine = DatabaseEngine::make(settings.engine);
    // A connection keeps its driver: one of another engine goes first.
    if (QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).driverName() != engine->driverName())
        QSqlDatabase::removeDatabase(m_name);
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(engine->driverName(), m_name);
    m_engine = std::move(engine);
    m_dialect = SqlDialect(settings.engine);
    // The password stays here, in memory only, so that a server connection that went away can
    // be opened again as it was.
    m_settings = settings;
    m_exclusive = exclusive;
    m_access = access;
    if (!m_engine->open(db, settings, exclusive, access))
        return false;
    m_path = settings.isServer() ? settings.display() : db.databaseName();
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
    m_savepoints = 0;
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

bool Database::isLost() const
{
    return !m_path.isEmpty() && !isOpen();
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
    return createLedger(ConnectionSettings::file(path), errorText);
}

bool Database::createLedger(const ConnectionSettings &settings, QString *errorText)
{
    return DatabaseEngine::make(settings.engine)->createLedger(settings, errorText);
}

SqlError Database::sizeError(const SqlStatement &statement)
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

SqlError Database::errorOf(const QSqlError &error, const SqlStatement &statement)
{
    if (error.type() == QSqlError::NoError)
        return {};
    // The driver tells a server connection that went away by no longer being open.
    if (isLost()) {
        const QString reason = error.databaseText().trimmed();
        return SqlError::connectionLost(statement, reason.isEmpty() ? error.text() : reason);
    }
    return m_engine->classify(error, statement);
}

SqlError Database::reconnectIfLost(const SqlStatement &statement)
{
    if (!isLost())
        return {};
    // A transaction that was open died with its connection: its guards end first, each of its
    // statements failing, and only a statement outside them may start afresh.
    if (m_savepoints > 0)
        return SqlError::connectionLost(statement, {});
    QSqlDatabase db = connection();
    db.close();
    if (!m_engine->open(db, m_settings, m_exclusive, m_access))
        return SqlError::reconnectFailed(statement, db.lastError().text());
    const auto hooks = m_onReconnect; // a hook may replace itself
    for (const auto &hook : hooks)
        hook.second();
    return {};
}

void Database::setOnReconnect(const void *owner, std::function<void()> reconnected)
{
    dropOnReconnect(owner);
    m_onReconnect.emplace_back(owner, std::move(reconnected));
}

void Database::dropOnReconnect(const void *owner)
{
    std::erase_if(m_onReconnect, [owner](const auto &hook) { return hook.first == owner; });
}

SqlError Database::forEachRow(const SqlStatement &statement, const std::function<void(const RowView &)> &row)
{
    if (const SqlError e = reconnectIfLost(statement); e.isError())
        return e;
    return m_engine->forEachRow(*this, statement, row);
}

SqlError Database::execEach(SqlStatement statement, qsizetype rows,
                            const std::function<void(qsizetype row, SqlStatement &values)> &bindRow)
{
    if (const SqlError e = reconnectIfLost(statement); e.isError())
        return e;
    return m_engine->execEach(*this, std::move(statement), rows, bindRow);
}

Database::RowWriter::RowWriter(Database &db, const QString &sql)
{
    // A connection that could not be opened again leaves the writer invalid, with the engine's
    // reason for it.
    db.reconnectIfLost(SqlStatement(sql));
    m_engine = db.m_engine->rowWriter(db, sql);
}

Database::RowWriter::~RowWriter() = default;

bool Database::RowWriter::isValid() const
{
    return m_engine->isValid();
}

void Database::RowWriter::bindNull(int i)
{
    m_engine->bindNull(i);
}

void Database::RowWriter::bindInteger(int i, qint64 value)
{
    m_engine->bindInteger(i, value);
}

void Database::RowWriter::bindText(int i, QByteArrayView utf8)
{
    m_engine->bindText(i, utf8);
}

bool Database::RowWriter::step()
{
    return m_engine->step();
}

QString Database::RowWriter::error() const
{
    return m_engine->error();
}

Database::Result Database::exec(const SqlStatement &statement)
{
    Result r;
    r.error = reconnectIfLost(statement);
    if (r.error.isError())
        return r;
    if (!isOpen()) {
        r.error = SqlError::noDatabase(statement);
        return r;
    }
    r.error = sizeError(statement);
    if (r.error.isError())
        return r;
    QString sql = statement.text;
    const bool returnsKey = m_engine->returnsKey(sql);
    r.query = QSqlQuery(connection());
    r.query.setForwardOnly(!returnsKey);
    const bool prepared = m_engine->prepares(statement);
    if (prepared && !r.query.prepare(sql)) {
        r.error = errorOf(r.query.lastError(), statement);
        return r;
    }
    for (const auto &[name, value] : statement.binds)
        r.query.bindValue(QLatin1Char(':') + name, value);
    if (!(prepared ? r.query.exec() : r.query.exec(sql))) {
        r.error = errorOf(r.query.lastError(), statement);
        return r;
    }
    if (returnsKey) {
        r.rowsAffected = r.query.numRowsAffected();
        r.lastInsertId = r.query.next() ? r.query.value(0).toLongLong() : 0;
        r.query.finish();
    } else if (!r.query.isSelect()) {
        r.rowsAffected = r.query.numRowsAffected();
        if (m_engine->hasLastInsertId())
            r.lastInsertId = r.query.lastInsertId().toLongLong();
    }
    return r;
}

SqlError Database::execAll(const QStringList &sql)
{
    for (const QString &s : sql)
        if (const SqlError e = exec(SqlStatement(s)).error; e.isError())
            return e;
    return {};
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
    m_active = !m_db.execAll(m_db.m_engine->beginSql(m_name, m_db.m_savepoints)).isError();
    if (m_active)
        ++m_db.m_savepoints;
}

TransactionGuard::~TransactionGuard()
{
    if (m_active) {
        --m_db.m_savepoints;
        // A lost connection took its transaction with it; nothing is left to roll back.
        if (!m_db.isLost())
            for (const QString &s : m_db.m_engine->rollbackSql(m_name, m_db.m_savepoints))
                m_db.exec(SqlStatement(s));
    }
}

SqlError TransactionGuard::commit()
{
    if (!m_active) {
        SqlError e;
        e.kind = SqlError::Kind::Other;
        e.code = GenericError;
        e.text = QStringLiteral("no transaction");
        return e;
    }
    m_active = false;
    --m_db.m_savepoints;
    const QStringList release = m_db.m_engine->releaseSql(m_name, m_db.m_savepoints);
    if (m_db.isLost())
        return SqlError::connectionLost(SqlStatement(release.join(QLatin1String("; "))), {});
    return m_db.execAll(release);
}

QList<QPair<QString, QString>> Database::columns(const QString &table)
{
    QList<QPair<QString, QString>> out;
    SqlStatement st(m_dialect.columnsSql());
    st.bind(QStringLiteral("t"), table);
    Result r = exec(st);
    while (r.ok() && r.query.next())
        out.append({r.query.value(0).toString(), r.query.value(1).toString()});
    return out;
}

bool Database::hasTable(const QString &table)
{
    Result r = exec(SqlStatement(m_dialect.tablesSql()));
    while (r.ok() && r.query.next())
        if (r.query.value(0).toString().compare(table, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

SqlError Database::probe()
{
    return exec(SqlStatement(m_engine->probeSql())).error;
}

std::optional<int> Database::schemaVersion()
{
    Result r = exec(SqlStatement(m_dialect.schemaVersionSql()));
    if (!r.ok())
        return std::nullopt;
    return r.query.next() ? r.query.value(0).toInt() : 0;
}

SqlError Database::setSchemaVersion(int version)
{
    return exec(SqlStatement(m_dialect.setSchemaVersionSql(version))).error;
}

bool Database::setSecureDelete(bool on)
{
    return m_engine->setSecureDelete(*this, on);
}

QString Database::integrityCheck()
{
    return m_engine->integrityCheck(*this);
}
