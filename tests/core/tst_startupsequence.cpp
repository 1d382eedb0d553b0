// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include "core/data/database.h"
#include "core/data/schema.h"
#include "core/migrate/firststartimport.h"
#include "core/shell/appfolders.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerlocation.h"
#include "core/shell/startupsequence.h"
#include "hookedprompt.h"
#include "templedger.h"

namespace {
class RecordingView final : public StartupSequence::View
{
public:
    RecordingView(QStringList &log, const Database &db, bool admit) : m_log(log), m_db(db), m_admit(admit) {}
    void setCaption() override { m_log << QStringLiteral("caption"); }
    void ledgerOpened(const AppPaths &p) override
    {
        paths = p;
        m_log << (m_db.isOpen() ? QStringLiteral("ledger open") : QStringLiteral("ledger closed"));
    }
    bool runLogin() override
    {
        m_log << QStringLiteral("login");
        return m_admit;
    }
    void applyLayout() override { m_log << QStringLiteral("layout"); }
    void prepareControls() override { m_log << QStringLiteral("controls"); }
    void FillGroupCombo() override { m_log << QStringLiteral("groups"); }
    void showNotice() override { m_log << QStringLiteral("notice"); }
    void InitListGrid() override { m_log << QStringLiteral("grid"); }
    void showPeriod(const QDate &, const QDate &) override { m_log << QStringLiteral("period"); }
    void DispList() override { m_log << QStringLiteral("query"); }
    AppPaths paths;

private:
    QStringList &m_log;
    const Database &m_db;
    bool m_admit;
};
} // namespace

class tst_StartupSequence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init();
    void opensInItsFixedOrder_data();
    void opensInItsFixedOrder();
    void newerLedgerIsRefusedUntouched();
    void secondStartOnTheFileIsRefused();
    void serverRetry();
};

void tst_StartupSequence::init()
{
    TestEnvironment::instance().reset();
    if (TestEngine::isServer() && QTest::currentTestFunction() != QByteArrayView("serverRetry"))
        QSKIP("a file ledger's opening: the file copy runs it");
}

void tst_StartupSequence::opensInItsFixedOrder_data()
{
    QTest::addColumn<QString>("ledger"); // "new", "existing" or "damaged"
    QTest::addColumn<QString>("noMsg");  // empty: never stored
    QTest::addColumn<bool>("admit");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("result");
    const QStringList opened{QStringLiteral("caption"), QStringLiteral("ledger open"), QStringLiteral("login")};
    const QStringList full = opened
                             + QStringList{QStringLiteral("layout"), QStringLiteral("controls"), QStringLiteral("groups"),
                                           QStringLiteral("notice"), QStringLiteral("grid"), QStringLiteral("query")};
    QStringList firstStart = full;
    firstStart.insert(1, QStringLiteral("box")); // the new ledger is named before anything uses it
    QStringList quiet = full;
    quiet.removeAll(QStringLiteral("notice"));
    QTest::newRow("first start") << "new" << "" << true << firstStart << true;
    QTest::newRow("notice wanted") << "existing" << "0" << true << full << true;
    QTest::newRow("notice off") << "existing" << "1" << true << quiet << true;
    QTest::newRow("any other value: off") << "existing" << "2" << true << quiet << true;
    QTest::newRow("login ends the program") << "existing" << "1" << false << opened << false;
    // The group check reports an unreadable ledger once, right after the login; the group list
    // and the first query are left out rather than repeating the box.
    QTest::newRow("unreadable ledger")
        << "damaged" << "1" << true
        << QStringList{QStringLiteral("caption"), QStringLiteral("ledger open"), QStringLiteral("login"),
                       QStringLiteral("box"), QStringLiteral("layout"), QStringLiteral("controls"),
                       QStringLiteral("grid")}
        << true;
}

void tst_StartupSequence::opensInItsFixedOrder()
{
    QFETCH(QString, ledger);
    QFETCH(QString, noMsg);
    QFETCH(bool, admit);
    QFETCH(QStringList, steps);
    QFETCH(bool, result);
    const QString file = AppFolders::defaultDbPath() + QStringLiteral("/panDB.db");
    if (ledger == QStringLiteral("existing")) {
        QVERIFY(Database::createLedger(file, nullptr));
    } else if (ledger == QStringLiteral("damaged")) {
        QVERIFY(QDir().mkpath(AppFolders::defaultDbPath()));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    AppSettings settings;
    if (!noMsg.isEmpty())
        settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), noMsg);
    QStringList log;
    ScriptedPrompt script;
    script.ok();
    HookedPrompt prompt(script, [&log] { log << QStringLiteral("box"); });
    Database db;
    RecordingView view(log, db, admit);
    StartupSequence startup(settings, db, prompt);
    QCOMPARE(startup.run(view), result);
    QCOMPARE(log, steps);
    QCOMPARE(view.paths.gDbFile, file);
    QCOMPARE(startup.paths().gDbFile, file);
}

