// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include "core/shell/settingkeys.h"
#include "calleridparser.h"
#include "ncidclient.h"

class AppSettings;

// The caller-ID device on one port, under the member names the main window calls it by.
//
// A port name is "COM" + the stored port text. In section "환경설정" the key of that name (say
// "COM3") may hold the device to use instead: a path such as /dev/ttyUSB0, or "NCID:host[:port]"
// for a network caller-ID server; a port text "NCID:host[:port]" selects the server directly.
// Otherwise COMn is the port itself on Windows and /dev/ttyS(n-1) elsewhere.
class telvox final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(telvox)

public:
    // Results of OpenPort and ClosePort: 0 is success, anything else a failure.
    enum Result {
        Done = 0,
        Failed = 1,        // the system refused; reply carries its words
        NoSuchPort = 2,    // a name that maps to no device, or a device that is not there
        PortInUse = 3,     // another program holds the port
        AlreadyOpen = 4,
        NotOpen = 5,       // ClosePort on a name this member has not open
        BadSetting = 6,    // a line setting that is not a speed, width, parity or stop bit count
    };

    // Keys in section "환경설정"; the defaults are a Hayes modem's caller-ID setup.
    static QString baudRateKey() { return Settings::telvoxBaudRate.name; }
    static QString dataBitsKey() { return Settings::telvoxDataBits.name; }
    static QString parityKey() { return Settings::telvoxParity.name; }
    static QString stopBitsKey() { return Settings::telvoxStopBits.name; }
    static QString initCommandKey() { return Settings::telvoxInitCommand.name; }

    explicit telvox(AppSettings &settings, QObject *parent = nullptr);
    ~telvox() override;

    // reply: what was opened (the device or server), or why not.
    int OpenPort(QString &name, QString &reply);
    int ClosePort(QString &name, QString &reply);
    // A network member stays open while it waits to reconnect.
    bool IsOpen() const;

signals:
    void Received(const CallerReport &report);
    // The device went away under an open port (a USB adapter pulled out, a server gone), once
    // per loss. A serial port is closed by then, so opening it again is a fresh start; a network
    // member keeps trying by itself.
    void linkLost(const QString &name, const QString &reason);

private:
    int openSerial(const QString &path, QString &reply);
    int openNetwork(const QString &address, QString &reply);
    void emitReports(const QList<CallerReport> &reports);
    void onSerialError(QSerialPort::SerialPortError error);

    AppSettings &m_settings;
    QSerialPort m_serial;
    NcidClient m_ncid;
    CallerIdParser m_parser;
    QElapsedTimer m_clock;
    QTimer m_quiet;
    QString m_name;
};
