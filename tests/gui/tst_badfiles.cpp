// SPDX-License-Identifier: GPL-3.0-or-later
// Bad files through the program's own opening, as main() runs it: the settings, the ledger,
// the login, the main window, the daily copy, then the close box. Each case checks the boxes
// the user gets, word for word, and that the file is as it was.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <memory>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include "admitlogin.h"
#include "core/data/database.h"
#include "core/shell/appfolders.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerbackup.h"
#include "core/shell/startupsequence.h"
#include "core/layout/layoutini.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/ledger/ledgergrid.h"
#include "gui/ui/formini.h"
#include "keyboard.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

QByteArray sha256(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result().toHex();
}

QString ledgerFile() { return AppFolders::defaultDbPath() + QStringLiteral("/panDB.db"); }
QString settingsFile() { return QDir::homePath() + QStringLiteral("/.config/솔빛셈/솔빛셈.conf"); }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A ledger with vouchers of this month; many makes it span many pages.
void makeLedger(int vouchers)
{
    QVERIFY(Database::createLedger(ledgerFile(), nullptr));
    Database db;
    QVERIFY(db.open(ledgerFile()));
    TransactionGuard guard(db);
    for (int i = 0; i < vouchers; ++i) {
        SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, maechul_name, "
                                       "maechul_cost, maechul_usecost, group_name) "
                                       "VALUES ('2026-12-01', :p, 80000, :s, '김철수', 100000, 5000, '가전')"));
        st.bind(QStringLiteral("p"), QStringLiteral("제품%1").arg(i)).bind(QStringLiteral("s"),
                                                                          QStringLiteral("2026-12-0%1").arg(i % 8 + 1));
        QVERIFY_SQL(db.exec(st));
    }
    QVERIFY(!guard.commit().isError());
}

// Each box as "title | text", its line breaks as "\n".
QStringList boxes(const ScriptedPrompt &p)
{
    QStringList out;
    for (const ScriptedPrompt::Asked &a : p.asked)
        out << a.title + QStringLiteral(" | ") + a.lines();
    return out;
}

// The opening of main() on this process's settings and files. The window stays open for the
// test; close() is the close box.
struct Program
{
    AppSettings settings;
    Database db;
    ScriptedPrompt prompt;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<LedgerBackup> backup;
    bool backupReported = false;

    bool start()
    {
        window = std::make_unique<frmMain>(settings, db, prompt);
        window->setToday(QDate(2026, 12, 8));
        StartupSequence startup(settings, db, prompt);
        const auto login = admitLogin();
        if (!startup.run(*window))
            return false;
        backup = std::make_unique<LedgerBackup>(settings, db, prompt, startup.paths());
        backup->setReported([this] { backupReported = true; });
        backup->startDailyBackup();
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    // The close box; then the program's objects go as main()'s do.
    void close()
    {
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        backup.reset();
        window.reset();
        db.close();
    }
};

} // namespace

class tst_BadFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void badLedgerIsReportedAndKept_data();
    void badLedgerIsReportedAndKept();
    void readOnlyLedgerRefusesTheWrite_data();
    void readOnlyLedgerRefusesTheWrite();
    void badSettingsFile_data();
    void badSettingsFile();
    void badLayoutFile_data();
    void badLayoutFile();
};

void tst_BadFiles::initTestCase()
{
    TestEnvironment::instance();
    // Root writes through any permission bit; without this capability it meets a read-only file
    // or folder as a user does. Threads started later (the daily copy) inherit it.
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2] = {};
    QCOMPARE(syscall(SYS_capget, &header, caps), 0L);
    caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    QCOMPARE(syscall(SYS_capset, &header, caps), 0L);
}

void tst_BadFiles::init()
{
    TestEnvironment::instance().reset();
    // Settings of a shop that has seen the notice.
    AppSettings s;
    s.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
}

void tst_BadFiles::cleanup()
{
    // A read-only folder or file must go with the rest.
    QFile::setPermissions(AppFolders::defaultDbPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(ledgerFile(), QFile::ReadOwner | QFile::WriteOwner);
}

void tst_BadFiles::badLedgerIsReportedAndKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("expected");
    const QString master = QStringLiteral("\nSELECT name FROM sqlite_master WHERE type = 'table'");
    QTest::newRow("text file") << "text"
                               << QStringList{QStringLiteral("ERROR | file is not a database") + master};
    QTest::newRow("zero bytes") << "empty"
                                << QStringList{QStringLiteral("MDB 오류 | 이 파일에는 장부가 없습니다. 빈 파일이거나 "
                                                              "다른 프로그램의 파일입니다.\n")
                                               + ledgerFile()};
    QTest::newRow("locked by another program") << "locked"
                                               << QStringList{QStringLiteral("MDB 오류 | database is locked") + master};
    // The engine sees that the file is shorter than its header says.
    QTest::newRow("truncated") << "truncated"
                               << QStringList{QStringLiteral("ERROR | database disk image is malformed") + master};
}

