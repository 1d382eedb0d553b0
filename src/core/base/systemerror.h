// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSocket>
#include <QSerialPort>
#include <QString>

// The system's failures in words a shop understands. The system's own text, in whatever language
// the system speaks, follows on a second line for whoever gives support; it is left out when empty.
QString serialErrorText(QSerialPort::SerialPortError error, const QString &systemText);
QString socketErrorText(QAbstractSocket::SocketError error, const QString &systemText);
// errnoValue: a C library error number (ENOENT, EACCES, ...).
QString errnoText(int errnoValue, const QString &systemText);
