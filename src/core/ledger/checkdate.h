// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDate>
#include <QString>

class UserPrompt;

// Typed dates: the short forms of the ledger turned into the stored "YYYY-MM-DD".
// "today" is a parameter so that the rules can be checked on any day.

// The stored form of typed, or nullopt when it is no date. By length: 1–2 a day of today's
// month, 3–4 month and day of today's year, 6 YYMMDD in the 2000s, 8 YYYYMMDD; any other
// length is tested as typed (e.g. 2004-01-01, 2004/01/05).
std::optional<QString> normaliseDate(const QString &typed, const QDate &today);

// True with text replaced by its stored form; otherwise text stays as typed and the
// information box dateFormatMessage(text) is shown.
bool CheckDate(QString &text, UserPrompt &prompt, const QDate &today = QDate::currentDate());

// The refusal, with the typed text between the brackets.
QString dateFormatMessage(const QString &typed);

// Fills digits into a numeric format pattern from the right ("-00-00" with 101 gives
// "-01-01"); text that is not all ASCII digits comes back unchanged.
QString formatDigits(const QString &typed, const QString &pattern);
