// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/ownerfiles.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerbackup.h"
#include "core/shell/ledgerlock.h"
#include "core/shell/startup.h"
#include "core/shell/userpassword.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {
const QString kPassword = QStringLiteral("가게비번1");

struct Run
{
    int code = -1;
    QString err;
};

// A program of the shop run as a script runs it: no display, standard input a pipe.
Run run(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardError())};
}

bool ownerOnly(const QString &path)
{
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFileInfo::exists(path) && !(QFileInfo(path).permissions() & others);
}
} // namespace

class tst_CommandLogin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void commandFormsAskForThePassword_data();
    void commandFormsAskForThePassword();
    void ledgerCopyAsksForThePassword();
    void madeFilesAreTheOwnersAlone();
};

void tst_CommandLogin::commandFormsAskForThePassword_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("export") << "--export-ledger" << "csv";
    QTest::newRow("print") << "--print-ledger" << "pdf";
}

void tst_CommandLogin::commandFormsAskForThePassword()
{
    QFETCH(QString, option);
    QFETCH(QString, suffix);
    TestEnvironment::instance().reset();
    TempLedger l;
    l.addVoucher(voucher(QDate::currentDate().toString(Qt::ISODate), QStringLiteral("냉장고"), 1000));
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), QStringLiteral("db기초"), l.path());
        settings.sync();
    }
    // A window open on the ledger holds its lock; the command forms only read and run beside it.
    LedgerLock window(l.path());
    QCOMPARE(window.take(), LedgerLock::Outcome::Taken);
    const QString app = QStringLiteral(SOLBITSEM_APP);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("장부.") + suffix);
    // Without a password the ledger is read as before, with no question.
    QCOMPARE(run(app, {option, out}).code, 0);
    QVERIFY(QFile::remove(out));

    ScriptedPrompt prompt;
    prompt.ok();
    QVERIFY(UserPassword(l.db(), prompt).store(kPassword).isEmpty());
    // No terminal to ask on and no --password-stdin: refused, nothing written.
    Run r = run(app, {option, out});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("암호가 걸려 있습니다")), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(out));
    r = run(app, {option, out, QStringLiteral("--password-stdin")}, "틀린암호\n");
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("암호가 일치하지 않습니다")), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(out));
    r = run(app, {option, out, QStringLiteral("--password-stdin")}, {});
    QCOMPARE(r.code, 1);
    QVERIFY(!QFileInfo::exists(out));
    r = run(app, {option, out, QStringLiteral("--password-stdin")}, (kPassword + QStringLiteral("\r\n")).toUtf8());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(QFileInfo(out).size() > 0);
}

void tst_CommandLogin::ledgerCopyAsksForThePassword()
{
    TestEnvironment::instance().reset();
    TempLedger l;
    l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("냉장고"), 1000));
    ScriptedPrompt prompt;
    QVERIFY(UserPassword(l.db(), prompt).store(kPassword).isEmpty());
    const QString tool = QStringLiteral(SOLBITSEM_LEDGERCOPY);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy/panDB.db"));
    Run r = run(tool, {l.path(), copy});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("암호가 걸려 있습니다")), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(copy));
    QCOMPARE(run(tool, {l.path(), copy, QStringLiteral("--password-stdin")}, "x\n").code, 1);
    QVERIFY(!QFileInfo::exists(copy));
    r = run(tool, {l.path(), copy, QStringLiteral("--password-stdin")}, kPassword.toUtf8() + "\n");
    QVERIFY2(r.code == 0, qPrintable(r.err));
    // The copy holds the whole ledger: the owner's alone, its new folder too.
    QVERIFY(ownerOnly(copy));
    QVERIFY(ownerOnly(QFileInfo(copy).absolutePath()));
}

void tst_CommandLogin::madeFilesAreTheOwnersAlone()
{
    TestEnvironment::instance().reset();
    // The usual umask would leave new files readable by everyone.
    const mode_t before = ::umask(022);
    const auto restore = qScopeGuard([before] { ::umask(before); });
    QTemporaryDir dir;

    // A first start's ledger, in folders it makes.
    AppPaths paths;
    paths.gDbPath = dir.filePath(QStringLiteral("shop/Dbs"));
    paths.gDbFile = paths.gDbPath + QStringLiteral("/panDB.db");
    ScriptedPrompt prompt;
    prompt.strictOk = false;
    QVERIFY(EnsureLedger(paths, prompt));
    QVERIFY(ownerOnly(paths.gDbFile));
    QVERIFY(ownerOnly(paths.gDbPath));
    QVERIFY(ownerOnly(dir.filePath(QStringLiteral("shop"))));

    // A backup of it, in a folder made for it.
    Database db;
    QVERIFY(db.open(paths.gDbFile));
    const QString backup = dir.filePath(QStringLiteral("shop/Backup/panDB-copy.db"));
    QVERIFY(MakeOwnerFolders(QFileInfo(backup).absolutePath()));
    QVERIFY(!LedgerBackup::copyLedger(db, backup).isError());
    QVERIFY(ownerOnly(backup));
    QVERIFY(ownerOnly(QFileInfo(backup).absolutePath()));

    // An export that replaces a file keeps the file's mode; a new one is the owner's alone.
    const QString shared = dir.filePath(QStringLiteral("shared.csv"));
    {
        QFile f(shared);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::setPermissions(shared, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                              | QFileDevice::ReadOther));
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), QStringLiteral("db기초"), paths.gDbFile);
        settings.sync();
    }
    for (const QString &name : {QStringLiteral("new.csv"), QStringLiteral("new.xlsx")}) {
        const QString out = dir.filePath(name);
        QCOMPARE(run(QStringLiteral(SOLBITSEM_APP), {QStringLiteral("--export-ledger"), out}).code, 0);
        QVERIFY2(ownerOnly(out), qPrintable(name));
    }
    QCOMPARE(run(QStringLiteral(SOLBITSEM_APP), {QStringLiteral("--export-ledger"), shared}).code, 0);
    QVERIFY(QFileInfo(shared).permissions() & QFileDevice::ReadOther);
}

QTEST_GUILESS_MAIN(tst_CommandLogin)
#include "tst_commandlogin.moc"
