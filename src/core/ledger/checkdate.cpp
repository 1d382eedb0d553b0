// SPDX-License-Identifier: GPL-3.0-or-later
#include "checkdate.h"

#include <QRegularExpression>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"

namespace {

// The date test: year, month and day with one kind of separator, ASCII digits only, and a
// day that exists.
std::optional<QDate> parseDate(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^([0-9]{4})([-/.])([0-9]{1,2})\\2([0-9]{1,2})$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int year = m.captured(1).toInt();
    if (year < 100)
        return std::nullopt;
    const QDate d(year, m.captured(3).toInt(), m.captured(4).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

} // namespace

QString formatDigits(const QString &typed, const QString &pattern)
{
    if (!isAsciiDigits(typed))
        return typed;
    // Leading zeros of the number are dropped first, as a numeric format does.
    QString digits = typed;
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits == QLatin1String("0"))
        digits.clear();
    QString out = pattern;
    qsizetype d = digits.size() - 1;
    qsizetype firstPlace = -1;
    for (qsizetype i = out.size() - 1; i >= 0; --i) {
        if (out[i] != u'0')
            continue;
        firstPlace = i;
        out[i] = d >= 0 ? digits[d--] : u'0';
    }
    // Digits beyond the pattern's places go in front of its first place.
    if (d >= 0 && firstPlace >= 0)
        out.insert(firstPlace, digits.left(d + 1));
    return out;
}

std::optional<QString> normaliseDate(const QString &typed, const QDate &today)
{
    QString candidate;
    switch (typed.size()) {
    case 1:
    case 2:
        candidate = today.toString(QStringLiteral("yyyy-MM-")) + formatDigits(typed, QStringLiteral("00"));
        break;
    case 3:
    case 4:
        candidate = today.toString(QStringLiteral("yyyy")) + formatDigits(typed, QStringLiteral("-00-00"));
        break;
    case 6:
        candidate = QStringLiteral("20") + formatDigits(typed, QStringLiteral("00-00-00"));
        break;
    case 8:
        candidate = formatDigits(typed, QStringLiteral("0000-00-00"));
        break;
    default:
        candidate = typed;
        break;
    }
    const auto d = parseDate(candidate);
    if (!d)
        return std::nullopt;
    return d->toString(QStringLiteral("yyyy-MM-dd"));
}

QString dateFormatMessage(const QString &typed)
{
    const QString crlf = QStringLiteral("\r\n");
    return QLatin1Char('[') + typed + QStringLiteral("]는 날짜형식이 아닙니다.             ") + crlf + crlf
           + QStringLiteral(" 가능한 형식은 아래와 같습니다.") + crlf + crlf + QStringLiteral("   * 2004-01-01") + crlf
           + QStringLiteral("   * 20040101") + crlf + QStringLiteral("   * 040101") + crlf
           + QStringLiteral("   * 0101") + crlf + QStringLiteral("   * 101 (※10월1일은 1001)") + crlf
           + QStringLiteral("   * 1 (당월의 일자지정시)");
}

bool CheckDate(QString &text, UserPrompt &prompt, const QDate &today)
{
    if (const auto stored = normaliseDate(text, today)) {
        text = *stored;
        return true;
    }
    prompt.MsgInfo(dateFormatMessage(text));
    return false;
}
