// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QTest>

#include "core/ledger/ledger.h"
#include "core/report/ledgerprint.h"
#include "core/report/reportlayout.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

QStringList stagedNames(Database &db)
{
    LedgerReport report;
    const SqlError e = readLedgerReport(db, report);
    if (e.isError())
        return {e.text};
    QStringList names;
    for (const LedgerRow &r : report.rows)
        names << r.proName + QLatin1Char('/') + r.maeipName;
    return names;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class tst_LedgerPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void stagesTheShownRowsInGridOrder();
    void failedStagingKeepsTheEarlierRows();
    void twoPcsPrintingAtOnceKeepTheirOwnRows();
    void layoutWrittenOnceAndNeverOverwritten();
    void brokenLayoutFallsBackToTheBuiltInDesign_data();
    void brokenLayoutFallsBackToTheBuiltInDesign();
    void unwritableFolderIsNamed();
};

void tst_LedgerPrint::stagesTheShownRowsInGridOrder()
{
    TempLedger l;
    auto v = [](const QString &name, const QString &supplier, qint64 cost, const QString &sold, qint64 sale) {
        LedgerRow r = voucher(QStringLiteral("2026-12-01"), name, cost, sold, sale, 1000);
        r.maeipName = supplier;
        return r;
    };
    l.addVoucher(v(QStringLiteral("세탁기 A"), QStringLiteral("O'Neil상사"), 300, QStringLiteral("2026-12-03"), 500));
    l.addVoucher(v(QStringLiteral("냉장고"), QStringLiteral("가나"), 100, QStringLiteral("2026-12-02"), 0));
    l.addVoucher(v(QStringLiteral("세탁기 B"), QStringLiteral("'; DROP TABLE total; --"), 200,
                   QStringLiteral("2026-12-01"), 400));
    ScriptedPrompt prompt;
    LedgerModel model;
    Ledger ledger(l.db(), prompt, model);
    VoucherFilter period;
    period.fromDate = QDate(2026, 12, 1);
    period.toDate = QDate(2026, 12, 8);
    QVERIFY(ledger.DispList(period));
    // A voucher being typed on the entry row is not printed.
    QVERIFY(model.store(model.entryRow(), LedgerModel::ColProName, QStringLiteral("입력중")));
    QVERIFY(!print_total_input(l.db(), model).isError());
    QCOMPARE(stagedNames(l.db()), (QStringList{QStringLiteral("세탁기 B/'; DROP TABLE total; --"),
                                               QStringLiteral("냉장고/가나"), QStringLiteral("세탁기 A/O'Neil상사")}));

    // After a product search only the matches, and after a header sort in that order; the
    // second print leaves only its own rows.
    VoucherFilter search;
    search.productName = QStringLiteral("세탁기");
    QVERIFY(ledger.DispList(search));
    model.sort(LedgerModel::ColMaeipCost, Qt::DescendingOrder);
    LedgerReport report;
    QVERIFY(!prepareLedgerReport(l.db(), model, QStringLiteral("품목명: 세탁기"), QDate(2026, 12, 9), report).isError());
    QCOMPARE(stagedNames(l.db()),
             (QStringList{QStringLiteral("세탁기 A/O'Neil상사"), QStringLiteral("세탁기 B/'; DROP TABLE total; --")}));
    QCOMPARE(report.title, QStringLiteral("솔  빛  셈"));
    QCOMPARE(report.rows.size(), size_t(2));
    QCOMPARE(report.rows[0].maechulDate, QStringLiteral("2026-12-03"));
    QCOMPARE(report.totals, (LedgerModel::Totals{500, 900, 2000, (500 - 1000 - 300) + (400 - 1000 - 200)}));
    QCOMPARE(l.count(QStringLiteral("total")), 3);

    // An empty grid empties the staging.
    model.clear();
    QVERIFY(!prepareLedgerReport(l.db(), model, {}, QDate(2026, 12, 9), report).isError());
    QVERIFY(report.rows.empty());
    QCOMPARE(report.totals, LedgerModel::Totals{});
}

