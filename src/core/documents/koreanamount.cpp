// SPDX-License-Identifier: GPL-3.0-or-later
#include "koreanamount.h"

namespace {

// Four digits, 1..9999, in words: "구천구백구십구".
QString fourDigits(int n)
{
    static const char16_t *digits[] = {u"", u"일", u"이", u"삼", u"사", u"오", u"육", u"칠", u"팔", u"구"};
    static const char16_t *units[] = {u"천", u"백", u"십", u""};
    QString out;
    for (int place = 0, divisor = 1000; place < 4; ++place, divisor /= 10) {
        const int d = n / divisor % 10;
        if (d != 0)
            out += QString::fromUtf16(digits[d]) + QString::fromUtf16(units[place]);
    }
    return out;
}

} // namespace

QString amountInKoreanWords(qint64 amount)
{
    static const char16_t *groups[] = {u"", u"만", u"억", u"조", u"경"};
    // Unsigned, so that the smallest whole number has a magnitude too.
    quint64 rest = amount < 0 ? 0 - static_cast<quint64>(amount) : static_cast<quint64>(amount);
    QString words;
    for (int g = 0; rest > 0; ++g, rest /= 10000) {
        const int part = static_cast<int>(rest % 10000);
        if (part != 0)
            words.prepend(fourDigits(part) + QString::fromUtf16(groups[g]));
    }
    if (words.isEmpty())
        words = QStringLiteral("영");
    return QStringLiteral("일금 ") + (amount < 0 ? QStringLiteral("마이너스 ") : QString()) + words + QStringLiteral("원정");
}
