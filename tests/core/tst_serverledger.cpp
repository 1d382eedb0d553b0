// SPDX-License-Identifier: GPL-3.0-or-later
// A server ledger as the shop's other users and scripts meet it: the command forms on the
// ledger the settings name, and a server user who owns none of the ledger's tables.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "core/data/schemamaint.h"
#include "core/ledger/voucherstore.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerlocation.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

// A login role of the test server whose tables are found in the ledger's schema, with the
// rights of a shop's clerk: reading and writing rows, owning nothing.
class Clerk final
{
public:
    explicit Clerk(TempLedger &ledger) : m_ledger(ledger), m_name(QStringLiteral("clerk_%1").arg(QCoreApplication::applicationPid()))
    {
        const QString schema = QLatin1Char('"') + ledger.settings().schema + QLatin1Char('"');
        for (const QString &sql : {QStringLiteral("CREATE ROLE %1 LOGIN").arg(m_name),
                                   QStringLiteral("ALTER ROLE %1 SET search_path = %2, public").arg(m_name, schema),
                                   QStringLiteral("GRANT USAGE ON SCHEMA %2 TO %1").arg(m_name, schema),
                                   QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %2 TO %1").arg(m_name, schema),
                                   QStringLiteral("GRANT USAGE ON ALL SEQUENCES IN SCHEMA %2 TO %1").arg(m_name, schema)})
            ledger.exec(SqlStatement(sql));
    }
    ~Clerk()
    {
        m_ledger.db().exec(SqlStatement(QStringLiteral("DROP OWNED BY %1").arg(m_name)));
        m_ledger.db().exec(SqlStatement(QStringLiteral("DROP ROLE %1").arg(m_name)));
    }
    QString name() const { return m_name; }
    // The settings of this PC naming the ledger server as this role.
    void nameInSettings() const
    {
        LedgerLocation l;
        l.kind = LedgerLocation::Kind::Server;
        l.host = m_ledger.settings().host;
        l.port = m_ledger.settings().port;
        l.database = m_ledger.settings().database;
        l.user = m_name;
        AppSettings settings;
        l.write(settings);
    }

private:
    TempLedger &m_ledger;
    QString m_name;
};

} // namespace

class tst_ServerLedger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        INIT_LEDGER_TEST();
        if (!TestEngine::isServer())
            QSKIP("장부 서버에서만 의미가 있습니다.");
    }
    void init() { TestEnvironment::instance().reset(); }
    void commandFormsReadTheServer();
    void clerkWithoutOwnerRights();
};

void tst_ServerLedger::commandFormsReadTheServer()
{
    TempLedger l;
    l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("SERVERONLY"), 700, QStringLiteral("2026-12-02"), 900));
    Clerk clerk(l);
    clerk.nameInSettings();
    const auto run = [](const QStringList &args, QString *err = nullptr) {
        QProcess app;
        app.start(QStringLiteral(SOLBITSEM_APP), args);
        app.closeWriteChannel();
        app.waitForFinished(60000);
        if (err)
            *err = QString::fromLocal8Bit(app.readAllStandardError());
        return app.exitCode();
    };
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("s.csv"));
    QString err;
    QCOMPARE(run({QStringLiteral("--export-ledger"), csv, QStringLiteral("--product"), QStringLiteral("SERVERONLY")}, &err), 0);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY2(text.contains("SERVERONLY") && text.contains("700"), text.constData());

    const QString pdf = dir.filePath(QStringLiteral("s.pdf"));
    QCOMPARE(run({QStringLiteral("--print-ledger"), pdf, QStringLiteral("--product"), QStringLiteral("SERVERONLY")}, &err), 0);
    QVERIFY2(QFileInfo(pdf).size() > 0, qPrintable(err));

    // A database without the ledger is said so, and the command fails.
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), LedgerLocation::databaseKey(), QStringLiteral("postgres"));
        settings.sync();
    }
    QCOMPARE(run({QStringLiteral("--export-ledger"), dir.filePath(QStringLiteral("t.csv"))}, &err), 1);
    QVERIFY2(err.contains(QStringLiteral("장부 서버의 데이터베이스에 장부가 없습니다")), qPrintable(err));
    // A database that is not there: the server's refusal is said, and the command fails.
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), LedgerLocation::databaseKey(), QStringLiteral("no_such_database"));
        settings.sync();
    }
    QCOMPARE(run({QStringLiteral("--export-ledger"), dir.filePath(QStringLiteral("t.csv"))}, &err), 1);
    QVERIFY2(err.contains(QStringLiteral("장부 서버의 장부를 열 수 없습니다")), qPrintable(err));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("t.csv"))));
}

// A server user who owns none of the ledger's tables: each start says once which right is
// missing and what that stops, instead of the server's raw refusals, and the ledger is used
// as usual. The trigger is gone, as in a ledger made before the live updates.
void tst_ServerLedger::clerkWithoutOwnerRights()
{
    TempLedger l;
    l.exec(SqlStatement(QStringLiteral("DROP TRIGGER total_changed ON total")));
    l.exec(SqlStatement(QStringLiteral("COMMENT ON TABLE total IS NULL"))); // an older layout's mark
    const qint64 id = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("사과"), 100));
    Clerk clerk(l);
    ConnectionSettings as = l.settings();
    as.user = clerk.name();
    for (int start = 0; start < 2; ++start) {
        Database db;
        QVERIFY(db.open(as));
        ScriptedPrompt prompt;
        prompt.strictOk = false;
        QVERIFY(CheckSchemaVersion(db, prompt));
        QVERIFY(CheckGroupField(db, prompt));
        QStringList said;
        for (const ScriptedPrompt::Asked &a : std::as_const(prompt.asked))
            said << a.lines();
        QVERIFY2(said.size() == 1, qPrintable(said.join(QStringLiteral("\n----\n"))));
        QVERIFY2(said[0].contains(QStringLiteral("소유")) && said[0].contains(QStringLiteral("다른 PC")), qPrintable(said[0]));
        QVERIFY2(!said[0].contains(QStringLiteral("must be owner")) && !said[0].contains(QStringLiteral("permission denied")),
                 qPrintable(said[0]));
        VoucherStore store(db);
        QVERIFY(store.update(id, VoucherField::MaeipCost, Money(200 + start)).ok());
        QCOMPARE(store.read(id)->maeipCost, 200 + start);
        QVERIFY(store.insert(voucher(QStringLiteral("2026-12-02"), QStringLiteral("배"), 0)).ok());
    }
    // The owner's own start brings the ledger up to date, trigger and all.
    ScriptedPrompt owner;
    QVERIFY(CheckGroupField(l.db(), owner));
    QCOMPARE(owner.count(), 0);
    QVERIFY(l.exec(SqlStatement(l.db().dialect().changeNoticePresentSql())).query.next());
    // An up-to-date ledger leaves the clerk nothing undone, and nothing is said.
    Database db;
    QVERIFY(db.open(as));
    ScriptedPrompt quiet;
    QVERIFY(CheckGroupField(db, quiet));
    QCOMPARE(quiet.count(), 0);
}

QTEST_GUILESS_MAIN(tst_ServerLedger)
#include "tst_serverledger.moc"