void tst_LedgerPrint::failedStagingKeepsTheEarlierRows()
{
    TempLedger l;
    LedgerModel model;
    model.setRows({voucher(QStringLiteral("2026-12-01"), QStringLiteral("첫 인쇄"), 1)});
    QVERIFY(!print_total_input(l.db(), model).isError());
    // The second print fails on its last row: nothing of it stays and the first print's row is kept.
    model.setRows({voucher(QStringLiteral("2026-12-01"), QStringLiteral("둘째"), 1),
                   voucher(QStringLiteral("2026-12-01"), QString(51, QLatin1Char('x')), 1)});
    const SqlError e = print_total_input(l.db(), model);
    QCOMPARE(e.kind, SqlError::Kind::TooLong);
    QVERIFY(e.text.contains(QStringLiteral("pro_name")));
    QCOMPARE(stagedNames(l.db()), QStringList{QStringLiteral("첫 인쇄/")});

    l.exec(SqlStatement(QStringLiteral("DROP TABLE total_print")));
    QVERIFY(!print_total_input(l.db(), model).text.isEmpty());
}

void tst_LedgerPrint::twoPcsPrintingAtOnceKeepTheirOwnRows()
{
    if (!TestEngine::isServer())
        QSKIP("A ledger file is one PC's.");
    TempLedger l;
    Database office;
    QVERIFY(office.open(l.settings()));
    LedgerModel counterGrid;
    counterGrid.setRows({voucher(QStringLiteral("2026-12-01"), QStringLiteral("계산대 A"), 1),
                         voucher(QStringLiteral("2026-12-01"), QStringLiteral("계산대 B"), 2)});
    LedgerModel officeGrid;
    officeGrid.setRows({voucher(QStringLiteral("2026-12-01"), QStringLiteral("사무실"), 3)});
    {
        // The counter's staging is still uncommitted while the office stages: neither waits.
        TransactionGuard counterPrinting(l.db());
        QVERIFY(!print_total_input(l.db(), counterGrid).isError());
        QVERIFY(!print_total_input(office, officeGrid).isError());
        QVERIFY(!counterPrinting.commit().isError());
    }
    QCOMPARE(stagedNames(l.db()), (QStringList{QStringLiteral("계산대 A/"), QStringLiteral("계산대 B/")}));
    QCOMPARE(stagedNames(office), QStringList{QStringLiteral("사무실/")});
    // A later print of one leaves the other's rows alone.
    officeGrid.clear();
    QVERIFY(!print_total_input(office, officeGrid).isError());
    QCOMPARE(stagedNames(office), QStringList());
    QCOMPARE(stagedNames(l.db()).size(), 2);
}

void tst_LedgerPrint::layoutWrittenOnceAndNeverOverwritten()
{
    QTemporaryDir dir;
    const LoadedLayout first = loadReportLayout(dir.path());
    QVERIFY(first.problem.isEmpty());
    QCOMPARE(first.path, dir.filePath(QStringLiteral("LedgerList.ini")));
    QFile file(first.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), builtInLayoutText());
    file.close();
    QCOMPARE(first.layout.columns.size(), 9);
    QCOMPARE(first.layout.titleText, QStringLiteral("{title}"));

    // The shop's own edit is used and kept.
    QString edited = builtInLayoutText();
    edited.replace(QStringLiteral("left = 인쇄일: {date}"), QStringLiteral("left = {title} 장부 {date}"));
    edited.replace(QStringLiteral("마진 | {margin} | 11 | right\n"), QString());
    writeFile(first.path, edited.toUtf8());
    const LoadedLayout second = loadReportLayout(dir.path());
    QVERIFY(second.problem.isEmpty());
    QCOMPARE(second.layout.columns.size(), 8);
    QCOMPARE(second.layout.footerLeft, QStringLiteral("{title} 장부 {date}"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), edited);
    QCOMPARE(fillPlaceholders(second.layout.footerLeft, {{QStringLiteral("title"), QStringLiteral("솔  빛  셈")},
                                                         {QStringLiteral("date"), QStringLiteral("2026-12-09")}}),
             QStringLiteral("솔  빛  셈 장부 2026-12-09"));
}

