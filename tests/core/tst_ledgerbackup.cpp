// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>
#include <QTest>

#include "core/shell/appsettings.h"
#include "core/shell/ledgerbackup.h"
#include "core/shell/login.h"
#include "core/shell/startup.h"
#include "core/shell/userpassword.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

// The data folder of a shop whose ledger is the server's: its backups and the dated file of a
// restore go beside it.
AppPaths serverPaths(const TempLedger &server)
{
    AppPaths paths;
    paths.gDbPath = server.folder() + QStringLiteral("/Dbs");
    paths.gDbFile = paths.gDbPath + QStringLiteral("/panDB.db");
    return paths;
}

// A ledger at <temp>/Dbs/panDB.db, so that the backups go to <temp>/Backup.
struct Shop
{
    QTemporaryDir dir;
    AppPaths paths;
    Database db;
    AppSettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<LedgerBackup> backup;
    Shop()
    {
        paths.gDbPath = dir.filePath(QStringLiteral("Dbs"));
        paths.gDbFile = paths.gDbPath + QStringLiteral("/panDB.db");
        QString error;
        if (!Database::createLedger(paths.gDbFile, &error) || !db.open(paths.gDbFile))
            qFatal("ledger: %s", qPrintable(error));
        backup = std::make_unique<LedgerBackup>(settings, db, prompt, paths);
    }
    void add(int vouchers)
    {
        TransactionGuard guard(db);
        for (int i = 0; i < vouchers; ++i)
            db.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name, maeip_cost) VALUES ('사과', 1000)")));
        guard.commit();
    }
    qint64 count()
    {
        auto r = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
        return r.query.next() ? r.query.value(0).toLongLong() : -1;
    }
    QString backupFolder() const { return dir.filePath(QStringLiteral("Backup")); }
};

QDateTime at(const QString &stamp)
{
    return QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd HH:mm"));
}

void addCall(Database &db, const QString &time, const QString &number)
{
    QVERIFY_SQL(db.exec(SqlStatement(QStringLiteral("INSERT INTO call_history (call_time, port, number) VALUES (:t, 'COM1', :n)"))
                            .bind(QStringLiteral("t"), time)
                            .bind(QStringLiteral("n"), number)));
}

void writeFile(const QString &path, const QByteArray &bytes, const QDateTime &modified = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.flush(); // a later write would set the time again
    if (modified.isValid())
        QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
}
QStringList calls(Database &db)
{
    QStringList out;
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT number FROM call_history ORDER BY call_id")));
    while (r.query.next())
        out << r.query.value(0).toString();
    return out;
}

