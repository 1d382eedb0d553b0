// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <thread>

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "appsettings.h"
#include "startup.h"

class AppSettings;
class Database;
struct SqlError;
class UserPrompt;

// Copies of the ledger in a folder beside the data folder: one on the first start of a day and
// one whenever the user asks, each checked by the engine and recorded with its size and voucher
// count, old ones rotated away. A server ledger's copy is a ledger file as well. A restore puts a copy back in place and keeps the ledger it
// replaces aside under a dated name; nothing here ever deletes a ledger.
class LedgerBackup final
{
public:
    struct Entry
    {
        QString path;
        QDateTime taken;
        qint64 size = 0;
        qint64 vouchers = -1; // -1: not recorded
        QString check;        // "ok", the engine's findings, or empty when not recorded
    };

    LedgerBackup(AppSettings &settings, Database &db, UserPrompt &prompt, const AppPaths &paths);
    // Waits for a daily copy still being made.
    ~LedgerBackup();
    LedgerBackup(const LedgerBackup &) = delete;
    LedgerBackup &operator=(const LedgerBackup &) = delete;

    // "Now" for the names and the rotation; tests fix it.
    void setNow(const QDateTime &now) { m_now = now; }
    QDateTime now() const { return m_now.isValid() ? m_now : QDateTime::currentDateTime(); }

    QString folder() const;
    // A copy unless today has one already. A folder that cannot be written is said once in a
    // warning (this runs once per start); the program goes on either way.
    void dailyBackup();
    // The same on a thread of its own; its box, if any, comes through this thread's event loop,
    // after which reported (when set) is called.
    void startDailyBackup();
    void setReported(std::function<void()> reported) { m_reported = std::move(reported); }
    // A copy now, checked, recorded and rotated; the new entry, or an empty path after a box.
    Entry backupNow(bool quiet = false);
    // The copies in the folder, newest first, with what backup.ini says of them (nothing when it
    // records another size).
    QList<Entry> entries() const;
    // The same, each opened read-only and looked at quickly instead (a SQLite header, the voucher
    // count): what the files are, not what the record says.
    QList<Entry> examined() const;
    // Keeps the newest copy of each of the last days (setting "백업보관일수", 14) that have
    // copies and the first copy of each of the last months (setting "백업보관개월수", 12)
    // counted back from this month; removes the rest. Returns the removed files.
    QStringList rotate();
    // Checks the copy, asks, sets the current ledger aside, puts the copy in place and reopens
    // it; on a server the current rows go into a file and the copy's rows replace them. The
    // current password stays unless the user takes the copy's, and the calls received since the
    // copy stay in the call history. False when refused, declined or failed (the ledger then
    // stays as it was).
    bool restore(const Entry &entry);
    // Called after each step of a file restore with its number (1 to 4), so that a test can stop
    // the restore there as a kill would.
    void setAfterStep(std::function<void(int)> afterStep) { m_afterStep = std::move(afterStep); }
    // Where restore() put the ledger it replaced.
    QString setAsidePath() const { return m_setAside; }

    static QString sizeText(qint64 bytes);
    // A consistent copy of the open ledger, a file or a server's, into the new ledger file target,
    // taken while the program keeps running and writing: a file through SQLite's online backup, a
    // server's tables read in one snapshot. Written under a temporary name and renamed only when
    // whole, so a failed copy never looks like a backup. An existing target is refused.
    static SqlError copyLedger(Database &db, const QString &target);

private:
    struct Copy
    {
        Entry entry;
        QString failure; // why no copy was made
    };
    bool dailyDue();
    // The copy from source, its check, its record and the rotation: no box and no settings, so
    // that a worker thread may run it over a connection of its own.
    Copy makeCopy(Database &source, const QDateTime &at, int days, int months) const;
    void report(const Copy &copy, bool quiet);
    // The left-overs of copies killed at least ten minutes ago; the removed files.
    QStringList removeLeftovers() const;
    // The copy, given what it keeps from the current ledger by keep (an error text or empty),
    // put in the ledger's place and reopened; why not (the ledger then as it was).
    QString swapIn(const QString &copyPath, const QString &aside, const std::function<QString(Database &)> &keep);
    bool restoreOntoServer(const Entry &entry, const QString &aside, bool keepPassword, qint64 lastCall);
    QStringList rotate(const QDate &today, int days, int months) const;
    int keptDays() const;
    int keptMonths() const;
    QString recordFile() const;
    QString stamp() const;
    int setting(const SettingKey<int> &key) const;

    AppSettings &m_settings;
    Database &m_db;
    UserPrompt &m_prompt;
    AppPaths m_paths;
    QDateTime m_now;
    QString m_setAside;
    std::function<void()> m_reported;
    std::function<void(int)> m_afterStep;
    QObject m_context; // receives the worker's report; pending reports go with it
    std::thread m_worker;
};
