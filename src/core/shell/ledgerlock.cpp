// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerlock.h"

#include <cerrno>
#include <cstring>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");

QString canonical(const QString &ledgerFile)
{
    const QFileInfo info(ledgerFile);
    const QString c = info.canonicalFilePath();
    return c.isEmpty() ? info.absoluteFilePath() : c;
}
} // namespace

LedgerLock::LedgerLock(const QString &ledgerFile) : m_path(lockPath(ledgerFile)) {}

LedgerLock::~LedgerLock() { release(); }

bool LedgerLock::held() const { return m_fd >= 0; }

#ifdef Q_OS_UNIX
LedgerLock::Outcome LedgerLock::take(QString *error)
{
    if (held())
        return Outcome::Taken;
    const QByteArray path = QFile::encodeName(m_path);
    // Readable by the owner only, like the ledger; the file is never removed, since removing it
    // while another start has it open would let two starts lock two different files.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return Outcome::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(fd);
        if (reason == EWOULDBLOCK)
            return Outcome::HeldElsewhere;
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(reason));
        return Outcome::Failed;
    }
    m_fd = fd;
    return Outcome::Taken;
}

void LedgerLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing lets go of the lock
    m_fd = -1;
}
#else
// Elsewhere a lock file with the holder's process id, taken over once that process is gone.
LedgerLock::Outcome LedgerLock::take(QString *error)
{
    if (held())
        return Outcome::Taken;
    m_file = std::make_unique<QLockFile>(m_path);
    m_file->setStaleLockTime(0);
    if (m_file->tryLock(0)) {
        m_fd = 0;
        return Outcome::Taken;
    }
    const bool elsewhere = m_file->error() == QLockFile::LockFailedError;
    m_file.reset();
    if (!elsewhere && error)
        *error = QStringLiteral("잠금 파일을 만들 수 없습니다.");
    return elsewhere ? Outcome::HeldElsewhere : Outcome::Failed;
}

void LedgerLock::release()
{
    m_file.reset();
    m_fd = -1;
}
#endif

QString LedgerLock::heldText(const QString &ledgerFile)
{
    return QStringLiteral("이 장부는 이미 다른 솔빛셈 창에서 열려 있습니다.\r\n"
                          "같은 장부를 두 창에서 열면 서로 고친 내용이 보이지 않으므로 이 창은 열지 않습니다.\r\n"
                          "열려 있는 창을 앞으로 가져옵니다.\r\n")
           + QDir::toNativeSeparators(ledgerFile);
}

InstanceBell::InstanceBell(const QString &ledgerFile) : m_name(serverName(ledgerFile)) {}

InstanceBell::~InstanceBell() = default;

QString InstanceBell::serverName(const QString &ledgerFile)
{
    const QByteArray hash = QCryptographicHash::hash(canonical(ledgerFile).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("solbitsem-") + QString::fromLatin1(hash.toHex().left(32));
}

bool InstanceBell::listen(std::function<void()> ring)
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The ledger's lock is ours, so a name still taken is a killed holder's left-over.
    if (!m_server->listen(m_name)) {
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            m_server.reset();
            return false;
        }
    }
    QLocalServer *server = m_server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, ring = std::move(ring)] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, ring] {
                if (socket->bytesAvailable() < kActivate.size())
                    return;
                if (socket->read(kActivate.size()) == kActivate)
                    ring();
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool InstanceBell::ring(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}
