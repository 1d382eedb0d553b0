// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "core/shell/ledgerlock.h"

class tst_LedgerLock : public QObject
{
    Q_OBJECT

private slots:
    void oneHolderAtATime();
    void aKilledHolderLetsGoAtOnce();
    void theBellReachesTheHolder();
};

void tst_LedgerLock::oneHolderAtATime()
{
    QTemporaryDir dir;
    const QString ledger = dir.filePath(QStringLiteral("panDB.db"));
    LedgerLock first(ledger);
    QCOMPARE(first.take(), LedgerLock::Outcome::Taken);
    // The lock file holds nothing, yet is the owner's alone like the ledger beside it.
    QCOMPARE(QFileInfo(LedgerLock::lockPath(ledger)).permissions() & 0x0077, QFileDevice::Permissions());
    LedgerLock second(ledger);
    QCOMPARE(second.take(), LedgerLock::Outcome::HeldElsewhere);
    QVERIFY(!second.held());
    first.release();
    QCOMPARE(second.take(), LedgerLock::Outcome::Taken);
    // Another ledger in the same folder is another lock.
    LedgerLock other(dir.filePath(QStringLiteral("other.db")));
    QCOMPARE(other.take(), LedgerLock::Outcome::Taken);

    LedgerLock nowhere(dir.filePath(QStringLiteral("no/such/folder/panDB.db")));
    QString reason;
    QCOMPARE(nowhere.take(&reason), LedgerLock::Outcome::Failed);
    QVERIFY(!reason.isEmpty());
}

void tst_LedgerLock::aKilledHolderLetsGoAtOnce()
{
    QTemporaryDir dir;
    const QString ledger = dir.filePath(QStringLiteral("panDB.db"));
    QProcess holder;
    holder.start(QStringLiteral(SOLBITSEM_LOCKDRIVER), {QStringLiteral("--ledger-lock"), ledger});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
    LedgerLock mine(ledger);
    QCOMPARE(mine.take(), LedgerLock::Outcome::HeldElsewhere);
    holder.kill(); // SIGKILL: nothing of the holder's own runs
    QVERIFY(holder.waitForFinished(10000));
    QCOMPARE(mine.take(), LedgerLock::Outcome::Taken);
}

void tst_LedgerLock::theBellReachesTheHolder()
{
    QTemporaryDir dir;
    const QString ledger = dir.filePath(QStringLiteral("panDB.db"));
    QVERIFY(!InstanceBell(ledger).ring(200)); // nobody listens yet
    int rung = 0;
    {
        InstanceBell holder(ledger);
        QVERIFY(holder.listen([&rung] { ++rung; }));
        QVERIFY(InstanceBell(ledger).ring());
        QTRY_COMPARE(rung, 1);
        // Another ledger's bell is not this one.
        QVERIFY(!InstanceBell(dir.filePath(QStringLiteral("other.db"))).ring(200));
    }
    // A holder killed without closing leaves its socket file behind; the next holder, which
    // holds the ledger's lock, takes the name over.
    QFile leftOver(QDir::tempPath() + QLatin1Char('/') + InstanceBell::serverName(ledger));
    QVERIFY(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    InstanceBell next(ledger);
    QVERIFY(next.listen([&rung] { rung += 10; }));
    QVERIFY(InstanceBell(ledger).ring());
    QTRY_COMPARE(rung, 11);
}

QTEST_GUILESS_MAIN(tst_LedgerLock)
#include "tst_ledgerlock.moc"