// A password set and calls received after a copy was taken outlive its restore; the copy's
// password (none) comes back only when the user takes it. The same on either engine.
void restoreKeepsPasswordAndCallsSince(Database &db, LedgerBackup &backup, ScriptedPrompt &prompt,
                                       const std::function<void()> &addVoucher)
{
    AppSettings settings;
    addVoucher();
    addCall(db, QStringLiteral("2026-12-09 08:10:00"), QStringLiteral("0212345678"));
    backup.setNow(at(QStringLiteral("2026-12-09 09:00")));
    const LedgerBackup::Entry morning = backup.backupNow(true);
    QCOMPARE(morning.check, QStringLiteral("ok"));
    QCOMPARE(UserPassword(db, prompt).store(QStringLiteral("새암호")), QString());
    addCall(db, QStringLiteral("2026-12-09 10:00:00"), QStringLiteral("0311112222"));
    addCall(db, QStringLiteral("2026-12-09 11:00:00"), QString());
    addVoucher();

    const QStringList allCalls{QStringLiteral("0212345678"), QStringLiteral("0311112222"), QString()};
    backup.setNow(at(QStringLiteral("2026-12-09 12:00")));
    prompt.clear();
    prompt.yes().no().ok();
    QVERIFY(backup.restore(morning));
    QCOMPARE(prompt.count(), 3);
    const QString question = prompt.asked.at(0).lines();
    QVERIFY2(question.contains(QStringLiteral("\n백업 당시로 돌아가는 것: 전표, 매입처, 매출처, 상품, 그룹, 삭제된 전표\n"
                                              "그대로 두는 것: 지금의 비밀번호, 백업 이후에 받은 전화의 수신번호 내역\n")),
             qPrintable(question));
    QCOMPARE(prompt.asked.at(1).text, QStringLiteral("백업 당시에는 비밀번호가 없었습니다. 비밀번호를 없애시겠습니까?\r\n"
                                                     "'아니요'를 누르면 지금의 비밀번호를 그대로 씁니다."));
    QCOMPARE(prompt.asked.at(1).defaultButton, UserPrompt::Answer::No);
    QVERIFY(prompt.last().text.contains(QStringLiteral("백업 이후에 받은 전화 2건은 수신번호 내역에 그대로 두었습니다.")));
    {
        // The next start asks for the password set after the copy; an empty Enter is refused.
        Login login(db, settings, prompt);
        QVERIFY(login.load());
        QVERIFY(login.hasPassword());
        prompt.ok();
        QCOMPARE(login.enter(QString()), Login::Outcome::Stay);
        QCOMPARE(login.enter(QStringLiteral("새암호")), Login::Outcome::Admit);
    }
    QCOMPARE(calls(db), allCalls);
    Database::Result vouchers = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(vouchers.query.next());
    QCOMPARE(vouchers.query.value(0).toLongLong(), 1);

    // Taking the copy's password: none again, and still every call.
    backup.setNow(at(QStringLiteral("2026-12-09 13:00")));
    prompt.clear();
    prompt.yes().yes().ok();
    QVERIFY(backup.restore(morning));
    QVERIFY(prompt.last().text.contains(QStringLiteral("비밀번호는 백업 당시의 것으로 되돌렸습니다.")));
    Login login(db, settings, prompt);
    QVERIFY(login.load());
    QVERIFY(!login.hasPassword());
    QCOMPARE(calls(db), allCalls);
    // The calls' counter goes on after the calls kept.
    addCall(db, QStringLiteral("2026-12-09 14:00:00"), QStringLiteral("0101234"));
    QCOMPARE(calls(db).size(), 4);
    QVERIFY(prompt.scriptDone());
}

} // namespace

class tst_LedgerBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        TestEnvironment::instance().reset();
        // The server copy runs the server's cases, the file copy the others.
        if (QByteArray(QTest::currentTestFunction()).startsWith("server") != TestEngine::isServer())
            QSKIP("Not a case of this engine.");
    }
    void copyWhileAnotherProgramWrites();
    void dailyOncePerDayAndUnwritableFolderWarnsOnce();
    void rotationOnASimulatedCalendar();
    void restoreKeepsTheLedgerAsideAndReopens();
    void damagedBackupIsRefused();
    void restoreKeepsThePasswordAndTheCallsSince();
    void restoreThatCannotKeepThePasswordPutsTheLedgerBack();
    void restoreKilledAtEveryStepLeavesALedger();
    void startOffersTheSetAsideLedgerBack();
    void killedCopiesLeftOversGoAtTheNextBackup();
    void onlyARecordedSoundCopyCountsForToday();
    void listShowsWhatTheFilesAre();
    void serverBackupIsOneSnapshotAndRestoresInPlace();
    void serverRestoreKeepsThePasswordAndTheCallsSince();
};

