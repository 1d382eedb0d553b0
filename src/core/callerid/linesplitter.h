// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Cuts a byte stream into lines at CR, LF or CR LF, across reads. A line longer than MaxLine is
// noise (a device talking at the wrong speed, a stuck sender): it is dropped up to its end, so
// the buffer never grows past MaxLine however long the line gets.
class LineSplitter final
{
public:
    static constexpr qsizetype MaxLine = 1024;

    // The complete, non-empty lines this read finished, without their line ends.
    QList<QByteArray> feed(QByteArrayView bytes);
    void clear();
    qsizetype buffered() const { return m_line.size(); }

private:
    QByteArray m_line;
    bool m_overflow = false;
};
