// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QString>

// A file written whole or not at all: the bytes go to a temporary name beside the target, and
// commit() syncs them and renames them over it, so a kill or a full disk leaves the old file (or
// none). Anything not committed is removed, and what a killed run left beside the target is
// removed by the next one (removeStaleTemporaries). A target that exists and is no regular file (a
// device, a pipe) cannot be renamed over and is written directly.
//
// Writers that want a device write through this object; libraries that want a path write to
// writePath() (the same file) and commit() then checks what they left.
class StagedFile : public QIODevice
{
public:
    explicit StagedFile(const QString &target);
    ~StagedFile() override;

    // Creates the temporary file. Empty on success, else the reason in Korean.
    QString create();
    // Where a library that wants a path writes: the temporary file, or a device target itself.
    QString writePath() const { return m_direct ? m_target : m_tempPath; }
    bool isDirect() const { return m_direct; }
    // Checks (no write failed, not empty, and when wantedEnd is given the file ends with it
    // apart from trailing line breaks), syncs, renames over the target and syncs the folder.
    // Empty on success, else the reason in Korean; the temporary file is gone either way.
    QString commit(const QByteArray &wantedEnd = {});
    // The first failure of writeData() in Korean; empty while none happened.
    QString writeFailure() const;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    void discard();

    QString m_target;
    QString m_tempPath;
    int m_fd = -1;
    int m_writeErrno = 0;
    bool m_direct = false;
};

// A temporary file's sign of life: a lock held while this lives, which the system drops when the
// process ends, killed or not.
class TemporaryClaim final
{
public:
    explicit TemporaryClaim(const QString &path);
    ~TemporaryClaim();
    TemporaryClaim(const TemporaryClaim &) = delete;
    TemporaryClaim &operator=(const TemporaryClaim &) = delete;

private:
    int m_fd = -1;
};

// Removes what killed runs left in folder: files named name + "." + six letters or digits (the
// temporary names beside name), and their SQLite journals, that no living TemporaryClaim holds
// and that are older than a minute (a run that has just made its file has yet to claim it).
void removeStaleTemporaries(const QString &folder, const QString &name);