void tst_LedgerPrint::brokenLayoutFallsBackToTheBuiltInDesign_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown placeholder") << "right = {page} / {pages}" << "right = {page} / {pagez}" << "{pagez}";
    QTest::newRow("unclosed placeholder") << "text = {title}" << "text = {title" << "'{'";
    QTest::newRow("stray brace") << "text = {heading}" << "text = heading}" << "'}'";
    QTest::newRow("unknown column value") << "{maeip_name} | 14" << "{maeip_nam} | 14" << "{maeip_nam}";
    QTest::newRow("column missing a part") << "| 8 | center" << "| 8" << "네 칸";
    QTest::newRow("width not a number") << "{pro_name} | 22" << "{pro_name} | 넓게" << "너비";
    QTest::newRow("size out of range") << "size = 8.5" << "size = 0" << "size";
    QTest::newRow("unknown section") << "[footer]" << "[footnote]" << "[footnote]";
    QTest::newRow("not utf-8") << "[totals]" << QString(QChar(0xFFFF)) << "UTF-8";
    // Numbers that pass any range test unless their finiteness is checked.
    QTest::newRow("margin not a number") << "margin = 10" << "margin = nan" << "행: margin";
    QTest::newRow("margin infinite") << "margin = 10" << "margin = inf" << "행: margin";
    QTest::newRow("width infinite") << "{pro_name} | 22" << "{pro_name} | -inf" << "너비";
    // Designs that would take the print minutes to lay out.
    const QString lastColumn = QStringLiteral("마진 | {margin} | 11 | right");
    QTest::newRow("20,000 columns") << lastColumn << (lastColumn + QLatin1Char('\n')).repeated(20000) << "열은 40개";
    QTest::newRow("1 MB title") << "text = {title}" << QStringLiteral("text = ") + QString(1 << 20, QLatin1Char('x')) << "1000글자";
}

void tst_LedgerPrint::brokenLayoutFallsBackToTheBuiltInDesign()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LedgerList.ini"));
    QString text = builtInLayoutText();
    QVERIFY(text.contains(from));
    text.replace(from, to);
    QByteArray bytes = text.toUtf8();
    if (to == QString(QChar(0xFFFF)))
        bytes.replace(to.toUtf8(), QByteArray("\xC0\xFF"));
    writeFile(path, bytes);
    const LoadedLayout loaded = loadReportLayout(dir.path());
    QVERIFY2(loaded.problem.contains(QDir::toNativeSeparators(path)), qPrintable(loaded.problem));
    QVERIFY2(loaded.problem.contains(reason), qPrintable(loaded.problem.left(300)));
    QVERIFY2(reason == QLatin1String("UTF-8") || loaded.problem.contains(QStringLiteral("행: ")), qPrintable(loaded.problem.left(300)));
    QCOMPARE(loaded.layout.columns.size(), builtInLayout().columns.size());
    QCOMPARE(loaded.layout.footerRight, QStringLiteral("{page} / {pages}"));
    // The broken file is the shop's: it stays as it was.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void tst_LedgerPrint::unwritableFolderIsNamed()
{
    // A folder that cannot hold the file (here it is a file itself; root could write anywhere else).
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath(QStringLiteral("Rpt"));
    writeFile(notAFolder, "x");
    const LoadedLayout loaded = loadReportLayout(notAFolder);
    QVERIFY(loaded.problem.contains(QStringLiteral("만들 수 없어")));
    QVERIFY(loaded.problem.contains(QDir::toNativeSeparators(notAFolder + QStringLiteral("/LedgerList.ini"))));
    QCOMPARE(loaded.layout.columns.size(), 9);
}

QTEST_APPLESS_MAIN(tst_LedgerPrint)
#include "tst_ledgerprint.moc"
