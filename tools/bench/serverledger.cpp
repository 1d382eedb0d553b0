// SPDX-License-Identifier: GPL-3.0-or-later
#include "serverledger.h"

#include <cstdio>
#include <vector>

#include <QRegularExpression>
#include <QSqlQuery>

#include "core/data/database.h"
#include "core/data/tablecopy.h"

namespace {

qint64 vouchersIn(Database &db)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    return r.ok() && r.query.next() ? r.query.value(0).toLongLong() : -1;
}

// A libpq keyword's value, quoted as libpq reads it.
QByteArray word(const char *key, const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QByteArray(key) + "='" + v.toUtf8() + "' ";
}

} // namespace

std::optional<ConnectionSettings> serverLedger(const ConnectionSettings &server, const QString &schema,
                                               const QString &file, bool fresh)
{
    ConnectionSettings ledger = server;
    ledger.schema = schema;
    Database source;
    if (!source.open(file, false, Database::Access::ReadOnly)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(file));
        return std::nullopt;
    }
    bool made = false;
    {
        Database there;
        made = there.open(ledger) && there.hasTable(QStringLiteral("total"));
        if (made && !fresh && vouchersIn(there) == vouchersIn(source))
            return ledger;
    }
    if (made) {
        Database admin;
        if (!admin.open(server)) {
            std::fprintf(stderr, "장부 서버에 접속할 수 없습니다: %s\n", qPrintable(server.display()));
            return std::nullopt;
        }
        admin.exec(SqlStatement(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(schema)));
    }
    QString error;
    if (!Database::createLedger(ledger, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return std::nullopt;
    }
    Database target;
    if (!target.open(ledger))
        return std::nullopt;
    std::fprintf(stderr, "서버에 견본 장부 복사 중 (%s)...\n", qPrintable(schema));
    const TableCopy::Result r = TableCopy::copy(source, target);
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
        return std::nullopt;
    }
    // The planner's statistics, as autovacuum would gather them soon after on a live server.
    target.exec(SqlStatement(QStringLiteral("ANALYZE")));
    return ledger;
}

BareServer::BareServer(const ConnectionSettings &ledger)
{
    QByteArray info = word("host", ledger.host) + word("port", QString::number(ledger.port))
                      + word("dbname", ledger.database) + word("user", ledger.user);
    if (!ledger.password.isEmpty())
        info += word("password", ledger.password);
    info += word("options", QStringLiteral("-c search_path=%1,public").arg(ledger.schema));
    m_conn = PQconnectdb(info.constData());
    if (PQstatus(m_conn) != CONNECTION_OK)
        std::fprintf(stderr, "libpq: %s\n", PQerrorMessage(m_conn));
}

BareServer::~BareServer()
{
    PQfinish(m_conn);
}

bool BareServer::isOpen() const
{
    return PQstatus(m_conn) == CONNECTION_OK;
}

qint64 BareServer::rows(const SqlStatement &st)
{
    // :name becomes $n (a :: cast stays), the values go as text.
    static const QRegularExpression named(QStringLiteral("(?<!:):([A-Za-z_][A-Za-z0-9_]*)"));
    QString sql;
    QStringList order;
    qsizetype at = 0;
    for (auto it = named.globalMatch(st.text); it.hasNext();) {
        const auto m = it.next();
        sql += st.text.mid(at, m.capturedStart() - at);
        if (!order.contains(m.captured(1)))
            order << m.captured(1);
        sql += QLatin1Char('$') + QString::number(order.indexOf(m.captured(1)) + 1);
        at = m.capturedEnd();
    }
    sql += st.text.mid(at);
    std::vector<QByteArray> values;
    std::vector<const char *> pointers;
    values.reserve(static_cast<size_t>(order.size()));
    for (const QString &name : std::as_const(order)) {
        QVariant v;
        for (const auto &[n, value] : st.binds)
            if (n == name)
                v = value;
        values.push_back(v.isNull() ? QByteArray() : v.toString().toUtf8());
        pointers.push_back(v.isNull() ? nullptr : values.back().constData());
    }
    PGresult *res = PQexecParams(m_conn, sql.toUtf8().constData(), static_cast<int>(pointers.size()), nullptr,
                                 pointers.data(), nullptr, nullptr, 0);
    qint64 n = 0;
    std::size_t bytes = 0;
    if (PQresultStatus(res) == PGRES_TUPLES_OK) {
        n = PQntuples(res);
        const int columns = PQnfields(res);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < columns; ++c)
                bytes += static_cast<std::size_t>(PQgetlength(res, r, c)) + (PQgetvalue(res, r, c)[0] ? 1 : 0);
    } else {
        std::fprintf(stderr, "libpq: %s\n", PQresultErrorMessage(res));
    }
    PQclear(res);
    return n + static_cast<qint64>(bytes * 0); // bytes only keeps the reads from being optimised away
}
