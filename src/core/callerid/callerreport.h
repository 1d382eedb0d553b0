// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a caller-ID device said, in the kinds the main window tells apart.
struct CallerReport
{
    enum Kind { Number = 1, NoNumber = 2, Other = 3 };

    int kind = Other;
    // Number: the number as received; NoNumber: what came in its place ("P", "PRIVATE",
    // "0000000000", "" when nothing did, ringOnlyWord() for a call that only rang); Other: the
    // device's line.
    QString data;

    friend bool operator==(const CallerReport &, const CallerReport &) = default;
};

// What kind of call a report was, as the call history keeps and names it.
enum class CallKind { Number = 1, Withheld = 2, Unavailable = 3, RingOnly = 4 };

// What stands for a call that rang without any number report (network caller-ID servers send it
// as the number too).
inline QString ringOnlyWord() { return QStringLiteral("RING"); }

// The kind of the text a device sent as the number. A number has a digit other than 0: words
// such as "P", "PRIVATE", "Restricted", "-" or "OUT-OF-AREA" and a run of zeros stand in for a
// number the network withheld or never had.
CallKind callKindOfNumber(const QString &reported);
// The kind of a Number or NoNumber report; a NoNumber report is never a number.
CallKind callKindOf(int reportKind, const QString &data);
// "번호 있음", "발신번호 표시 제한", "발신번호 알 수 없음", "번호 없이 벨만 울림".
QString callKindText(CallKind kind);
