// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>

#include "callerreport.h"
#include "linesplitter.h"

// The formatted caller-ID report of Hayes-compatible modems and caller-ID boxes:
//   RING / DATE = 1209 / TIME = 1405 / NMBR = 0212345678 / NAME = ... / MESG = ... / RING
// A report is complete with its NMBR line, so the number is out as soon as its line ends. A call
// whose second RING comes without a number before it is a call without a number, and so is a
// call that rang once and went quiet (expire).
class CallerIdParser final
{
public:
    // A RING or report more than this after the last one belongs to a new call.
    static constexpr qint64 CallGapMs = 8000;

    // nowMs: a monotonic clock, used only to tell one call's rings from the next call's.
    QList<CallerReport> feed(QByteArrayView bytes, qint64 nowMs);
    // The report of a call that rang without a number and has been quiet for CallGapMs.
    QList<CallerReport> expire(qint64 nowMs);
    void reset();

private:
    // Starts a new call after a gap, giving the report the call before it still owed.
    QList<CallerReport> touchCall(qint64 nowMs);
    CallerReport noNumberReport();

    LineSplitter m_lines;
    qint64 m_lastActivity = -1;
    int m_rings = 0;
    bool m_callReported = false;
    bool m_sawReport = false; // DATE, TIME, NAME or MESG lines came with this call
};
