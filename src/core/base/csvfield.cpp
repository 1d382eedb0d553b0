// SPDX-License-Identifier: GPL-3.0-or-later
#include "csvfield.h"

#include <QRegularExpression>

QString csvField(const QString &text)
{
    static const QRegularExpression special(QStringLiteral("[,\"\r\n]"));
    if (!text.contains(special))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString csvTextField(const QString &text)
{
    static const QRegularExpression formula(QStringLiteral("^[=+\\-@\t\r]"));
    // What a spreadsheet reads as a number: digits with their grouping and decimal marks.
    static const QRegularExpression number(QStringLiteral("^\\s*[0-9][0-9,]*(\\.[0-9]*)?([eE][0-9]+)?%?\\s*$"));
    if (!text.contains(formula) && !text.contains(number))
        return csvField(text);
    return QStringLiteral("\"'") + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}
