// SPDX-License-Identifier: GPL-3.0-or-later
// lockdriver LEDGER: another program holding the ledger in an exclusive transaction. Says
// "locked" once it holds the lock and lets go when its standard input closes.
#include <cstdio>

#include <QCoreApplication>

#include "core/data/database.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Database db;
    if (!db.open(QString::fromLocal8Bit(argv[1])))
        return 3;
    if (!db.exec(SqlStatement(QStringLiteral("BEGIN EXCLUSIVE"))).ok())
        return 4;
    std::puts("locked");
    std::fflush(stdout);
    char buffer[64];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    db.exec(SqlStatement(QStringLiteral("ROLLBACK")));
    return 0;
}
