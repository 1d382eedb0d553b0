// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>

#include "callerreport.h"
#include "linesplitter.h"

// The line protocol of a network caller-ID (NCID) server. Only call lines count:
//   CID: *DATE*12092026*TIME*1405*LINE*POTS*NMBR*0212345678*MESG*NONE*NAME*KIM*
// The greeting, the call log replayed on connect (CIDLOG:), messages and hang-ups are not calls.
class NcidParser final
{
public:
    QList<CallerReport> feed(QByteArrayView bytes);
    void reset() { m_lines.clear(); }

private:
    LineSplitter m_lines;
};