void tst_BadFiles::badLedgerIsReportedAndKept()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, expected);
    QProcess other;
    if (kind == QStringLiteral("text")) {
        writeFile(ledgerFile(), QStringLiteral("\xFEFF매입일자,품명,매입금액\r\n2026-12-01,세탁기,80000\r\n").toUtf8());
    } else if (kind == QStringLiteral("empty")) {
        writeFile(ledgerFile(), {});
    } else if (kind == QStringLiteral("truncated")) {
        makeLedger(3000);
        QFile f(ledgerFile());
        QVERIFY(f.resize(f.size() / 2));
    } else {
        makeLedger(3);
        other.start(QStringLiteral(SOLBITSEM_LOCKDRIVER), {ledgerFile()});
        QVERIFY(other.waitForReadyRead(10000));
        QCOMPARE(other.readLine().trimmed(), QByteArray("locked"));
    }
    const QByteArray before = sha256(ledgerFile());

    Program p;
    p.prompt.ok();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(p.start());
    // A lock held elsewhere is waited for briefly at each look, never for good.
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    p.close();
    QCOMPARE(boxes(p.prompt), expected);
    // No copy of what holds no ledger: it would count as today's backup.
    QVERIFY(!p.backupReported);
    QVERIFY(!QFileInfo::exists(QDir::homePath() + QStringLiteral("/솔빛셈/Backup")));

    if (kind == QStringLiteral("locked")) {
        other.closeWriteChannel();
        QVERIFY(other.waitForFinished(10000));
        QCOMPARE(other.exitCode(), 0);
    }
    QCOMPARE(sha256(ledgerFile()), before);
}

void tst_BadFiles::readOnlyLedgerRefusesTheWrite_data()
{
    QTest::addColumn<bool>("folder"); // the data folder read-only, else the file
    QTest::addColumn<int>("code"); // the engine's, READONLY and READONLY_DIRECTORY
    QTest::newRow("read-only file") << false << 8;
    QTest::newRow("read-only folder") << true << 1544;
}

// The ledger reads as any other; the first change meets the engine's refusal in the save box,
// and the cell shows again what the file holds.
void tst_BadFiles::readOnlyLedgerRefusesTheWrite()
{
    QFETCH(bool, folder);
    QFETCH(int, code);
    makeLedger(2);
    const QString locked = folder ? AppFolders::defaultDbPath() : ledgerFile();
    QVERIFY(QFile::setPermissions(locked, folder ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner));
    QVERIFY(!QFile(folder ? locked + QStringLiteral("/x") : locked).open(QIODevice::WriteOnly)); // really read-only
    const QByteArray before = sha256(ledgerFile());

    Program p;
    QVERIFY(p.start());
    QTRY_VERIFY(p.backupReported); // the daily copy reads it as well
    QCOMPARE(p.prompt.count(), 0);
    LedgerModel &m = p.window->model();
    QCOMPARE(m.rowCount(), 3);
    const QModelIndex cost = m.index(0, LedgerModel::ColMaeipCost);
    QApplication::setActiveWindow(p.window.get());
    LedgerGrid *spList = FrmMainControls(p.window.get()).spList();
    spList->setCurrentIndex(cost);
    spList->setFocus();
    typeText(QStringLiteral("90000"));
    QVERIFY(spList->isEditing());
    p.prompt.yes().ok();
    QVERIFY(spList->finishEdit());
    QCOMPARE(boxes(p.prompt),
             (QStringList{QStringLiteral(" | 정말 수정하시겠습니까?\n이전 데이터: 80000"),
                          QStringLiteral("오류 | 자료를 수정하는 중 오류가 발생했습니다.\n오류번호 : %1\n"
                                         "오류내용 : attempt to write a readonly database")
                              .arg(code)}));
    QCOMPARE(m.data(cost).toString(), QStringLiteral("80,000"));
    p.close();
    QCOMPARE(p.prompt.count(), 2);
    QCOMPARE(sha256(ledgerFile()), before);
}

void tst_BadFiles::badSettingsFile_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::addColumn<bool>("inDataFolder"); // the bad value is "db경로"
    const QByteArray invalid("\xFF\xFE\xC3(\xED\xA0\x80\x80");
    const QByteArray nul("1\0\0two", 6);
    const QByteArray huge = QString(100000, QChar(u'가')).toUtf8();
    QTest::newRow("invalid UTF-8") << invalid << false;
    QTest::newRow("NUL bytes") << nul << false;
    QTest::newRow("100,000 characters") << huge << false;
    QTest::newRow("invalid UTF-8 as the data folder") << invalid << true;
    QTest::newRow("NUL bytes as the data folder") << nul << true;
    QTest::newRow("100,000 characters as the data folder") << huge << true;
}