void tst_LedgerBackup::copyWhileAnotherProgramWrites()
{
    Shop shop;
    shop.add(50);
    // Another connection holds an open write transaction while the copy is taken.
    Database writer;
    QVERIFY(writer.open(shop.paths.gDbFile));
    QVERIFY(writer.exec(SqlStatement(QStringLiteral("BEGIN IMMEDIATE"))).ok());
    for (int i = 0; i < 200; ++i)
        QVERIFY(writer.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name) VALUES ('배')"))).ok());

    LedgerBackup &backup = *shop.backup;
    ScriptedPrompt &prompt = shop.prompt;
    backup.setNow(at(QStringLiteral("2026-12-09 09:30")));
    const LedgerBackup::Entry entry = backup.backupNow(true);
    QVERIFY(writer.exec(SqlStatement(QStringLiteral("COMMIT"))).ok());

    QCOMPARE(prompt.count(), 0);
    QCOMPARE(QFileInfo(entry.path).fileName(), QStringLiteral("panDB-20261209-093000.db"));
    QCOMPARE(QFileInfo(entry.path).absolutePath(), shop.backupFolder());
    QCOMPARE(entry.check, QStringLiteral("ok"));
    QCOMPARE(entry.vouchers, 50); // the committed state, none of the open transaction
    QVERIFY(!QFileInfo::exists(entry.path + QStringLiteral(".part")));
    // What the list reads back is what was recorded.
    const auto listed = backup.entries();
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed.front().vouchers, 50);
    QCOMPARE(listed.front().size, QFileInfo(entry.path).size());
    QCOMPARE(listed.front().check, QStringLiteral("ok"));
    QCOMPARE(shop.count(), 250);
}

void tst_LedgerBackup::dailyOncePerDayAndUnwritableFolderWarnsOnce()
{
    Shop shop;
    LedgerBackup &backup = *shop.backup;
    ScriptedPrompt &prompt = shop.prompt;
    backup.setNow(at(QStringLiteral("2026-12-09 08:00")));
    backup.dailyBackup();
    backup.setNow(at(QStringLiteral("2026-12-09 17:00")));
    backup.dailyBackup();
    QCOMPARE(backup.entries().size(), 1);
    backup.setNow(at(QStringLiteral("2026-12-10 08:00")));
    backup.dailyBackup();
    QCOMPARE(backup.entries().size(), 2);
    // The start's copy on its own thread and connection; its outcome comes back here.
    bool reported = false;
    backup.setReported([&reported] { reported = true; });
    backup.setNow(at(QStringLiteral("2026-12-11 08:00")));
    backup.startDailyBackup();
    QVERIFY(QTest::qWaitFor([&reported] { return reported; }, 10000));
    QCOMPARE(backup.entries().size(), 3);
    QCOMPARE(backup.entries().front().check, QStringLiteral("ok"));
    QCOMPARE(prompt.count(), 0);

    // A file where the folder should be: one warning, and the ledger keeps working.
    Shop blocked;
    QFile file(blocked.backupFolder());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    blocked.prompt.ok();
    bool warned = false;
    blocked.backup->setReported([&warned] { warned = true; });
    blocked.backup->startDailyBackup();
    QVERIFY(QTest::qWaitFor([&warned] { return warned; }, 10000));
    QCOMPARE(blocked.prompt.count(), 1);
    QCOMPARE(blocked.prompt.last().icon, UserPrompt::Icon::Warning);
    QVERIFY(blocked.prompt.last().text.contains(QDir::toNativeSeparators(blocked.backupFolder())));
    blocked.add(1);
    QCOMPARE(blocked.count(), 1);
}