void tst_StartupSequence::newerLedgerIsRefusedUntouched()
{
    const QString file = AppFolders::defaultDbPath() + QStringLiteral("/panDB.db");
    QVERIFY(Database::createLedger(file, nullptr));
    {
        Database db;
        QVERIFY(db.open(file));
        QCOMPARE(db.schemaVersion(), Schema::Version);
        QVERIFY(!db.setSchemaVersion(Schema::Version + 1).isError());
    }
    const auto hash = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
    };
    const QByteArray before = hash();
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    QStringList log;
    ScriptedPrompt script;
    script.ok();
    HookedPrompt prompt(script, [&log] { log << QStringLiteral("box"); });
    Database db;
    RecordingView view(log, db, true);
    QVERIFY(StartupSequence(settings, db, prompt).run(view));
    // Said once, before the login; the ledger is closed, so the login and the group check find
    // nothing to read or write, and the windows stay empty.
    QCOMPARE(log, (QStringList{QStringLiteral("caption"), QStringLiteral("box"), QStringLiteral("ledger closed"),
                               QStringLiteral("login"), QStringLiteral("layout"), QStringLiteral("controls"),
                               QStringLiteral("grid")}));
    QVERIFY(script.last().text.contains(QStringLiteral("장부 형식 %1").arg(Schema::Version + 1)));
    QVERIFY(script.last().text.contains(QStringLiteral("장부 형식 %1까지").arg(Schema::Version)));
    QVERIFY(!db.isOpen());
    QCOMPARE(hash(), before);
}

void tst_StartupSequence::secondStartOnTheFileIsRefused()
{
    QVERIFY(Database::createLedger(AppFolders::defaultDbPath() + QStringLiteral("/panDB.db"), nullptr));
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    QStringList firstLog;
    ScriptedPrompt firstPrompt;
    Database firstDb;
    RecordingView firstView(firstLog, firstDb, true);
    StartupSequence first(settings, firstDb, firstPrompt);
    int broughtToFront = 0;
    first.setBringToFront([&broughtToFront] { ++broughtToFront; });
    QVERIFY(first.run(firstView));
    QVERIFY(!first.refused());

    // The second start on the same file says why and ends before it touches the ledger.
    QStringList log;
    ScriptedPrompt script;
    script.ok();
    Database db;
    RecordingView view(log, db, true);
    StartupSequence second(settings, db, script);
    QVERIFY(!second.run(view));
    QVERIFY(second.refused());
    QVERIFY(log.isEmpty());
    QVERIFY(!db.isOpen());
    QCOMPARE(script.count(), 1);
    QVERIFY(script.last().text.startsWith(QStringLiteral("이 장부는 이미 다른 솔빛셈 창에서 열려 있습니다.")));
    QTRY_COMPARE(broughtToFront, 1);
}

void tst_StartupSequence::serverRetry()
{
    // A server that does not answer: no password asked for a ledger that is not there, the 91
    // box once, the program runs on with empty windows.
    const ConnectionSettings server = ConnectionSettings::parse(qEnvironmentVariable("SOLBITSEM_PG"));
    LedgerLocation location;
    location.kind = LedgerLocation::Kind::Server;
    location.host = QStringLiteral("127.0.0.1");
    location.port = 1;
    location.database = QStringLiteral("solbitsem");
    location.user = QStringLiteral("solbitsem");
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    location.write(settings);
    QStringList log;
    ScriptedPrompt script;
    HookedPrompt prompt(script, [&log] { log << QStringLiteral("box"); });
    Database db;
    RecordingView view(log, db, true);
    StartupSequence startup(settings, db, prompt);
    script.ok();
    QVERIFY(startup.run(view));
    QCOMPARE(log, (QStringList{QStringLiteral("caption"), QStringLiteral("ledger closed"), QStringLiteral("box"), QStringLiteral("layout"), QStringLiteral("controls"),
                               QStringLiteral("grid")}));
    QCOMPARE(script.last().title, QStringLiteral("MDB 오류"));
    QVERIFY(StartupSequence::canReconnect(settings, db));

    // Still out of reach: the same box, once, and no query.
    log.clear();
    script.ok();
    QVERIFY(startup.reconnect(view));
    QCOMPARE(log, QStringList{QStringLiteral("box")});
    if (!TestEngine::isServer())
        return;

    // Back: the server login, the ledger's login, the checks and the first query. In a database
    // of its own: a ledger in the shared one's public schema would stand behind every other
    // test's ledger on the search path.
    Database admin;
    QVERIFY(admin.open(server));
    const QString name = QStringLiteral("solbitsem_retry_%1").arg(QCoreApplication::applicationPid());
    QVERIFY(admin.exec(SqlStatement(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' "
                                                   "LC_COLLATE 'C' LC_CTYPE 'C'").arg(name))).ok());
    const auto drop = qScopeGuard([&] {
        db.close();
        admin.exec(SqlStatement(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name)));
    });
    location.host = server.host;
    location.port = server.port;
    location.database = name;
    location.user = server.user;
    location.write(settings);
    log.clear();
    // A database without the ledger becomes one after a question, as at a first start, and is
    // offered the old installation's ledger: imported into a file, then copied in whole, with
    // its group names that differ only in letter case.
    FirstStartImport importer;
    startup.setImporter(&importer);
    script.yes().yes().file(QStringLiteral(SOLBITSEM_FIXTURES "/jet3/panDB-jet3.mdb")).ok();
    QVERIFY(startup.reconnect(view));
    QVERIFY(db.isOpen());
    // The imported ledger opens on its last month with a sale, not on today's empty month.
    QCOMPARE(log.mid(log.size() - 4), (QStringList{QStringLiteral("login"), QStringLiteral("groups"), QStringLiteral("period"),
                                                   QStringLiteral("query")}));
    QVERIFY(!StartupSequence::canReconnect(settings, db));
    QCOMPARE(db.schemaVersion(), Schema::Version);
    for (const auto &[table, rows] : {std::pair{QStringLiteral("total"), 2500}, std::pair{QStringLiteral("group_name"), 13}}) {
        Database::Result n = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM ") + table));
        QVERIFY(n.query.next());
        QCOMPARE(n.query.value(0).toInt(), rows);
    }
}

QTEST_GUILESS_MAIN(tst_StartupSequence)
#include "tst_startupsequence.moc"
