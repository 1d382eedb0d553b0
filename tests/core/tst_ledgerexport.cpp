// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "core/ledger/ledgerexport.h"
#include "core/ledger/ledgermodel.h"
#include "core/shell/appsettings.h"
#include "filesizelimit.h"
#include "templedger.h"
#include "xlsxsheet.h"

namespace {

std::vector<LedgerRow> shownRows()
{
    LedgerRow a = voucher(QStringLiteral("2026-12-01"), QStringLiteral("냉장고, \"대형\""), 1200000,
                          QStringLiteral("2026-12-03"), 1500000, 30000, QStringLiteral("가전"));
    a.totalId = 1;
    a.maeipName = QStringLiteral("한빛상사");
    a.maechulName = QStringLiteral("O'Neil, 마트");
    LedgerRow b = voucher(QStringLiteral("2026-12-02"), QStringLiteral("TV"), 800000);
    b.totalId = 2;
    b.emptyMask = 1u << LedgerModel::ColUsecost; // an amount the file holds as NULL
    return {a, b};
}

} // namespace

class tst_LedgerExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void csvKeepsHangulAndQuotes();
    void csvTextCellsOpenAsText_data();
    void csvTextCellsOpenAsText();
    void xlsxHoldsEveryShownRowWithNumbersAsNumbers();
    void commandFormWithoutDisplay();
    void fullDiskLeavesTheOldFileAndSaysSo_data();
    void fullDiskLeavesTheOldFileAndSaysSo();
    void killedExportLeavesTheOldWorkbook();
};

void tst_LedgerExport::csvKeepsHangulAndQuotes()
{
    LedgerModel model;
    model.setRows(shownRows());
    model.AddNewRow(QStringLiteral("2026-12-09")); // the entry row is no voucher
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("장부.csv"));
    QVERIFY(LedgerExport::write(model, path).isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines, (QStringList{
                        QStringLiteral("매입일자,그룹,품명,매입처명,매입금액,판매일자,판매처명,판매금액,판매경비,마진"),
                        QStringLiteral("2026-12-01,가전,\"냉장고, \"\"대형\"\"\",한빛상사,1200000,2026-12-03,\"O'Neil, 마트\",1500000,30000,270000"),
                        QStringLiteral("2026-12-02,,TV,,800000,,,0,,0"),
                        QStringLiteral("[합 계],,,,2000000,,,1500000,30000,270000"),
                        QString()}));
    QVERIFY(!LedgerExport::write(model, dir.filePath(QStringLiteral("장부.txt"))).isEmpty());
}

void tst_LedgerExport::csvTextCellsOpenAsText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::newRow("formula") << QStringLiteral("=HYPERLINK(\"http://x\",\"a\")")
                             << QStringLiteral("\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\"");
    QTest::newRow("plus") << QStringLiteral("+1+1") << QStringLiteral("\"'+1+1\"");
    QTest::newRow("minus") << QStringLiteral("-5000") << QStringLiteral("\"'-5000\"");
    QTest::newRow("at") << QStringLiteral("@SUM(A1)") << QStringLiteral("\"'@SUM(A1)\"");
    QTest::newRow("tab") << QStringLiteral("\t=1") << QStringLiteral("\"'\t=1\"");
    QTest::newRow("carriage return") << QStringLiteral("\r=1") << QStringLiteral("\"'\r=1\"");
    QTest::newRow("leading zeros") << QStringLiteral("00123") << QStringLiteral("\"'00123\"");
    QTest::newRow("grouped number") << QStringLiteral("1,234.5") << QStringLiteral("\"'1,234.5\"");
    QTest::newRow("plain") << QStringLiteral("3M 테이프") << QStringLiteral("3M 테이프");
    QTest::newRow("inner sign") << QStringLiteral("A-1 = B") << QStringLiteral("A-1 = B");
}

void tst_LedgerExport::csvTextCellsOpenAsText()
{
    QFETCH(QString, name);
    QFETCH(QString, field);
    // A loss: the margin and its total are negative amounts and stay plain numbers.
    LedgerRow r = voucher(QStringLiteral("2026-12-01"), name, 10000, QStringLiteral("2026-12-03"), 5000, 0, name);
    r.maeipName = name;
    r.maechulName = name;
    LedgerModel model;
    model.setRows({r});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("장부.csv"));
    QVERIFY(LedgerExport::write(model, path).isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll().mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.value(1), QStringList({QStringLiteral("2026-12-01"), field, field, field, QStringLiteral("10000"),
                                          QStringLiteral("2026-12-03"), field, QStringLiteral("5000"), QStringLiteral("0"),
                                          QStringLiteral("-5000")})
                                 .join(QLatin1Char(',')));
    QCOMPARE(lines.value(2), QStringLiteral("[합 계],,,,10000,,,5000,0,-5000"));
}