void tst_LedgerBackup::rotationOnASimulatedCalendar()
{
    Shop shop;
    LedgerBackup &backup = *shop.backup;
    QVERIFY(QDir().mkpath(shop.backupFolder()));
    const auto make = [&](const QString &stamp) {
        QFile f(QDir(shop.backupFolder()).filePath(QStringLiteral("panDB-%1.db").arg(stamp)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    };
    // A copy every morning for fourteen months, two on some days, and a file that is no backup.
    for (QDate d(2025, 10, 1); d <= QDate(2026, 12, 9); d = d.addDays(1))
        make(d.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("-090000"));
    make(QStringLiteral("20261209-080000"));
    make(QStringLiteral("20261208-180000"));
    make(QStringLiteral("20260115-120000"));
    QFile other(QDir(shop.backupFolder()).filePath(QStringLiteral("panDB-복원전-20260101-000000.db")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();

    backup.setNow(at(QStringLiteral("2026-12-09 12:00")));
    backup.rotate();
    QStringList kept;
    for (const auto &e : backup.entries())
        kept << QFileInfo(e.path).fileName().mid(6, 15);
    QStringList expected;
    for (QDate d(2026, 12, 9); d >= QDate(2026, 11, 26); d = d.addDays(-1))
        expected << d.toString(QStringLiteral("yyyyMMdd")) + (d.day() == 8 ? QStringLiteral("-180000") : QStringLiteral("-090000"));
    for (int month = 11; month >= 1; --month)
        expected << QDate(2026, month, 1).toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("-090000");
    QCOMPARE(kept, expected);
    QVERIFY(other.exists());

    // Both counts are settings; a month later, with three days and two months kept.
    shop.settings.setValue(AppSettings::environment(), QStringLiteral("백업보관일수"), QStringLiteral("3"));
    shop.settings.setValue(AppSettings::environment(), QStringLiteral("백업보관개월수"), QStringLiteral("2"));
    backup.setNow(at(QStringLiteral("2027-01-05 12:00")));
    backup.rotate();
    kept.clear();
    for (const auto &e : backup.entries())
        kept << QFileInfo(e.path).fileName().mid(6, 15);
    QCOMPARE(kept, (QStringList{QStringLiteral("20261209-090000"), QStringLiteral("20261208-180000"),
                                QStringLiteral("20261207-090000"), QStringLiteral("20261201-090000")}));
}

void tst_LedgerBackup::restoreKeepsTheLedgerAsideAndReopens()
{
    Shop shop;
    shop.add(3);
    LedgerBackup &backup = *shop.backup;
    ScriptedPrompt &prompt = shop.prompt;
    backup.setNow(at(QStringLiteral("2026-12-09 09:00")));
    const auto entry = backup.backupNow(true);
    shop.add(4);

    // Declined: nothing moves.
    backup.setNow(at(QStringLiteral("2026-12-09 15:00")));
    prompt.no();
    QVERIFY(!backup.restore(entry));
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    QCOMPARE(shop.count(), 7);

    prompt.yes().ok();
    QVERIFY(backup.restore(entry));
    QVERIFY(shop.db.isOpen());
    QCOMPARE(shop.count(), 3);
    const QString aside = shop.paths.gDbPath + QStringLiteral("/panDB-복원전-20261209-150000.db");
    QCOMPARE(backup.setAsidePath(), aside);
    QVERIFY(prompt.last().text.contains(QDir::toNativeSeparators(aside)));
    Database old;
    QVERIFY(old.open(aside, false, Database::Access::ReadOnly));
    auto r = old.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 7);
    old.close();
    // Again in the same second: the kept ledger under that name stays as it is.
    prompt.yes().ok();
    QVERIFY(!backup.restore(entry));
    QVERIFY(prompt.last().text.startsWith(QStringLiteral("복원하지 못했습니다. 장부는 그대로입니다.")));
    QVERIFY(old.open(aside, false, Database::Access::ReadOnly));
    r = old.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 7);
    QCOMPARE(shop.count(), 3);
    // The restored ledger takes writes again, and the backup itself is untouched.
    shop.add(1);
    QCOMPARE(shop.count(), 4);
    QCOMPARE(backup.entries().front().vouchers, 3);
}

void tst_LedgerBackup::damagedBackupIsRefused()
{
    Shop shop;
    shop.add(2000);
    LedgerBackup &backup = *shop.backup;
    ScriptedPrompt &prompt = shop.prompt;
    auto entry = backup.backupNow(true);
    {
        // Garbage over the pages after the first: the file still opens, its pages do not add up.
        QFile f(entry.path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(4096));
        f.write(QByteArray(8192, '\x5a'));
    }
    prompt.ok();
    QVERIFY(!backup.restore(entry));
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::Warning);
    QVERIFY(prompt.last().text.startsWith(QStringLiteral("이 백업 파일은 손상되어 복원할 수 없습니다.")));
    QCOMPARE(shop.count(), 2000);
    QCOMPARE(QDir(shop.paths.gDbPath).entryList(QDir::Files), QStringList{QStringLiteral("panDB.db")});

    // Not a database at all.
    QFile f(entry.path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("no ledger here");
    f.close();
    prompt.ok();
    QVERIFY(!backup.restore(entry));
    QCOMPARE(prompt.count(), 2);
}

void tst_LedgerBackup::serverBackupIsOneSnapshotAndRestoresInPlace()
{
    TempLedger server;
    const AppPaths paths = serverPaths(server);
    AppSettings settings;
    ScriptedPrompt prompt;
    LedgerBackup backup(settings, server.db(), prompt, paths);
    for (const QString &name : {QStringLiteral("사과"), QStringLiteral("O'Neil 배"), QStringLiteral("감")})
        server.addVoucher(voucher(QStringLiteral("2026-12-01"), name, 1000));
    server.addClient(1, 7, QStringLiteral("가나상사"));

    // Another PC's change, not yet committed while the copy is taken, stays out of it whole.
    Database otherPc;
    QVERIFY(otherPc.open(server.settings()));
    {
        TransactionGuard writing(otherPc);
        QVERIFY_SQL(otherPc.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name) VALUES ('배추')"))));
        QVERIFY_SQL(otherPc.exec(SqlStatement(QStringLiteral("DELETE FROM maechul"))));
        backup.setNow(at(QStringLiteral("2026-12-09 09:00")));
        const LedgerBackup::Entry entry = backup.backupNow(true);
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(entry.path, server.folder() + QStringLiteral("/Backup/panDB-20261209-090000.db"));
        QCOMPARE(entry.check, QStringLiteral("ok"));
        QCOMPARE(entry.vouchers, 3);
        QVERIFY(!writing.commit().isError());
    }
    Database file;
    QVERIFY(file.open(backup.entries().front().path, false, Database::Access::ReadOnly));
    Database::Result client = file.exec(SqlStatement(QStringLiteral("SELECT name FROM maechul WHERE id = 7")));
    QVERIFY(client.query.next());
    QCOMPARE(client.query.value(0).toString(), QStringLiteral("가나상사"));
    file.close();

    // The start's copy, on a thread and a connection of its own.
    bool reported = false;
    backup.setReported([&reported] { reported = true; });
    backup.setNow(at(QStringLiteral("2026-12-10 08:00")));
    backup.startDailyBackup();
    QVERIFY(QTest::qWaitFor([&reported] { return reported; }, 10000));
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(backup.entries().size(), 2);
    QCOMPARE(backup.entries().front().vouchers, 4);

    // Declined, nothing changes; accepted, the rows are the 09:00 copy's and the rows they
    // replace are kept in a file.
    const LedgerBackup::Entry morning = backup.entries().back();
    prompt.no();
    QVERIFY(!backup.restore(morning));
    QCOMPARE(server.count(QStringLiteral("total")), 4);
    {
        // A voucher another PC is changing holds the restore off: a warning, nothing replaced.
        TransactionGuard editing(otherPc);
        QVERIFY_SQL(otherPc.exec(SqlStatement(QStringLiteral("UPDATE total SET maeip_cost = 5 WHERE pro_name = '감'"))));
        backup.setNow(at(QStringLiteral("2026-12-10 07:30")));
        prompt.yes().ok();
        QVERIFY(!backup.restore(morning));
        QCOMPARE(prompt.last().icon, UserPrompt::Icon::Warning);
        QCOMPARE(server.count(QStringLiteral("total")), 4);
    }
    backup.setNow(at(QStringLiteral("2026-12-10 08:00")));
    prompt.yes().ok();
    QVERIFY(backup.restore(morning));
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::Information);
    QCOMPARE(server.count(QStringLiteral("total")), 3);
    QCOMPARE(server.count(QStringLiteral("maechul")), 1);
    const QString aside = paths.gDbPath + QStringLiteral("/panDB-복원전-20261210-080000.db");
    QCOMPARE(backup.setAsidePath(), aside);
    QVERIFY(file.open(aside, false, Database::Access::ReadOnly));
    Database::Result before = file.exec(SqlStatement(QStringLiteral("SELECT COUNT(*), MAX(total_id) FROM total")));
    QVERIFY(before.query.next());
    QCOMPARE(before.query.value(0).toLongLong(), 4);
    // The key handed out to the other PC's voucher is not handed out again, and the other PC
    // reads the restored rows.
    const qint64 next = server.addVoucher(voucher(QStringLiteral("2026-12-10"), QStringLiteral("새 전표"), 1));
    QVERIFY(next > before.query.value(1).toLongLong());
    Database::Result seen = otherPc.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(seen.query.next());
    QCOMPARE(seen.query.value(0).toLongLong(), 4);
}

void tst_LedgerBackup::restoreKeepsThePasswordAndTheCallsSince()
{
    Shop shop;
    restoreKeepsPasswordAndCallsSince(shop.db, *shop.backup, shop.prompt, [&shop] { shop.add(1); });
}

void tst_LedgerBackup::restoreThatCannotKeepThePasswordPutsTheLedgerBack()
{
    Shop shop;
    shop.add(2);
    // The copy refuses a password row; the ledger it was taken from does not.
    QVERIFY_SQL(shop.db.exec(SqlStatement(
        QStringLiteral("CREATE TRIGGER keep_user BEFORE INSERT ON user BEGIN SELECT RAISE(ABORT, 'locked'); END"))));
    shop.backup->setNow(at(QStringLiteral("2026-12-09 09:00")));
    const LedgerBackup::Entry entry = shop.backup->backupNow(true);
    QVERIFY_SQL(shop.db.exec(SqlStatement(QStringLiteral("DROP TRIGGER keep_user"))));
    QCOMPARE(UserPassword(shop.db, shop.prompt).store(QStringLiteral("새암호")), QString());
    shop.add(3);

    shop.backup->setNow(at(QStringLiteral("2026-12-09 12:00")));
    shop.prompt.yes().no().ok();
    QVERIFY(!shop.backup->restore(entry));
    QCOMPARE(shop.prompt.last().icon, UserPrompt::Icon::Warning);
    QVERIFY(shop.prompt.last().text.startsWith(QStringLiteral("복원하지 못했습니다. 장부는 그대로입니다.")));
    QVERIFY(shop.db.isOpen());
    QCOMPARE(shop.count(), 5);
    QCOMPARE(QDir(shop.paths.gDbPath).entryList(QDir::Files), QStringList{QStringLiteral("panDB.db")});
    UserPassword after(shop.db, shop.prompt);
    QVERIFY(after.read());
    QVERIFY(after.matches(QStringLiteral("새암호")));
    QVERIFY(shop.prompt.scriptDone());
}

void tst_LedgerBackup::serverRestoreKeepsThePasswordAndTheCallsSince()
{
    TempLedger server;
    const AppPaths paths = serverPaths(server);
    AppSettings settings;
    ScriptedPrompt prompt;
    LedgerBackup backup(settings, server.db(), prompt, paths);
    restoreKeepsPasswordAndCallsSince(server.db(), backup, prompt, [&server] {
        server.addVoucher(voucher(QStringLiteral("2026-12-09"), QStringLiteral("사과"), 1000));
    });
}

QTEST_GUILESS_MAIN(tst_LedgerBackup)
#include "tst_ledgerbackup.moc"

void tst_LedgerBackup::restoreKilledAtEveryStepLeavesALedger()
{
    struct Killed
    {
    };
    for (int killedAfter = 1; killedAfter <= 4; ++killedAfter) {
        Shop shop;
        shop.add(3);
        shop.backup->setNow(at(QStringLiteral("2026-12-09 09:00")));
        const LedgerBackup::Entry entry = shop.backup->backupNow(true);
        shop.add(4);
        shop.backup->setNow(at(QStringLiteral("2026-12-09 15:00")));
        shop.backup->setAfterStep([&](int step) {
            if (step == killedAfter)
                throw Killed{};
        });
        shop.prompt.yes();
        try {
            shop.backup->restore(entry);
            QFAIL("the restore ran past its last step");
        } catch (const Killed &) {
        }
        shop.db.close();
        QVERIFY2(QFileInfo::exists(shop.paths.gDbFile), qPrintable(QString::number(killedAfter)));

        // The next start finds a ledger, the old one or the restored one whole, and nothing to ask;
        // what a killed server restore leaves goes too.
        const QString serverLeftover = shop.paths.gDbPath + QStringLiteral("/panDB-복원전-20261209-140000.db.aB3xYz");
        writeFile(serverLeftover, "x", QDateTime::currentDateTime().addSecs(-3600));
        AppSettings settings;
        settings.setValue(AppSettings::environment(), QStringLiteral("db경로"), shop.paths.gDbPath);
        ScriptedPrompt start;
        Database db;
        InitApp(settings, db, start);
        QCOMPARE(start.count(), 0);
        Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
        QVERIFY(r.query.next());
        QCOMPARE(r.query.value(0).toLongLong(), killedAfter < 4 ? 7 : 3);
        QVERIFY(!QFileInfo::exists(Startup::stagedRestorePath(shop.paths.gDbFile)));
        QVERIFY(!QFileInfo::exists(serverLeftover));
    }
}

void tst_LedgerBackup::startOffersTheSetAsideLedgerBack()
{
    // What an earlier restore cut short left: the ledger under its dated name only.
    Shop shop;
    shop.add(5);
    shop.db.close();
    const QString older = shop.paths.gDbPath + QStringLiteral("/panDB-복원전-20261201-080000.db");
    const QString newest = shop.paths.gDbPath + QStringLiteral("/panDB-복원전-20261209-150000.db");
    QVERIFY(QFile::copy(shop.paths.gDbFile, older));
    QVERIFY(QFile::rename(shop.paths.gDbFile, newest));
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("db경로"), shop.paths.gDbPath);

    // Declined: the file stays, and a new empty ledger is made as before.
    {
        ScriptedPrompt start;
        start.no().ok();
        Database db;
        InitApp(settings, db, start);
        QCOMPARE(start.asked.at(0).text,
                 QStringLiteral("장부 파일이 없습니다.\r\n복원할 때 2026-12-09 15:00:00에 보관해 둔 장부가 있습니다.\r\n")
                     + QDir::toNativeSeparators(newest)
                     + QStringLiteral("\r\n이 장부를 다시 쓰시겠습니까?\r\n[아니요]를 누르면 이 파일은 그대로 둡니다."));
        QCOMPARE(start.asked.at(0).defaultButton, UserPrompt::Answer::Yes);
        QVERIFY(start.last().text.startsWith(QStringLiteral("새 장부 파일을 만들었습니다.")));
        QVERIFY(QFileInfo::exists(newest));
    }
    QVERIFY(QFile::remove(shop.paths.gDbFile));
    ScriptedPrompt start;
    start.yes();
    Database db;
    InitApp(settings, db, start);
    QVERIFY(start.scriptDone());
    QVERIFY(!QFileInfo::exists(newest));
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 5);
}

