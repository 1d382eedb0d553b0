// SPDX-License-Identifier: GPL-3.0-or-later
#include "ncidclient.h"

#include <algorithm>

#include "core/base/systemerror.h"

NcidClient::NcidClient(QObject *parent) : QObject(parent)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &NcidClient::connectNow);
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_retryMs = FirstRetryMs;
        m_outageReported = false;
        emit connected();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
        for (const CallerReport &report : m_parser.feed(m_socket.readAll()))
            emit reported(report);
    });
    // A refused connection gives only the error, a server going away the error and the
    // disconnect: either schedules the one retry.
    const auto lost = [this] { retryLater(socketErrorText(m_socket.error(), m_socket.errorString())); };
    connect(&m_socket, &QTcpSocket::errorOccurred, this, lost);
    connect(&m_socket, &QTcpSocket::disconnected, this, lost);
}

NcidClient::~NcidClient()
{
    // The socket outlives the timer and the parser here; what it signals as it goes is not news.
    m_socket.disconnect(this);
    stop();
}

void NcidClient::start(const QString &host, quint16 port)
{
    stop();
    m_host = host;
    m_port = port;
    m_active = true;
    m_retryMs = FirstRetryMs;
    m_outageReported = false;
    connectNow();
}

void NcidClient::stop()
{
    m_active = false;
    m_retry.stop();
    m_socket.abort();
    m_parser.reset();
}

void NcidClient::connectNow()
{
    if (!m_active)
        return;
    m_socket.abort();
    m_parser.reset();
    m_socket.connectToHost(m_host, m_port);
}

void NcidClient::retryLater(const QString &reason)
{
    if (!m_active || m_retry.isActive())
        return;
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, LongestRetryMs);
    if (!m_outageReported) {
        m_outageReported = true;
        emit connectionLost(reason);
    }
}
