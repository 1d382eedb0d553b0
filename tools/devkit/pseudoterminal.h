// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A pseudo-terminal pair standing in for a caller-ID box: the program opens devicePath() as its
// serial port, and whatever is written here arrives there. Closing it is pulling the plug.
// POSIX systems only.
class PseudoTerminal final
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString errorString() const { return m_error; }
    QString devicePath() const { return m_path; }
    int masterFd() const { return m_master; }

    bool write(QByteArrayView bytes);
    // What the program sent to the device since the last read; never waits.
    QByteArray readAvailable();
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QString m_error;
};
