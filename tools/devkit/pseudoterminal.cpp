// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudoterminal.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

#include "core/base/systemerror.h"

PseudoTerminal::PseudoTerminal()
{
#ifdef Q_OS_UNIX
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        const int error = errno;
        m_error = errnoText(error, QString::fromLocal8Bit(std::strerror(error)));
        close();
        return;
    }
    m_path = QString::fromLocal8Bit(ptsname(m_master));
    // Holding the device side open keeps the pair alive before the program opens it and between
    // its opens; raw mode keeps the line discipline from echoing or holding back what is sent.
    m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    if (m_slave >= 0) {
        termios tio{};
        if (tcgetattr(m_slave, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_slave, TCSANOW, &tio);
        }
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
#else
    m_error = QStringLiteral("가상 직렬포트는 POSIX 시스템에서만 만들 수 있습니다.");
#endif
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::write(QByteArrayView bytes)
{
#ifdef Q_OS_UNIX
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EAGAIN) {
            usleep(1000);
            continue;
        }
        if (n <= 0)
            return false;
        done += n;
    }
    return m_master >= 0;
#else
    Q_UNUSED(bytes);
    return false;
#endif
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray bytes;
#ifdef Q_OS_UNIX
    char buffer[4096];
    ssize_t n = 0;
    while (m_master >= 0 && (n = ::read(m_master, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, n);
#endif
    return bytes;
}

void PseudoTerminal::close()
{
#ifdef Q_OS_UNIX
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
#endif
    m_slave = -1;
    m_master = -1;
}
