// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>

#include "callerreport.h"
#include "linesplitter.h"

// The formatted caller-ID report of Hayes-compatible modems and caller-ID boxes:
//   RING / DATE = 1209 / TIME = 1405 / NMBR = 0212345678 / NAME = ... / MESG = ... / RING
// A report is complete with its NMBR line, so the number is out as soon as its line ends. A call
// whose second RING comes without a number before it is a call without a number.
class CallerIdParser final
{
public:
    // A RING or report more than this after the last one belongs to a new call.
    static constexpr qint64 CallGapMs = 8000;

    // nowMs: a monotonic clock, used only to tell one call's rings from the next call's.
    QList<CallerReport> feed(QByteArrayView bytes, qint64 nowMs);
    void reset();

private:
    void touchCall(qint64 nowMs);

    LineSplitter m_lines;
    qint64 m_lastActivity = -1;
    int m_rings = 0;
    bool m_callReported = false;
};
