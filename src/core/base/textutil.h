// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

// Byte length in CP949: a Hangul syllable or other double-byte character counts 2, any
// single-byte character 1, and a character CP949 cannot hold 1 (the '?' it becomes).
int LenAnsi(const QString &text);
// The same count worked out character by character.
int ByteLen(const QString &text);
// True for a non-empty text of ASCII digits only (full-width digits are no digits here).
bool isAsciiDigits(const QString &text);
// A whole-won amount with thousands separators and no currency symbol: "-1,234,567".
QString formatMoney(qint64 value);
// The text of a database value; "" for Null.
QString NullToStr(const QVariant &value);
// Telephone number with dashes; localPart gets the number without its area code when the
// number could be formatted, and is left untouched otherwise.
QString FormatTel(const QString &number, QString *localPart = nullptr);
