// SPDX-License-Identifier: GPL-3.0-or-later
#include "waitingcalls.h"

#include <algorithm>

void WaitingCalls::PushWaitingCall(const QString &number, const QDateTime &now)
{
    const int row = rowCount();
    insertRows(row, 1);
    // In the Korean form whatever the system's language, as every time the program shows.
    setData(index(row), number + QStringLiteral(" [") + now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                            + QLatin1Char(']'));
}

QString WaitingCalls::PopWaitingCall()
{
    if (rowCount() == 0)
        return {};
    const QString item = index(0).data().toString();
    removeRows(0, 1);
    return numberOf(item);
}

void WaitingCalls::removeItems(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows)
        removeRows(row, 1);
}

QString WaitingCalls::numberOf(const QString &item)
{
    const qsizetype blank = item.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : item.left(blank);
}
