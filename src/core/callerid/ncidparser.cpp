// SPDX-License-Identifier: GPL-3.0-or-later
#include "ncidparser.h"

QList<CallerReport> NcidParser::feed(QByteArrayView bytes)
{
    QList<CallerReport> reports;
    for (const QByteArray &raw : m_lines.feed(bytes)) {
        const QByteArray line = raw.trimmed();
        if (!line.startsWith("CID:"))
            continue;
        // *KEY*value* pairs; a name may be UTF-8, the rest is ASCII.
        const QStringList parts = QString::fromUtf8(line.mid(4)).trimmed().split(QLatin1Char('*'));
        QString number;
        for (qsizetype i = 1; i + 1 < parts.size(); i += 2) {
            if (parts.at(i) == QLatin1String("NMBR")) {
                number = parts.at(i + 1).trimmed();
                break;
            }
        }
        reports.append(CallerReport{
            callKindOfNumber(number) == CallKind::Number ? CallerReport::Number : CallerReport::NoNumber, number});
    }
    return reports;
}
