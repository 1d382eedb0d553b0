// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A 사업자등록번호 as typed: ten digits whose last is a check digit over the first nine. Hyphens
// and blanks are accepted in the input; an empty number is allowed (a consumer, no business).
struct BusinessNumber
{
    QString digits; // the ten digits, or empty
    QString error;  // which rule the typed number broke, in Korean; empty when usable

    bool ok() const { return error.isEmpty(); }
    bool isEmpty() const { return digits.isEmpty(); }
    // "123-45-67890"; empty for no number.
    QString formatted() const;

    static BusinessNumber parse(const QString &typed);
    // The check digit the first nine digits call for.
    static int checkDigit(const QString &nineDigits);
};
