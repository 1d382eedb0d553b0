// SPDX-License-Identifier: GPL-3.0-or-later
#include "callhistory.h"

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/data/database.h"

SqlError CallHistory::record(const QDateTime &at, const QString &port, CallKind kind, const QString &number,
                             const QString &clientName)
{
    SqlStatement st(QStringLiteral("INSERT INTO call_history (call_time, port, number, client_name, kind) "
                                   "VALUES (:call_time, :port, :number, :client_name, :kind)"));
    // A device may send a number of any length: keep what fits.
    st.bind(QStringLiteral("call_time"), timeText(at))
        .bind(QStringLiteral("port"), port.left(50))
        .bind(QStringLiteral("number"), number.left(50))
        .bind(QStringLiteral("client_name"), clientName)
        .bind(QStringLiteral("kind"), static_cast<qint64>(kind));
    return m_db.exec(st).error;
}

CallHistory::Lines CallHistory::lines(int latest)
{
    SqlStatement st(QStringLiteral("SELECT call_time, port, number, client_name, kind FROM "
                                   "(SELECT * FROM call_history ORDER BY call_id DESC LIMIT :n) AS latest ORDER BY call_id"));
    st.bind(QStringLiteral("n"), static_cast<qint64>(latest));
    Database::Result rs = m_db.exec(st);
    Lines out;
    if (!rs.ok()) {
        out.error = rs.error;
        return out;
    }
    while (rs.query.next())
        out.lines << line(NullToStr(rs.query.value(0)), NullToStr(rs.query.value(1)), rs.query.value(4).toInt(),
                          NullToStr(rs.query.value(2)), NullToStr(rs.query.value(3)));
    return out;
}

QString CallHistory::line(const QString &time, const QString &port, int kind, const QString &number,
                          const QString &clientName)
{
    const CallKind known = kind >= static_cast<int>(CallKind::Number) && kind <= static_cast<int>(CallKind::RingOnly)
                               ? static_cast<CallKind>(kind)
                               : callKindOfNumber(number);
    const QString gap = QStringLiteral("  ");
    QString text = time + gap + port + gap + callKindText(known);
    if (known == CallKind::Number)
        text += gap + FormatTel(number);
    if (!clientName.isEmpty())
        text += gap + clientName;
    return text;
}

QString CallHistory::timeText(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
