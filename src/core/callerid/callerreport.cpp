// SPDX-License-Identifier: GPL-3.0-or-later
#include "callerreport.h"

#include <algorithm>

#include <QStringList>

CallKind callKindOfNumber(const QString &reported)
{
    static const QStringList withheld = {QStringLiteral("P"),          QStringLiteral("PRIVATE"),
                                         QStringLiteral("ANONYMOUS"),  QStringLiteral("RESTRICTED"),
                                         QStringLiteral("BLOCKED"),    QStringLiteral("WITHHELD")};
    const QString n = reported.trimmed();
    if (n.compare(ringOnlyWord(), Qt::CaseInsensitive) == 0)
        return CallKind::RingOnly;
    if (withheld.contains(n, Qt::CaseInsensitive))
        return CallKind::Withheld;
    const bool someDigit = std::any_of(n.begin(), n.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return someDigit ? CallKind::Number : CallKind::Unavailable;
}

CallKind callKindOf(int reportKind, const QString &data)
{
    const CallKind kind = callKindOfNumber(data);
    return reportKind == CallerReport::NoNumber && kind == CallKind::Number ? CallKind::Unavailable : kind;
}

QString callKindText(CallKind kind)
{
    switch (kind) {
    case CallKind::Number:
        return QStringLiteral("번호 있음");
    case CallKind::Withheld:
        return QStringLiteral("발신번호 표시 제한");
    case CallKind::RingOnly:
        return QStringLiteral("번호 없이 벨만 울림");
    case CallKind::Unavailable:
        break;
    }
    return QStringLiteral("발신번호 알 수 없음");
}
