// SPDX-License-Identifier: GPL-3.0-or-later
#include "textutil.h"

#include "cp949.h"

#include <QList>

int LenAnsi(const QString &text)
{
    return static_cast<int>(Cp949::encode(text).size());
}

int ByteLen(const QString &text)
{
    int n = 0;
    for (uint cp : text.toUcs4()) {
        if (cp < 0x80)
            n += 1;
        else if (cp >= 0xAC00 && cp <= 0xD7A3) // every Hangul syllable is double-byte in CP949
            n += 2;
        else
            n += static_cast<int>(Cp949::encode(QString::fromUcs4(reinterpret_cast<const char32_t *>(&cp), 1)).size());
    }
    return n;
}

QString NullToStr(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    return value.toString();
}

QString formatMoney(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

bool isAsciiDigits(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

QString FormatTel(const QString &number, QString *localPart)
{
    if (number.size() < 6)
        return number;
    QString digits = number;
    if (!isAsciiDigits(digits)) {
        digits.clear();
        for (QChar c : number)
            if (c >= u'0' && c <= u'9')
                digits.append(c);
    }
    if (digits.size() <= 4 || !isAsciiDigits(digits))
        return digits;
    int area = 0;
    if (digits.startsWith(u"02"))
        area = 2;
    else if (digits.startsWith(u'0') && digits.size() > 8)
        area = 3;
    const qsizetype total = digits.size();
    QString result;
    if (area > 0 && total - area - 4 > 0) {
        result = digits.left(area) + u'-' + digits.mid(area, total - area - 4) + u'-' + digits.right(4);
        if (localPart)
            *localPart = result.mid(area + 1);
    } else {
        result = digits.left(total - 4) + u'-' + digits.right(4);
        if (localPart)
            *localPart = result;
    }
    return result;
}
