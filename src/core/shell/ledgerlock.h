// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QString>

class QLocalServer;
class QLockFile;

// One program at a time on a ledger file: two windows on one file each kept showing their own
// old figures. The lock is a file beside the ledger held with the system's file lock, which the
// system lets go of however the holder ends (kill -9 too), so no stale lock ever needs clearing.
class LedgerLock final
{
public:
    explicit LedgerLock(const QString &ledgerFile);
    ~LedgerLock();
    LedgerLock(const LedgerLock &) = delete;
    LedgerLock &operator=(const LedgerLock &) = delete;

    enum class Outcome { Taken, HeldElsewhere, Failed };
    // error, when given, gets the system's reason of a failure.
    Outcome take(QString *error = nullptr);
    bool held() const;
    void release();

    static QString lockPath(const QString &ledgerFile) { return ledgerFile + QStringLiteral(".lock"); }
    static QString heldText(const QString &ledgerFile);

private:
    QString m_path;
    int m_fd = -1;
#ifndef Q_OS_UNIX
    std::unique_ptr<QLockFile> m_file;
#endif
};

// The bell between the window that holds a ledger and a second start on it: the holder listens
// under a name made from the ledger's path, and a second start asks it to come to the front.
class InstanceBell final
{
public:
    explicit InstanceBell(const QString &ledgerFile);
    ~InstanceBell();
    InstanceBell(const InstanceBell &) = delete;
    InstanceBell &operator=(const InstanceBell &) = delete;

    // The holder's side; ring is called (in the event loop) for each request. False when the
    // name could not be taken: the second start is then still refused, only not answered.
    bool listen(std::function<void()> ring);
    // The second start's side: true when the holder took the request.
    bool ring(int timeoutMs = 2000) const;

    static QString serverName(const QString &ledgerFile);

private:
    QString m_name;
    std::unique_ptr<QLocalServer> m_server;
};
