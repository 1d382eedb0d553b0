// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include "core/data/database.h"
#include "core/data/schemamaint.h"
#include "core/shell/appfolders.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
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
    void unreadableLedgerIsReportedOnce_data();
    void unreadableLedgerIsReportedOnce();
    void unwritableDataFolderSaysWhy();
    void noReachableDisplaySaysSoInKorean_data();
    void noReachableDisplaySaysSoInKorean();
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

void tst_Startup::unreadableLedgerIsReportedOnce_data()
{
    QTest::addColumn<QByteArray>("content"); // of the ledger file; a real ledger when locked
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("says");
    QTest::newRow("damaged") << QByteArray("not a database at all") << false << QStringLiteral("ERROR")
                             << QStringLiteral("file is not a database");
    QTest::newRow("empty") << QByteArray() << false << QStringLiteral("MDB 오류")
                           << QStringLiteral("이 파일에는 장부가 없습니다.");
    QTest::newRow("locked by another program") << QByteArray() << true << QStringLiteral("MDB 오류")
                                               << QStringLiteral("database is locked");
}

// The start as the main window runs it (the login aside): one box in the engine's words, not a
// missing table per field the group check looks at.
void tst_Startup::unreadableLedgerIsReportedOnce()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, locked);
    QFETCH(QString, title);
    QFETCH(QString, says);
    const QString file = AppFolders::defaultDbPath() + QStringLiteral("/panDB.db");
    Database other;
    if (locked) {
        QVERIFY(Database::createLedger(file, nullptr));
        QVERIFY(other.open(file));
        QVERIFY_SQL(other.exec(SqlStatement(QStringLiteral("BEGIN EXCLUSIVE"))));
    } else {
        QVERIFY(QDir().mkpath(AppFolders::defaultDbPath()));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    AppSettings s;
    ScriptedPrompt p;
    p.ok();
    Database db;
    InitApp(s, db, p);
    QCOMPARE(p.count(), 0); // opening says nothing; the first look at the file does
    QVERIFY(!CheckGroupField(db, p));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, title);
    QVERIFY2(p.last().text.contains(says), qPrintable(p.last().text));
    if (locked)
        return;
    if (content.isEmpty())
        QVERIFY(p.last().text.endsWith(QStringLiteral("\r\n") + QDir::toNativeSeparators(file)));
    db.close();
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content); // left as it was
}

void tst_Startup::unwritableDataFolderSaysWhy()
{
    // A data folder whose parent is a file cannot be made: no ledger, one box naming the folder
    // and the reason, then the box of a query without a database, once.
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
    p.ok().ok();
    QVERIFY(!EnsureLedger(paths, p));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("MDB 오류"));
    const QStringList lines = p.last().lines().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("새 장부 파일을 만들 수 없습니다."));
    QCOMPARE(lines[1], QStringLiteral("폴더를 만들 수 없습니다: ") + QDir::toNativeSeparators(paths.gDbPath));
    QVERIFY(!lines[2].isEmpty()); // the system's reason
    QVERIFY(!QFileInfo::exists(paths.gDbFile));

    Database db;
    QVERIFY(!OpenMainDB(db, paths));
    QVERIFY(!CheckGroupField(db, p));
    QCOMPARE(p.count(), 2);
    QCOMPARE(p.last().title, QStringLiteral("MDB 오류"));
    QVERIFY(p.last().text.startsWith(QStringLiteral("Data Base MDB가 선언되지 않았습니다.\r")));
}

void tst_Startup::noReachableDisplaySaysSoInKorean_data()
{
    QTest::addColumn<QString>("display"); // empty: none configured
    QTest::newRow("none configured") << QString();
    QTest::newRow("cannot be reached") << QStringLiteral(":4711");
}

void tst_Startup::noReachableDisplaySaysSoInKorean()
{
    QFETCH(QString, display);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(SOLBITSEM_APP), {});
    QVERIFY(app.waitForFinished(30000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit); // not aborted
    QCOMPARE(app.exitCode(), 1);
    const QString err = QString::fromUtf8(app.readAllStandardError());
    QVERIFY2(err.startsWith(QStringLiteral("솔빛셈을 실행하려면 화면(디스플레이)이 필요합니다.\n")), qPrintable(err));
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