void tst_LedgerBackup::killedCopiesLeftOversGoAtTheNextBackup()
{
    Shop shop;
    shop.add(1);
    QVERIFY(QDir().mkpath(shop.backupFolder()));
    const QDir folder(shop.backupFolder());
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    const QStringList killed{QStringLiteral("panDB-20261208-090000.db.part"), QStringLiteral("panDB-20261208-090000.db.part-journal"),
                             QStringLiteral("panDB-20261207-090000.db.a1B2c3")};
    // Still being written, or not this program's.
    const QStringList kept{QStringLiteral("panDB-20261209-085959.db.part"), QStringLiteral("장부.part"),
                           QStringLiteral("panDB-20261207-090000.db.a1B2c3.txt")};
    for (const QString &name : killed)
        writeFile(folder.filePath(name), QByteArray(4096, 'x'), hourAgo);
    writeFile(folder.filePath(kept.at(0)), QByteArray(4096, 'x'));
    writeFile(folder.filePath(kept.at(1)), "x", hourAgo);
    writeFile(folder.filePath(kept.at(2)), "x", hourAgo);

    shop.backup->setNow(at(QStringLiteral("2026-12-09 09:00")));
    QCOMPARE(shop.backup->backupNow(true).check, QStringLiteral("ok"));
    QStringList expected = kept;
    expected << QStringLiteral("backup.ini") << QStringLiteral("panDB-20261209-090000.db");
    expected.sort();
    QStringList present = folder.entryList(QDir::Files);
    present.sort();
    QCOMPARE(present, expected);
}

