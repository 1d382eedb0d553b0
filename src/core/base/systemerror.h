// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSocket>
#include <QSerialPort>
#include <QSqlError>
#include <QString>

// The system's failures in words a shop understands. The system's own text, in whatever language
// the system speaks, follows on a second line for whoever gives support; it is left out when empty.
QString serialErrorText(QSerialPort::SerialPortError error, const QString &systemText);
QString socketErrorText(QAbstractSocket::SocketError error, const QString &systemText);
// errnoValue: a C library error number (ENOENT, EACCES, ...).
QString errnoText(int errnoValue, const QString &systemText);
// Whether a server refused the login for its password (SQLSTATE 28P01, or libpq's "no password
// supplied"), as against a server that is down or out of reach.
bool isPasswordRefused(const QSqlError &error);
// Why a ledger server could not be opened: a refused password, a server that does not answer,
// a host that is not found, a database that is missing.
QString serverConnectErrorText(const QSqlError &error);
