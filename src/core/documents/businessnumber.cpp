// SPDX-License-Identifier: GPL-3.0-or-later
#include "businessnumber.h"

#include <array>

namespace {
constexpr std::array<int, 9> kWeights{1, 3, 7, 1, 3, 7, 1, 3, 5};
}

QString BusinessNumber::formatted() const
{
    if (digits.size() != 10)
        return digits;
    return digits.left(3) + QLatin1Char('-') + digits.mid(3, 2) + QLatin1Char('-') + digits.mid(5);
}

int BusinessNumber::checkDigit(const QString &nineDigits)
{
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += nineDigits.at(i).digitValue() * kWeights[static_cast<size_t>(i)];
    // The ninth digit's weight 5 carries its tens into the sum as well.
    sum += nineDigits.at(8).digitValue() * 5 / 10;
    return (10 - sum % 10) % 10;
}

BusinessNumber BusinessNumber::parse(const QString &typed)
{
    BusinessNumber n;
    for (const QChar c : typed) {
        if (c == QLatin1Char('-') || c.isSpace())
            continue;
        // Only ASCII digits: a full-width digit would not survive in Hometax's sheet.
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            n.error = QStringLiteral("사업자등록번호에는 숫자와 '-'만 쓸 수 있습니다: %1").arg(typed.trimmed());
            return n;
        }
        n.digits += c;
    }
    if (n.digits.isEmpty())
        return n;
    if (n.digits.size() != 10)
        n.error = QStringLiteral("사업자등록번호는 숫자 10자리입니다. 입력한 번호는 %1자리입니다.").arg(n.digits.size());
    else if (n.digits == QStringLiteral("0000000000"))
        n.error = QStringLiteral("사업자등록번호가 모두 0일 수는 없습니다.");
    else if (n.digits.at(9).digitValue() != checkDigit(n.digits))
        n.error = QStringLiteral("사업자등록번호의 마지막 자리(검증 숫자)가 맞지 않습니다. 번호를 다시 확인해 주십시오.");
    return n;
}
