// SPDX-License-Identifier: GPL-3.0-or-later
#include "incomingcall.h"

namespace IncomingCall {

QString unknownFormatText(const QString &number)
{
    return QStringLiteral("알수 없는 전화번호 형식입니다.") + QLatin1Char('(') + number + QLatin1Char(')');
}

QString unregisteredText(const QString &number)
{
    return QStringLiteral("등록되지 않은 전화번호 입니다.") + QLatin1Char('(') + number + QLatin1Char(')');
}

QString logLine(const QString &display, const QDateTime &at, const QString &name, const QString &products)
{
    constexpr int PadTo = 15;
    return display.leftJustified(PadTo, QLatin1Char(' ')) + at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
           + QLatin1Char(' ') + name + QStringLiteral(" [제품: ") + products + QLatin1Char(']');
}

} // namespace IncomingCall