void tst_LedgerBackup::onlyARecordedSoundCopyCountsForToday()
{
    Shop shop;
    shop.add(2);
    shop.backup->setNow(at(QStringLiteral("2026-12-08 09:00")));
    const LedgerBackup::Entry yesterday = shop.backup->backupNow(true);
    // Today's date on a text file, and on a sound copy that no backup recorded.
    const QDir folder(shop.backupFolder());
    writeFile(folder.filePath(QStringLiteral("panDB-20261209-070000.db")), "no ledger here");
    QVERIFY(QFile::copy(yesterday.path, folder.filePath(QStringLiteral("panDB-20261209-080000.db"))));
    shop.backup->setNow(at(QStringLiteral("2026-12-09 09:00")));
    shop.backup->dailyBackup();
    QVERIFY(QFileInfo::exists(folder.filePath(QStringLiteral("panDB-20261209-090000.db"))));
    // That copy counts; the next start of the day makes none.
    shop.backup->setNow(at(QStringLiteral("2026-12-09 10:00")));
    shop.backup->dailyBackup();
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("panDB-20261209-100000.db"))));
    QCOMPARE(shop.prompt.count(), 0);
    // Nor is such a file the one kept of its day.
    writeFile(folder.filePath(QStringLiteral("panDB-20261209-235959.db")), "no ledger here");
    shop.settings.setValue(AppSettings::environment(), QStringLiteral("백업보관일수"), QStringLiteral("2"));
    shop.settings.setValue(AppSettings::environment(), QStringLiteral("백업보관개월수"), QStringLiteral("0"));
    shop.backup->setNow(at(QStringLiteral("2026-12-10 09:00")));
    shop.backup->dailyBackup();
    QStringList kept;
    for (const LedgerBackup::Entry &e : shop.backup->entries())
        kept << QFileInfo(e.path).fileName();
    QCOMPARE(kept, (QStringList{QStringLiteral("panDB-20261210-090000.db"), QStringLiteral("panDB-20261209-090000.db")}));
}