void tst_LedgerExport::xlsxHoldsEveryShownRowWithNumbersAsNumbers()
{
    LedgerModel model;
    model.setRows(shownRows());
    model.AddNewRow(QStringLiteral("2026-12-09"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("장부.xlsx"));
    QVERIFY(LedgerExport::write(model, path).isEmpty());
    QString xml;
    const auto cells = sheetCells(path, &xml);
    QVERIFY2(xml.contains(QStringLiteral("ySplit=\"1\"")), "header row frozen");
    // 품명 (column C) as wide as its longest name: "냉장고, \"대형\"" takes 14 (five wide letters, four narrow), plus a margin of 2.
    QVERIFY2(xml.contains(QStringLiteral(R"(<col min="3" max="3" width="16.)")), qPrintable(xml.left(600)));
    QCOMPARE(xml.count(QStringLiteral("<row ")), 4); // header, two vouchers, totals

    const auto number = [&](const QString &ref) { return sheetNumber(cells.value(ref)); };
    // Amounts and margins are numbers in a styled (thousands) format.
    QCOMPARE(number(QStringLiteral("E2")), 1200000);
    QCOMPARE(number(QStringLiteral("H2")), 1500000);
    QCOMPARE(number(QStringLiteral("I2")), 30000);
    QCOMPARE(number(QStringLiteral("J2")), 270000);
    QCOMPARE(number(QStringLiteral("E3")), 800000);
    QVERIFY(!cells.contains(QStringLiteral("I3"))); // NULL stays empty, not 0
    QVERIFY(cells.value(QStringLiteral("E2")).first.contains(QStringLiteral(" s=")));
    // Dates are day numbers of Excel's calendar.
    QCOMPARE(number(QStringLiteral("A2")), QDate(1899, 12, 30).daysTo(QDate(2026, 12, 1)));
    QCOMPARE(number(QStringLiteral("F2")), QDate(1899, 12, 30).daysTo(QDate(2026, 12, 3)));
    QVERIFY(cells.value(QStringLiteral("C2")).second.contains(QStringLiteral("냉장고, &quot;대형&quot;"))
            || cells.value(QStringLiteral("C2")).second.contains(QStringLiteral("냉장고, \"대형\"")));
    QVERIFY(cells.value(QStringLiteral("A4")).second.contains(QStringLiteral("[합 계]")));
    QCOMPARE(number(QStringLiteral("E4")), 2000000);
    QCOMPARE(number(QStringLiteral("J4")), 270000);
    QVERIFY(!cells.contains(QStringLiteral("A5")));
}

void tst_LedgerExport::commandFormWithoutDisplay()
{
    TempLedger l;
    for (const LedgerRow &r : shownRows())
        l.addVoucher(r);
    l.addVoucher(voucher(QStringLiteral("2026-10-01"), QStringLiteral("지난달"), 1, QStringLiteral("2026-10-02"), 2));
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), QStringLiteral("db기초"), l.path());
        settings.sync();
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    const auto run = [&](const QStringList &args) {
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(SOLBITSEM_APP), QStringList{QStringLiteral("--export-ledger")} + args);
        app.waitForFinished(30000);
        return app.exitCode();
    };
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("12월.csv"));
    QCOMPARE(run({out, QStringLiteral("--product"), QStringLiteral("냉장고")}), 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().count("\r\n"), 3); // header, the one refrigerator, totals
    QCOMPARE(run({dir.filePath(QStringLiteral("a.xlsx")), QStringLiteral("--from"), QStringLiteral("2026-10-01"),
                  QStringLiteral("--to"), QStringLiteral("2026-10-31")}),
             0);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("a.xlsx"))));
    QCOMPARE(run({dir.filePath(QStringLiteral("a.pdf"))}), 2);
    QCOMPARE(run({}), 2);
    // A device that takes nothing: a Korean message, and none of the library's English lines.
    const QString full = dir.filePath(QStringLiteral("full.xlsx"));
    if (QFile::link(QStringLiteral("/dev/full"), full)) {
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(SOLBITSEM_APP), {QStringLiteral("--export-ledger"), full});
        QVERIFY(app.waitForFinished(30000));
        QCOMPARE(app.exitCode(), 1);
        const QString said = QString::fromUtf8(app.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("디스크에 빈 공간이 없습니다")) && !said.contains(QStringLiteral("[ERROR]")),
                 qPrintable(said));
    }
    // A misspelt command names the options and ends, instead of opening the window.
    QProcess misspelt;
    misspelt.setProcessEnvironment(env);
    misspelt.start(QStringLiteral(SOLBITSEM_APP), {QStringLiteral("--export-ledgr"), out});
    QVERIFY(misspelt.waitForFinished(30000));
    QCOMPARE(misspelt.exitCode(), 2);
    const QString said = QString::fromUtf8(misspelt.readAllStandardError());
    QVERIFY2(said.contains(QStringLiteral("--export-ledgr")) && said.contains(QStringLiteral("--export-ledger"))
                 && said.contains(QStringLiteral("--print-ledger")),
             qPrintable(said));
}