// The program only reads its settings, apart from the paths it stores back at every start;
// those it writes when they change, and only then is the file rewritten.
void tst_BadFiles::badSettingsFile()
{
    QFETCH(QByteArray, bad);
    QFETCH(bool, inDataFolder);
    makeLedger(2);
    const QString root = QDir::homePath() + QStringLiteral("/솔빛셈");
    const QByteArray dbPath = inDataFolder ? bad : (root + QStringLiteral("/Dbs")).toUtf8();
    const QByteArray text = "[환경설정]\n"
                            "db경로=" + dbPath + "\n"
                            "db기초=" + ledgerFile().toUtf8() + "\n"
                            "Rpt경로=" + (root + QStringLiteral("/Rpt")).toUtf8() + "\n"
                            "우편번호=" + (root + QStringLiteral("/Dbs/dbpost.db")).toUtf8() + "\n"
                            "NoMsg=1\n"
                            "판매처전화=" + bad + "\n"
                            "백업보관일수=" + bad + "\n"
                            "메모=" + bad + "\n"
                            "[Registration]\n"
                            "TelvoxUse=" + bad + "\n";
    QVERIFY(QDir().mkpath(root + QStringLiteral("/Rpt")));
    writeFile(settingsFile(), text);
    const QByteArray before = sha256(settingsFile());
    const QStringList paths{QStringLiteral("db경로"), QStringLiteral("db기초"), QStringLiteral("Rpt경로"),
                            QStringLiteral("우편번호")};
    // Every value but the paths, as the settings store reads it.
    const auto others = [&paths] {
        QSettings raw(settingsFile(), QSettings::IniFormat);
        QMap<QString, QVariant> values;
        for (const QString &key : raw.allKeys())
            if (!paths.contains(key.section(QLatin1Char('/'), 1)))
                values.insert(key, raw.value(key));
        return values;
    };
    const auto valuesBefore = others();
    QCOMPARE(valuesBefore.size(), 5);

    Program p;
    if (inDataFolder)
        p.prompt.ok();
    QVERIFY(p.start());
    QTRY_VERIFY(p.backupReported);
    QCOMPARE(p.window->model().rowCount(), 3);
    p.close();
    if (!inDataFolder) {
        QCOMPARE(p.prompt.count(), 0);
        QCOMPARE(sha256(settingsFile()), before);
        return;
    }
    QCOMPARE(boxes(p.prompt), QStringList{QStringLiteral("파일 경로 오류 | 데이터베이스 파일 경로가 없어졌거나 "
                                                         "옮겨졌습니다.\n데이터베이스 파일 경로를 확인하십시요.")});
    // The data folder is stored corrected, as every start does; the rest keeps its values.
    AppSettings after;
    QCOMPARE(after.value(AppSettings::environment(), QStringLiteral("db경로")), AppFolders::defaultDbPath());
    QCOMPARE(others(), valuesBefore);
}

void tst_BadFiles::badLayoutFile_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::newRow("invalid UTF-8") << QByteArray("\xFF\xFE\xC3(\xED\xA0\x80\x80");
    QTest::newRow("NUL bytes") << QByteArray("12\0\0" "00", 6);
    QTest::newRow("100,000 characters") << QByteArray(100000, '9');
}

// Whatever the file holds, the window opens in its design layout; what the user changes is
// written into it, and nothing else of the file changes.
void tst_BadFiles::badLayoutFile()
{
    QFETCH(QByteArray, bad);
    makeLedger(2);
    const QString file = FormIniPath(QStringLiteral("frmMain"));
    const QByteArray head = "[FormPosition]\r\nWindowState=" + bad + "\r\nLeft=" + bad + "\r\nWidth=" + bad + "\r\n["
                            + bad + "]\r\n" + bad + "=" + bad + "\r\n[spList_ColsWidth]\r\n1=" + bad + "\r\n2=" + bad
                            + "\r\n";
    const QByteArray tail = "[spList_General]\r\nFontSize=" + bad + "\r\nRowHeight=" + bad;
    writeFile(file, head + tail);

    Program p;
    QVERIFY(p.start());
    QTRY_VERIFY(p.backupReported);
    QCOMPARE(p.window->model().rowCount(), 3);
    const int column = LedgerModel::ColProName;
    LedgerGrid *spList = FrmMainControls(p.window.get()).spList();
    spList->setColumnWidth(column, spList->columnWidth(column) + 40);
    p.close();
    QCOMPARE(p.prompt.count(), 0);
    const QString key = QString::number(column + 1);
    const auto width = LayoutFile(file).value(LayoutIni::colsWidthSection(QStringLiteral("spList")), key);
    QVERIFY(width);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), head + key.toUtf8() + '=' + width->toUtf8() + "\r\n" + tail);
}

QTEST_MAIN(tst_BadFiles)
#include "tst_badfiles.moc"
