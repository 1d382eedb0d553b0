// SPDX-License-Identifier: GPL-3.0-or-later
#include "telvoxports.h"

#include "core/shell/settingkeys.h"

namespace TelvoxPorts {

QString key(int index)
{
    return Settings::telvoxPort(index).name;
}

QString defaultText(int index)
{
    return Settings::telvoxPort(index).fallback;
}

QStringList load(const AppSettings &settings)
{
    QStringList ports;
    for (int i = 0; i < Count; ++i)
        ports << settings.get(Settings::telvoxPort(i));
    return ports;
}

QString portName(const QString &portText)
{
    return QStringLiteral("COM") + portText;
}

QString storedText(const QString &typed)
{
    qsizetype i = 0;
    while (i < typed.size() && typed.at(i) == QLatin1Char(' '))
        ++i;
    const bool negative = i < typed.size() && typed.at(i) == QLatin1Char('-');
    if (negative || (i < typed.size() && typed.at(i) == QLatin1Char('+')))
        ++i;
    QString digits;
    // Nine digits are past any port; more would overflow.
    while (i < typed.size() && typed.at(i).isDigit() && typed.at(i).unicode() < 128 && digits.size() < 9)
        digits += typed.at(i++);
    const qint64 number = digits.toLongLong();
    return QString::number(negative ? -number : number);
}

QString useKey()
{
    return Settings::telvoxUse.name;
}

} // namespace TelvoxPorts
