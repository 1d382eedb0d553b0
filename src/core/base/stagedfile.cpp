// SPDX-License-Identifier: GPL-3.0-or-later
#include "stagedfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "systemerror.h"

namespace {

QString failure(int error)
{
    return errnoText(error, QString::fromLocal8Bit(std::strerror(error)));
}

// A writer that failed without saying why most often ran out of room.
QString unfinished(const QString &folder)
{
    struct statvfs fs{};
    if (::statvfs(QFile::encodeName(folder).constData(), &fs) == 0 && fs.f_bavail == 0)
        return failure(ENOSPC);
    return QStringLiteral("파일을 끝까지 쓰지 못했습니다.");
}

bool endsWith(int fd, const QByteArray &wanted)
{
    struct stat st{};
    if (::fstat(fd, &st) != 0)
        return false;
    QByteArray tail(int(std::min<off_t>(st.st_size, 1024)), '\0');
    if (::pread(fd, tail.data(), size_t(tail.size()), st.st_size - tail.size()) != tail.size())
        return false;
    while (tail.endsWith('\n') || tail.endsWith('\r') || tail.endsWith(' '))
        tail.chop(1);
    return tail.endsWith(wanted);
}

// Six random letters and digits mix at least two of the kinds (all but about one in a hundred);
// a name a person gave, "backup" or "2024", rarely does.
bool looksRandom(const QString &six)
{
    const bool upper = std::any_of(six.begin(), six.end(), [](QChar c) { return c.isUpper(); });
    const bool lower = std::any_of(six.begin(), six.end(), [](QChar c) { return c.isLower(); });
    const bool digit = std::any_of(six.begin(), six.end(), [](QChar c) { return c.isDigit(); });
    return int(upper) + int(lower) + int(digit) >= 2;
}

} // namespace

StagedFile::StagedFile(const QString &target)
    : m_target(target)
{
}

StagedFile::~StagedFile()
{
    discard();
}

QString StagedFile::create()
{
    QFileInfo info(m_target);
    // A link is written through, as an editor would, not replaced by a file of its own.
    if (info.isSymLink() && info.exists()) {
        m_target = info.canonicalFilePath();
        info = QFileInfo(m_target);
    }
    if (info.isDir())
        return errnoText(EISDIR, {});
    // The rename would replace a file the user made read-only.
    if (info.isFile() && !info.isWritable())
        return failure(EACCES);
    if (info.exists() && !info.isFile()) {
        m_direct = true;
        m_fd = ::open(QFile::encodeName(m_target).constData(), O_WRONLY | O_CLOEXEC);
    } else {
        removeStaleTemporaries(info.absolutePath(), info.fileName());
        QByteArray pattern = QFile::encodeName(m_target) + ".XXXXXX";
        m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (m_fd >= 0) {
            m_tempPath = QFile::decodeName(pattern);
            ::flock(m_fd, LOCK_EX | LOCK_NB); // this run's claim, as TemporaryClaim makes it
            // A new file is the owner's alone (mkostemp's 0600); one replaced keeps the mode its
            // owner gave it.
            struct stat existing;
            if (info.isFile() && ::stat(QFile::encodeName(m_target).constData(), &existing) == 0)
                ::fchmod(m_fd, existing.st_mode & 07777);
        }
    }
    if (m_fd < 0 && errno == ENOENT)
        return QStringLiteral("저장할 폴더가 없습니다: ") + QDir::toNativeSeparators(info.absolutePath());
    if (m_fd < 0)
        return failure(errno);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return {};
}

qint64 StagedFile::writeData(const char *data, qint64 size)
{
    if (m_fd < 0 || m_writeErrno != 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_writeErrno = n < 0 ? errno : ENOSPC;
            return -1;
        }
        done += n;
    }
    return done;
}

QString StagedFile::writeFailure() const
{
    return m_writeErrno == 0 ? QString() : failure(m_writeErrno);
}

QString StagedFile::commit(const QByteArray &wantedEnd)
{
    if (m_fd < 0)
        return failure(EBADF);
    QString error = writeFailure();
    const QString folder = QFileInfo(m_target).absolutePath();
    if (error.isEmpty() && !m_direct) {
        struct stat st{};
        if (::fstat(m_fd, &st) != 0 || st.st_size == 0 || (!wantedEnd.isEmpty() && !endsWith(m_fd, wantedEnd)))
            error = unfinished(folder);
    }
    // A device cannot be synced (EINVAL); a file whose sync fails is not on the disk.
    if (error.isEmpty() && ::fsync(m_fd) != 0 && !(m_direct && errno == EINVAL))
        error = failure(errno);
    QIODevice::close();
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && error.isEmpty() && !m_direct)
        error = failure(errno);
    if (!error.isEmpty() || m_direct) {
        discard();
        return error;
    }
    if (::rename(QFile::encodeName(m_tempPath).constData(), QFile::encodeName(m_target).constData()) != 0) {
        error = failure(errno);
        discard();
        return error;
    }
    m_tempPath.clear();
    // The rename itself is only lasting once the folder is synced.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

void StagedFile::discard()
{
    if (isOpen())
        QIODevice::close();
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_tempPath.isEmpty())
        ::unlink(QFile::encodeName(std::exchange(m_tempPath, QString())).constData());
}

TemporaryClaim::TemporaryClaim(const QString &path)
    : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
{
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_EX | LOCK_NB);
}

TemporaryClaim::~TemporaryClaim()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void removeStaleTemporaries(const QString &folder, const QString &name)
{
    const QRegularExpression temporary(QStringLiteral("^") + QRegularExpression::escape(name)
                                       + QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QFileInfo &f : dir.entryInfoList({name + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden)) {
        if (!temporary.match(f.fileName()).hasMatch() || !looksRandom(f.fileName().right(6))
            || f.lastModified().toUTC() > before)
            continue;
        const QByteArray path = QFile::encodeName(f.absoluteFilePath());
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            for (const char *journal : {"-journal", "-wal", "-shm"})
                ::unlink((path + journal).constData());
            ::unlink(path.constData());
        }
        ::close(fd);
    }
}
