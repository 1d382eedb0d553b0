// SPDX-License-Identifier: GPL-3.0-or-later
#include "calleridparser.h"

#include <QRegularExpression>

namespace {

// Devices pad with NULs and line noise shows up as control bytes: keep what a person could read.
QString printable(const QByteArray &line)
{
    QString text;
    text.reserve(line.size());
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f)
            text.append(QLatin1Char(c));
    }
    return text.trimmed();
}

} // namespace

QList<CallerReport> CallerIdParser::feed(QByteArrayView bytes, qint64 nowMs)
{
    static const QRegularExpression field(QStringLiteral("^(DATE|TIME|NMBR|NAME|MESG)\\s*=\\s*(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    QList<CallerReport> reports;
    for (const QByteArray &raw : m_lines.feed(bytes)) {
        const QString line = printable(raw);
        if (line.isEmpty())
            continue;
        if (line.compare(QLatin1String("RING"), Qt::CaseInsensitive) == 0) {
            reports += touchCall(nowMs);
            if (!m_callReported && ++m_rings == 2)
                reports.append(noNumberReport());
            continue;
        }
        const QRegularExpressionMatch m = field.match(line);
        if (!m.hasMatch()) {
            reports.append(CallerReport{CallerReport::Other, line});
            continue;
        }
        reports += touchCall(nowMs);
        m_sawReport = true;
        if (m.capturedView(1).compare(QLatin1String("NMBR"), Qt::CaseInsensitive) == 0) {
            m_callReported = true;
            const QString number = m.captured(2).trimmed();
            reports.append(CallerReport{
                callKindOfNumber(number) == CallKind::Number ? CallerReport::Number : CallerReport::NoNumber, number});
        }
    }
    return reports;
}

QList<CallerReport> CallerIdParser::expire(qint64 nowMs)
{
    // A call that rang once and stopped has had no second ring to report it.
    if (m_lastActivity < 0 || nowMs - m_lastActivity <= CallGapMs || m_callReported || m_rings == 0)
        return {};
    return {noNumberReport()};
}

CallerReport CallerIdParser::noNumberReport()
{
    m_callReported = true;
    // Report lines without a number line: the device said something, just not who.
    return CallerReport{CallerReport::NoNumber, m_sawReport ? QString() : ringOnlyWord()};
}

void CallerIdParser::reset()
{
    m_lines.clear();
    m_lastActivity = -1;
    m_rings = 0;
    m_callReported = false;
    m_sawReport = false;
}

QList<CallerReport> CallerIdParser::touchCall(qint64 nowMs)
{
    QList<CallerReport> previous;
    if (m_lastActivity < 0 || nowMs - m_lastActivity > CallGapMs) {
        previous = expire(nowMs);
        m_rings = 0;
        m_callReported = false;
        m_sawReport = false;
    }
    m_lastActivity = nowMs;
    return previous;
}
