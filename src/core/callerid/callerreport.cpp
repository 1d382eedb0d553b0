// SPDX-License-Identifier: GPL-3.0-or-later
#include "callerreport.h"

#include <QStringList>

bool isWithheldNumber(const QString &number)
{
    static const QStringList words = {
        QStringLiteral("P"), QStringLiteral("O"), QStringLiteral("-"), QStringLiteral("PRIVATE"),
        QStringLiteral("ANONYMOUS"), QStringLiteral("UNAVAILABLE"), QStringLiteral("OUT-OF-AREA"),
        QStringLiteral("RING"), QStringLiteral("NO NUMBER")};
    const QString n = number.trimmed();
    return n.isEmpty() || words.contains(n, Qt::CaseInsensitive);
}
