// SPDX-License-Identifier: GPL-3.0-or-later
#include "payment.h"

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/ledger/checkdate.h"
#include "core/ledger/ledgermodel.h"

namespace PaymentRules {

namespace {

// The typed amount without its thousands separators and blanks; nullopt when it is no whole
// number within the ledger's money range.
std::optional<qint64> amountOf(const QString &typed)
{
    QString digits = typed.trimmed();
    digits.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    if (!isAsciiDigits(digits) || digits.size() > 12)
        return std::nullopt;
    const qint64 value = digits.toLongLong();
    if (value > LedgerModel::AmountLimit)
        return std::nullopt;
    return negative ? -value : value;
}

QString amountMessage()
{
    return QStringLiteral("금액은 0이 아닌 숫자로 -999,999,999,999부터 999,999,999,999까지 입력할 수 있습니다.");
}

} // namespace

QStringList methods()
{
    return {QStringLiteral("현금"), QStringLiteral("계좌이체"), QStringLiteral("카드"), QStringLiteral("어음"),
            QStringLiteral("기타")};
}

QString paymentWord(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("입금") : QStringLiteral("지급");
}

std::optional<qint64> parseAmount(const QString &typed, UserPrompt &prompt)
{
    const auto value = amountOf(typed);
    if (!value || *value == 0) {
        prompt.MsgInfo(amountMessage());
        return std::nullopt;
    }
    return value;
}

std::optional<qint64> parseOpeningAmount(const QString &typed, UserPrompt &prompt)
{
    if (typed.trimmed().isEmpty())
        return 0;
    const auto value = amountOf(typed);
    if (!value)
        prompt.MsgInfo(amountMessage());
    return value;
}

std::optional<QString> parseDate(const QString &typed, UserPrompt &prompt, const QDate &today)
{
    QString text = typed.trimmed();
    if (!CheckDate(text, prompt, today))
        return std::nullopt;
    return text;
}

QString balanceText(BusiMode mode, qint64 balance)
{
    const bool customer = mode == BusiMode::Customer;
    const QString word = balance < 0 ? (customer ? QStringLiteral("선수금") : QStringLiteral("선급금"))
                                     : (customer ? QStringLiteral("미수금") : QStringLiteral("미지급금"));
    return word + QLatin1Char(' ') + formatMoney(balance < 0 ? -balance : balance) + QStringLiteral("원");
}

QString deletedClientName()
{
    return QStringLiteral("(삭제된 거래처)");
}

} // namespace PaymentRules
