// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDate>
#include <QString>
#include <QStringList>

#include "core/masterdata/businessmode.h"

class UserPrompt;

// Money received from a customer (입금) or paid to a supplier (지급): one row of table payment.
struct Payment
{
    qint64 id = 0; // payment_id; 0 before it is saved
    BusiMode mode = BusiMode::Customer;
    qint64 clientCode = 0;
    QString date; // "YYYY-MM-DD"
    qint64 amount = 0; // whole won; negative for a refund or a correction
    QString method;
    QString memo;
};

// The opening balance of a client: what was owed on opening_date, before any voucher or
// payment of the ledger. A client without a row starts at 0.
struct ClientOpening
{
    QString date; // "YYYY-MM-DD", or empty
    qint64 amount = 0;
    bool operator==(const ClientOpening &) const = default;
};

namespace PaymentRules {

// The methods offered, first the default: 현금, 계좌이체, 카드, 어음, 기타.
QStringList methods();
// "입금" for customers, "지급" for suppliers.
QString paymentWord(BusiMode mode);
// The amount of a typed text ("1,250,000", "-5000"); nullopt for 0, text or an amount beyond
// the ledger's range, after the money rules' box.
std::optional<qint64> parseAmount(const QString &typed, UserPrompt &prompt);
// The same for an opening balance, where 0 is allowed (no balance).
std::optional<qint64> parseOpeningAmount(const QString &typed, UserPrompt &prompt);
// The stored date of a typed one by the ledger's date rules; nullopt after the date box.
std::optional<QString> parseDate(const QString &typed, UserPrompt &prompt, const QDate &today);

// A balance as the panels show it: "미수금 1,250,000원", a negative one "선수금 …"; for
// suppliers "미지급금 …" and "선급금 …".
QString balanceText(BusiMode mode, qint64 balance);
// The name shown for a code that is no longer in the register.
QString deletedClientName();

} // namespace PaymentRules
