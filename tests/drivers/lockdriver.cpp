// SPDX-License-Identifier: GPL-3.0-or-later
// lockdriver LEDGER: another program holding the ledger in an exclusive transaction. Says
// "locked" once it holds the lock and lets go when its standard input closes.
// lockdriver --ledger-lock LEDGER: another start of the program holding the ledger file's lock.
#include <cstdio>

#include <QCoreApplication>

#include "core/data/database.h"
#include "core/shell/ledgerlock.h"

namespace {
void waitForStdinToClose()
{
    char buffer[64];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    if (argc == 3 && qstrcmp(argv[1], "--ledger-lock") == 0) {
        LedgerLock lock(QString::fromLocal8Bit(argv[2]));
        if (lock.take() != LedgerLock::Outcome::Taken)
            return 4;
        std::puts("locked");
        std::fflush(stdout);
        waitForStdinToClose();
        return 0;
    }
    Database db;
    if (!db.open(QString::fromLocal8Bit(argv[1])))
        return 3;
    if (!db.exec(SqlStatement(QStringLiteral("BEGIN EXCLUSIVE"))).ok())
        return 4;
    std::puts("locked");
    std::fflush(stdout);
    waitForStdinToClose();
    db.exec(SqlStatement(QStringLiteral("ROLLBACK")));
    return 0;
}