void tst_LedgerBackup::listShowsWhatTheFilesAre()
{
    Shop shop;
    shop.add(3);
    shop.backup->setNow(at(QStringLiteral("2026-12-08 09:00")));
    const LedgerBackup::Entry good = shop.backup->backupNow(true);
    shop.backup->setNow(at(QStringLiteral("2026-12-09 09:00")));
    const LedgerBackup::Entry text = shop.backup->backupNow(true);
    // A text file put where a copy was, with a record that praises it; a sound copy run down.
    writeFile(text.path, QByteArray(text.size, 'x'));
    {
        QSettings record(shop.backupFolder() + QStringLiteral("/backup.ini"), QSettings::IniFormat);
        record.setValue(QFileInfo(text.path).fileName() + QStringLiteral("/vouchers"), 200000);
        record.setValue(QFileInfo(good.path).fileName() + QStringLiteral("/check"), QStringLiteral("damaged"));
        record.setValue(QFileInfo(good.path).fileName() + QStringLiteral("/vouchers"), 9);
    }
    const QList<LedgerBackup::Entry> listed = shop.backup->examined();
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.at(0).path, text.path);
    QCOMPARE(listed.at(0).check, QStringLiteral("장부 파일이 아닙니다."));
    QCOMPARE(listed.at(0).vouchers, -1);
    QCOMPARE(listed.at(1).check, QStringLiteral("ok"));
    QCOMPARE(listed.at(1).vouchers, 3);
    // The restore checks the file through all the same.
    shop.prompt.ok();
    QVERIFY(!shop.backup->restore(listed.at(0)));
    QCOMPARE(shop.count(), 3);
}
