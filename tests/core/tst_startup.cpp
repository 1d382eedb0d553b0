// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QTest>

#include "data/database.h"
#include "shell/appfolders.h"
#include "shell/appsettings.h"
#include "shell/startup.h"
#include "scriptedprompt.h"
#include "templedger.h"

class tst_Startup : public QObject
{
    Q_OBJECT

private:
    QString env() const { return AppSettings::environment(); }

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }

    void emptyStoreTakesDefaultsAndWritesAllFourKeys();
    void vanishedDataFolderWarnsOnceAndStoresTheDefault();
    void mainFileInAnotherFolderStaysInUse();
    void movedMainFileFallsBackSilently();
    void reportFolderIsCreated();
    void firstStartCreatesLedgerOnceAndTellsWhere();
    void existingLedgerIsNeverRecreated();
    void damagedLedgerIsLeftAlone();
    void unwritableDataFolderCreatesNothing();
};

void tst_Startup::emptyStoreTakesDefaultsAndWritesAllFourKeys()
{
    AppSettings s;
    ScriptedPrompt p;
    const AppPaths paths = LoadSettings(s, p);
    QCOMPARE(p.count(), 0);
    const QString root = QDir::homePath() + QStringLiteral("/솔빛셈");
    QCOMPARE(paths.gDbPath, root + QStringLiteral("/Dbs"));
    QCOMPARE(paths.gDbFile, root + QStringLiteral("/Dbs/panDB.db"));
    QCOMPARE(paths.gPostFile, root + QStringLiteral("/Dbs/dbpost.db"));
    QCOMPARE(paths.gRptPath, root + QStringLiteral("/Rpt"));
    QCOMPARE(s.value(env(), QStringLiteral("db경로")), paths.gDbPath);
    QCOMPARE(s.value(env(), QStringLiteral("db기초")), paths.gDbFile);
    QCOMPARE(s.value(env(), QStringLiteral("Rpt경로")), paths.gRptPath);
    QCOMPARE(s.value(env(), QStringLiteral("우편번호")), paths.gPostFile);
}

void tst_Startup::vanishedDataFolderWarnsOnceAndStoresTheDefault()
{
    AppSettings s;
    s.setValue(env(), QStringLiteral("db경로"), QDir::homePath() + QStringLiteral("/사라진폴더"));
    ScriptedPrompt p;
    p.ok();
    const AppPaths paths = LoadSettings(s, p);
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("파일 경로 오류"));
    QCOMPARE(p.last().icon, UserPrompt::Icon::Warning);
    QCOMPARE(p.last().text, QStringLiteral("데이터베이스 파일 경로가 없어졌거나 옮겨졌습니다.\r\n데이터베이스 파일 경로를 확인하십시요."));
    QCOMPARE(paths.gDbPath, AppFolders::defaultDbPath());
    QCOMPARE(s.value(env(), QStringLiteral("db경로")), AppFolders::defaultDbPath());
    // The corrected value is stored: once the folder exists (the first start makes it with the
    // new ledger), the next start says nothing.
    QVERIFY(EnsureLedger(paths, p.ok()));
    QVERIFY(p.last().text.startsWith(QStringLiteral("새 장부 파일을 만들었습니다.")));
    ScriptedPrompt again;
    LoadSettings(s, again);
    QCOMPARE(again.count(), 0);
}

void tst_Startup::mainFileInAnotherFolderStaysInUse()
{
    TempLedger other;
    AppSettings s;
    s.setValue(env(), QStringLiteral("db기초"), other.path());
    ScriptedPrompt p;
    const AppPaths paths = LoadSettings(s, p);
    QCOMPARE(paths.gDbFile, other.path());
    QCOMPARE(paths.gDbPath, AppFolders::defaultDbPath());
}

void tst_Startup::movedMainFileFallsBackSilently()
{
    AppSettings s;
    s.setValue(env(), QStringLiteral("db기초"), QDir::homePath() + QStringLiteral("/gone/panDB.db"));
    s.setValue(env(), QStringLiteral("우편번호"), QDir::homePath() + QStringLiteral("/gone/dbpost.db"));
    ScriptedPrompt p;
    const AppPaths paths = LoadSettings(s, p);
    QCOMPARE(p.count(), 0);
    QCOMPARE(paths.gDbFile, paths.gDbPath + QStringLiteral("/panDB.db"));
    QCOMPARE(paths.gPostFile, paths.gDbPath + QStringLiteral("/dbpost.db"));
}

void tst_Startup::reportFolderIsCreated()
{
    AppSettings s;
    ScriptedPrompt p;
    QVERIFY(!QFileInfo::exists(AppFolders::defaultRptPath()));
    const AppPaths paths = LoadSettings(s, p);
    QVERIFY(QFileInfo(paths.gRptPath).isDir());
    QVERIFY(QDir().mkpath(paths.gDbPath)); // as the first start does; else the next start warns
    // An existing report folder elsewhere stays in use.
    QTemporaryDir rpt;
    s.setValue(env(), QStringLiteral("Rpt경로"), rpt.path());
    QCOMPARE(LoadSettings(s, p).gRptPath, rpt.path());
}

void tst_Startup::firstStartCreatesLedgerOnceAndTellsWhere()
{
    AppSettings s;
    ScriptedPrompt p;
    p.ok();
    Database db;
    const AppPaths paths = InitApp(s, db, p);
    QVERIFY(QFileInfo::exists(paths.gDbFile));
    QVERIFY(db.isOpen());
    QVERIFY(db.hasTable(QStringLiteral("total")));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().icon, UserPrompt::Icon::Information);
    QVERIFY(p.last().text.contains(QDir::toNativeSeparators(paths.gDbFile)));
    db.close();
    ScriptedPrompt again;
    Database db2;
    InitApp(s, db2, again);
    QCOMPARE(again.count(), 0);
}

void tst_Startup::existingLedgerIsNeverRecreated()
{
    AppSettings s;
    ScriptedPrompt p;
    p.ok();
    Database db;
    const AppPaths paths = InitApp(s, db, p);
    QVERIFY_SQL(db.exec(SqlStatement(QStringLiteral("INSERT INTO product (name) VALUES ('보존')"))));
    db.close();
    Database db2;
    InitApp(s, db2, p);
    Database::Result r = db2.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM product")));
    QVERIFY(r.ok() && r.query.next());
    QCOMPARE(r.query.value(0).toInt(), 1);
    QVERIFY(!QString(paths.gDbFile).isEmpty());
}

void tst_Startup::damagedLedgerIsLeftAlone()
{
    const QString folder = AppFolders::defaultDbPath();
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/panDB.db");
    const QByteArray junk("not a database at all");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    AppSettings s;
    ScriptedPrompt p;
    Database db;
    InitApp(s, db, p);
    QCOMPARE(p.count(), 0);
    db.close();
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), junk);
}

void tst_Startup::unwritableDataFolderCreatesNothing()
{
    // A data folder whose parent is a file cannot be made: no ledger, no box, the first
    // query reports the missing database.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    AppPaths paths;
    paths.gDbPath = blocker + QStringLiteral("/Dbs");
    paths.gDbFile = paths.gDbPath + QStringLiteral("/panDB.db");
    ScriptedPrompt p;
    QVERIFY(!EnsureLedger(paths, p));
    QCOMPARE(p.count(), 0);
    Database db;
    QVERIFY(!OpenMainDB(db, paths));
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
