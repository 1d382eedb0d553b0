// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesplitter.h"

QList<QByteArray> LineSplitter::feed(QByteArrayView bytes)
{
    QList<QByteArray> lines;
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            // CR LF yields an empty second line, which is skipped like any blank line.
            if (!m_overflow && !m_line.isEmpty())
                lines.append(m_line);
            m_line.clear();
            m_overflow = false;
        } else if (!m_overflow) {
            if (m_line.size() < MaxLine) {
                m_line.append(c);
            } else {
                m_line.clear();
                m_overflow = true;
            }
        }
    }
    return lines;
}

void LineSplitter::clear()
{
    m_line.clear();
    m_overflow = false;
}
