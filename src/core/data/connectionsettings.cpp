// SPDX-License-Identifier: GPL-3.0-or-later
#include "connectionsettings.h"

#include <QRegularExpression>

ConnectionSettings ConnectionSettings::file(const QString &path)
{
    ConnectionSettings s;
    s.path = path;
    return s;
}

ConnectionSettings ConnectionSettings::parse(const QString &text)
{
    // key=value pairs, a value quoted with '…' when it holds spaces, as libpq writes them.
    static const QRegularExpression pair(QStringLiteral(R"((\w+)\s*=\s*(?:'((?:[^'\\]|\\.)*)'|(\S*)))"));
    static const QRegularExpression looksLikePairs(QStringLiteral(R"(^\s*\w+\s*=)"));
    if (!looksLikePairs.match(text).hasMatch())
        return file(text);
    ConnectionSettings s;
    s.engine = SqlDialect::Engine::Postgres;
    for (auto it = pair.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        QString value = m.captured(2).isNull() ? m.captured(3) : m.captured(2);
        value.replace(QStringLiteral("\\'"), QStringLiteral("'")).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        const QString key = m.captured(1);
        if (key == QStringLiteral("host"))
            s.host = value;
        else if (key == QStringLiteral("port"))
            s.port = value.toInt();
        else if (key == QStringLiteral("dbname"))
            s.database = value;
        else if (key == QStringLiteral("user"))
            s.user = value;
        else if (key == QStringLiteral("password"))
            s.password = value;
        else if (key == QStringLiteral("schema"))
            s.schema = value;
    }
    return s;
}

QString ConnectionSettings::display() const
{
    if (!isServer())
        return path;
    QString out = user.isEmpty() ? QString() : user + QLatin1Char('@');
    out += host + QLatin1Char(':') + QString::number(port) + QLatin1Char('/') + database;
    return schema.isEmpty() ? out : out + QLatin1Char('.') + schema;
}