void tst_LedgerExport::fullDiskLeavesTheOldFileAndSaysSo_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("csv") << QStringLiteral("장부.csv");
    QTest::newRow("xlsx") << QStringLiteral("장부.xlsx");
}

void tst_LedgerExport::fullDiskLeavesTheOldFileAndSaysSo()
{
    QFETCH(QString, name);
    std::vector<LedgerRow> rows;
    for (int i = 0; i < 4000; ++i)
        rows.push_back(voucher(QStringLiteral("2026-12-01"), QStringLiteral("품목 %1 %2").arg(i).arg(i * 7919 % 10007), i * 1013,
                               QStringLiteral("2026-12-02"), i * 2027));
    LedgerModel model;
    model.setRows(rows);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the good copy of yesterday");
    old.close();
    // What a killed export left beside it goes with the next export.
    QFile killed(path + QStringLiteral(".k1LLed"));
    QVERIFY(killed.open(QIODevice::WriteOnly));
    QVERIFY(killed.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
    killed.close();
    QString error;
    {
        const FileSizeLimit full(16 * 1024);
        error = LedgerExport::write(model, path);
    }
    QVERIFY2(error.contains(QStringLiteral("디스크")), qPrintable(error));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the good copy of yesterday"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{name}); // no temporary file left

    // A device that takes nothing: /dev/full fails every write as a full disk does.
    if (QFileInfo(QStringLiteral("/dev/full")).exists()) {
        const QString link = dir.filePath(QStringLiteral("full.") + QFileInfo(name).suffix());
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), link));
        error = LedgerExport::write(model, link);
        QVERIFY2(error.contains(QStringLiteral("디스크에 빈 공간이 없습니다")), qPrintable(error));
    }
}

void tst_LedgerExport::killedExportLeavesTheOldWorkbook()
{
    TempLedger l;
    QVERIFY(l.exec(SqlStatement(QStringLiteral(
                       "INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, maechul_cost) "
                       "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 60000) "
                       "SELECT '2026-11-01', '품목' || x, x * 10, '2026-11-02', x * 11 FROM n")))
                .ok());
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), QStringLiteral("db기초"), l.path());
        settings.sync();
    }
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("장부.xlsx"));
    const QByteArray good("PK the workbook of yesterday");
    // Killed at moments across the export (loading, writing rows, packing): the old workbook
    // stays whole, or the new one is there whole.
    for (const int ms : {100, 300, 600, 900, 1300}) {
        QFile f(out);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(good);
        f.close();
        QProcess app;
        app.start(QStringLiteral(SOLBITSEM_APP), {QStringLiteral("--export-ledger"), out, QStringLiteral("--from"),
                                                  QStringLiteral("2026-11-01"), QStringLiteral("--to"), QStringLiteral("2026-11-30")});
        QVERIFY(app.waitForStarted());
        QTest::qWait(ms);
        app.kill();
        app.waitForFinished();
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray now = f.readAll();
        f.close();
        QString xml;
        QVERIFY2(now == good || sheetCells(out, &xml).contains(QStringLiteral("A60002")), qPrintable(QString::number(ms)));
    }
}

QTEST_GUILESS_MAIN(tst_LedgerExport)
#include "tst_ledgerexport.moc"
