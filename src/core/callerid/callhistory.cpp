// SPDX-License-Identifier: GPL-3.0-or-later
#include "callhistory.h"

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/data/database.h"
#include "core/data/recordset.h"

SqlError CallHistory::record(const QDateTime &at, const QString &port, const QString &number,
                             const QString &clientName)
{
    SqlStatement st(QStringLiteral("INSERT INTO call_history (call_time, port, number, client_name) "
                                   "VALUES (:call_time, :port, :number, :client_name)"));
    // A device may send a number of any length: keep what fits.
    st.bind(QStringLiteral("call_time"), timeText(at))
        .bind(QStringLiteral("port"), port.left(50))
        .bind(QStringLiteral("number"), number.left(50))
        .bind(QStringLiteral("client_name"), clientName);
    return m_db.exec(st).error;
}

std::optional<QStringList> CallHistory::lines(int latest, UserPrompt &prompt)
{
    SqlStatement st(QStringLiteral("SELECT call_time, port, number, client_name FROM "
                                   "(SELECT * FROM call_history ORDER BY call_id DESC LIMIT :n) ORDER BY call_id"));
    st.bind(QStringLiteral("n"), static_cast<qint64>(latest));
    auto rs = OpenRS(m_db, st, prompt);
    if (!rs)
        return std::nullopt;
    QStringList out;
    while (rs->next())
        out << line(NullToStr(rs->value(0)), NullToStr(rs->value(1)), NullToStr(rs->value(2)), NullToStr(rs->value(3)));
    CloseObj(rs);
    return out;
}

QString CallHistory::line(const QString &time, const QString &port, const QString &number, const QString &clientName)
{
    QString text = time + QStringLiteral("  ") + port + QStringLiteral("  ")
                   + (number.isEmpty() ? QStringLiteral("발신번호 없음") : FormatTel(number));
    if (!clientName.isEmpty())
        text += QStringLiteral("  ") + clientName;
    return text;
}

QString CallHistory::timeText(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
