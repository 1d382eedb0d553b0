// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include "callerreport.h"
#include "ncidparser.h"

// A client of a network caller-ID server. Once started it stays in use until stopped: when the
// server refuses or goes away it tries again, waiting longer each time, and says so once per outage.
class NcidClient final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NcidClient)

public:
    static constexpr quint16 DefaultPort = 3333;
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LongestRetryMs = 60000;

    explicit NcidClient(QObject *parent = nullptr);
    ~NcidClient() override;

    void start(const QString &host, quint16 port);
    void stop();
    bool isActive() const { return m_active; }
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    int nextRetryMs() const { return m_retryMs; }

signals:
    void reported(const CallerReport &report);
    void connected();
    void connectionLost(const QString &reason);

private:
    void connectNow();
    void retryLater(const QString &reason);

    QTcpSocket m_socket;
    QTimer m_retry;
    NcidParser m_parser;
    QString m_host;
    quint16 m_port = DefaultPort;
    int m_retryMs = FirstRetryMs;
    bool m_active = false;
    bool m_outageReported = false;
};
