// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include "admitlogin.h"
#include "core/base/textutil.h"
#include "core/report/ledgerprint.h"
#include "core/report/reportlayout.h"
#include "core/shell/appfolders.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "filesizelimit.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/ledger/ledgergrid.h"
#include "gui/report/frmprintpreview.h"
#include "gui/report/ledgerreportpainter.h"
#include "modalwatch.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

// What poppler reads back from a PDF, as a user's tools would; each page ends with a form feed.
QString pdfText(const QString &pdf, const QStringList &options = {QStringLiteral("-layout")})
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// solbitsem --print-ledger args, with no display at all (the command needs none) and the
// given variables set; the exit code, -1 for a crash.
int runPrintCommand(const QStringList &args, QString *err = nullptr, const QProcessEnvironment &extra = {})
{
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    env.insert(extra);
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(SOLBITSEM_APP), QStringList{QStringLiteral("--print-ledger")} + args);
    app.waitForFinished(60000);
    if (err)
        *err = QString::fromUtf8(app.readAllStandardError());
    return app.exitStatus() == QProcess::NormalExit ? app.exitCode() : -1;
}

LedgerRow printRow(const QString &name, qint64 cost, qint64 sale, qint64 usecost = 0)
{
    LedgerRow r = voucher(QStringLiteral("2026-12-01"), name, cost, QStringLiteral("2026-12-02"), sale, usecost);
    r.maeipName = QStringLiteral("가나상사");
    r.maechulName = QStringLiteral("O'Neil");
    return r;
}

LedgerReport reportOf(std::vector<LedgerRow> rows)
{
    LedgerReport report;
    report.title = ledgerReportTitle();
    report.heading = QStringLiteral("기간: 2026-12-01 ~ 2026-12-08");
    report.printDate = QDate(2026, 12, 9);
    for (const LedgerRow &r : rows) {
        report.totals.maeipCost += r.maeipCost;
        report.totals.maechulCost += r.maechulCost;
        report.totals.usecost += r.maechulUsecost;
        report.totals.margin += r.margin();
    }
    report.rows = std::move(rows);
    return report;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_LedgerPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        TestEnvironment::instance();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void pdfHoldsTitleEveryRowTotalsAndPageNumbers();
    void emptyLedgerPrintsHeadersAndZeroTotals();
    void longNamesWrapWithinTheirColumn();
    void lineBreaksInNamesPrintAsSpaces();
    void previewTurnsPagesAndSavesPdf();
    void printButtonFinishesTheEditAndStagesTheGrid();
    void commandFormExitCodes();
    void commandOnAFreshMachine();
};

void tst_LedgerPrinting::pdfHoldsTitleEveryRowTotalsAndPageNumbers()
{
    std::vector<LedgerRow> rows;
    for (int i = 1; i <= 150; ++i)
        rows.push_back(printRow(QStringLiteral("품목%1").arg(i, 4, 10, QLatin1Char('0')), i * 1000, i * 1500, 100));
    rows.push_back(printRow(QStringLiteral("최대"), 999999999999LL, 0));
    rows.push_back(printRow(QStringLiteral("최소"), -999999999999LL, 0));
    const LedgerReport report = reportOf(rows);
    const LedgerReportPainter painter(report, builtInLayout());
    QVERIFY(painter.pageCount() > 3);
    const QString pdf = m_dir.filePath(QStringLiteral("many.pdf"));
    QString error;
    QVERIFY2(painter.writePdf(pdf, &error), qPrintable(error));

    const QString text = pdfText(pdf);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), painter.pageCount());
    const QRegularExpression title(QStringLiteral("솔\\s+빛\\s+셈"));
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY2(title.match(pages[p]).hasMatch(), qPrintable(pages[p].left(300)));
        QVERIFY(pages[p].contains(QStringLiteral("매입금액")));
        // pdftotext closes up narrow gaps: "1 / 5" reads back as "1/5".
        QVERIFY(pages[p].contains(QRegularExpression(QStringLiteral("\\b%1 ?/ ?%2\\s*$").arg(p + 1).arg(pages.size()))));
        QVERIFY(pages[p].contains(QStringLiteral("2026-12-09")));
        QVERIFY(pages[p].contains(QStringLiteral("기간: 2026-12-01 ~ 2026-12-08")));
    }
    // Every row once, in order.
    qsizetype at = 0;
    for (const LedgerRow &r : report.rows) {
        const qsizetype found = text.indexOf(r.proName, at);
        QVERIFY2(found > at, qPrintable(r.proName));
        at = found;
    }
    QVERIFY(text.contains(QStringLiteral("999,999,999,999")));
    QVERIFY(text.contains(QStringLiteral("-999,999,999,999")));
    QVERIFY(text.contains(QStringLiteral("O'Neil")));
    QVERIFY(pages.last().contains(QStringLiteral("[합 계]")));
    QVERIFY(pages.last().contains(formatMoney(report.totals.maechulCost)));
    QVERIFY(pages.last().contains(formatMoney(report.totals.margin)));

    // The Korean font travels inside the file.
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf});
    fonts.waitForFinished(30000);
    const QString list = QString::fromUtf8(fonts.readAllStandardOutput());
    const QRegularExpression embedded(QStringLiteral("^(\\S+)\\s+CID TrueType\\s+Identity-H\\s+(yes|no)"),
                                      QRegularExpression::MultilineOption);
    int fontsSeen = 0;
    for (const auto &m : embedded.globalMatch(list)) {
        ++fontsSeen;
        QVERIFY2(m.captured(1).startsWith(QStringLiteral("Nanum")) && m.captured(2) == QStringLiteral("yes"),
                 qPrintable(list));
    }
    QCOMPARE(fontsSeen, 2); // the body and its bold
}

void tst_LedgerPrinting::emptyLedgerPrintsHeadersAndZeroTotals()
{
    const LedgerReport report = reportOf({});
    const LedgerReportPainter painter(report, builtInLayout());
    QCOMPARE(painter.pageCount(), 1);
    const QString pdf = m_dir.filePath(QStringLiteral("empty.pdf"));
    QVERIFY(painter.writePdf(pdf, nullptr));
    const QString text = pdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("판매처명")));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\b1 ?/ ?1\\s*$"))));
    QVERIFY(QRegularExpression(QStringLiteral("\\[합 계\\](\\s+0){4}")).match(text).hasMatch());
}

void tst_LedgerPrinting::longNamesWrapWithinTheirColumn()
{
    // 50 bytes, the longest product name the ledger stores, without a blank to break at.
    const QString longName = QStringLiteral("한경희스팀청소기특별한정판매용대형가정용고급형모델");
    QCOMPARE(LenAnsi(longName), 50);
    const LedgerReport report = reportOf({printRow(longName, 1, 2), printRow(QStringLiteral("다음행"), 1, 2)});
    const LedgerReportPainter painter(report, builtInLayout());
    const QString pdf = m_dir.filePath(QStringLiteral("long.pdf"));
    QVERIFY(painter.writePdf(pdf, nullptr));
    // Word boxes: the name's lines sit left of the next column, above the next row.
    const QString html = pdfText(pdf, {QStringLiteral("-bbox")});
    const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                                 "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QString joined;
    QList<double> lineTops;
    double nameRight = 0, nameBottom = 0, nextRowTop = 0, nextColumnLeft = 0;
    for (const auto &m : word.globalMatch(html)) {
        const QString w = m.captured(5);
        if (longName.contains(w) && w.size() > 1) {
            joined += w;
            lineTops << m.captured(2).toDouble();
            nameRight = std::max(nameRight, m.captured(3).toDouble());
            nameBottom = std::max(nameBottom, m.captured(4).toDouble());
        } else if (w == QStringLiteral("다음행")) {
            nextRowTop = m.captured(2).toDouble();
        } else if (w == QStringLiteral("가나상사") && nextColumnLeft == 0) {
            nextColumnLeft = m.captured(1).toDouble();
        }
    }
    QCOMPARE(joined, longName); // all of it, in order, nothing cut off
    QVERIFY(lineTops.size() >= 2);
    QVERIFY(nameRight < nextColumnLeft);
    QVERIFY(nameBottom <= nextRowTop);
}

void tst_LedgerPrinting::lineBreaksInNamesPrintAsSpaces()
{
    // Pasted or imported names may hold a line break, which a text layout draws as nothing.
    const LedgerReport report = reportOf({printRow(QStringLiteral("세탁기\n드럼"), 1, 2),
                                          printRow(QStringLiteral("냉장고\r\n 양문형\r\n"), 1, 2)});
    const LedgerReportPainter painter(report, builtInLayout());
    const QString pdf = m_dir.filePath(QStringLiteral("breaks.pdf"));
    QVERIFY(painter.writePdf(pdf, nullptr));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("세탁기 드럼")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("냉장고 양문형")), qPrintable(text));
}

void tst_LedgerPrinting::previewTurnsPagesAndSavesPdf()
{
    std::vector<LedgerRow> rows(200, printRow(QStringLiteral("같은품목"), 1, 2));
    const LedgerReport report = reportOf(rows);
    const LedgerReportPainter painter(report, builtInLayout());
    ScriptedPrompt prompt;
    FrmPrintPreview preview(painter, prompt);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCOMPARE(preview.lblPages->text(), QStringLiteral("/ %1").arg(painter.pageCount()));
    // The page fills the window, not the room it had before the window was laid out.
    QTRY_VERIFY(preview.findChild<QWidget *>(QStringLiteral("pnlPage"))->width() > preview.width() * 3 / 4);
    QTest::keyClick(&preview, Qt::Key_PageDown);
    QCOMPARE(preview.page(), 1);
    preview.btnLast->click();
    QCOMPARE(preview.page(), painter.pageCount() - 1);
    QVERIFY(!preview.btnNext->isEnabled());
    QTest::keyClick(&preview, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(preview.page(), 0);

    const QString pdf = m_dir.filePath(QStringLiteral("preview.pdf"));
    QVERIFY(preview.savePdf(pdf));
    QCOMPARE(pdfText(pdf).count(QLatin1Char('\f')), painter.pageCount());
    prompt.ok();
    QVERIFY(!preview.savePdf(m_dir.filePath(QStringLiteral("no/such/folder/x.pdf"))));
    QVERIFY(prompt.last().text.contains(QStringLiteral("no/such/folder/x.pdf")));

    // A disk that fills up midway: a box says so, and the PDF saved before stays as it was.
    const QByteArray good = readAll(pdf);
    prompt.ok();
    bool saved = true;
    {
        const FileSizeLimit full(rlim_t(good.size() / 2));
        saved = preview.savePdf(pdf);
    }
    QVERIFY(!saved);
    QVERIFY2(prompt.last().text.contains(QStringLiteral("디스크")), qPrintable(prompt.last().text));
    QCOMPARE(readAll(pdf), good);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("preview.pdf*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("preview.pdf")});
    QTest::keyClick(&preview, Qt::Key_Escape);
    QVERIFY(!preview.isVisible());
}

void tst_LedgerPrinting::printButtonFinishesTheEditAndStagesTheGrid()
{
    TestEnvironment::instance().reset();
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    AppPaths paths;
    {
        ScriptedPrompt quiet;
        quiet.ok(); // the new ledger's notice
        Database seed;
        paths = InitApp(settings, seed, quiet);
        for (const QString &name : {QStringLiteral("첫째"), QStringLiteral("둘째")}) {
            SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                           "maechul_cost) VALUES ('2026-12-01', :p, 100, '2026-12-02', 200)"));
            QVERIFY(seed.exec(st.bind(QStringLiteral("p"), name)).ok());
        }
    }
    Database db;
    ScriptedPrompt prompt;
    frmMain w(settings, db, prompt);
    w.setToday(QDate(2026, 12, 8));
    {
        const auto login = admitLogin();
        QVERIFY(w.Form_Load());
    }
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // An amount typed into the last saved voucher, its editor still open.
    QApplication::setActiveWindow(&w);
    const FrmMainControls ui(&w);
    ui.spList()->setCurrentIndex(w.model().index(1, LedgerModel::ColMaeipCost));
    ui.spList()->setFocus();
    for (QChar ch : QStringLiteral("777"))
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QVERIFY(ui.spList()->isEditing());

    // A search typed but not run: the heading still tells the shown period.
    ui.txtPName()->setText(QStringLiteral("냉장고"));

    const QString pdf = m_dir.filePath(QStringLiteral("button.pdf"));
    const ModalWatch<FrmPrintPreview> watch([&pdf](FrmPrintPreview *p) {
        p->savePdf(pdf);
        p->reject();
    });
    ui.btnPrint()->click();
    QTRY_VERIFY(watch.shown());
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("기간: 2026-12-01 ~ 2026-12-08")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("777")));
    LedgerReport staged;
    QVERIFY(!readLedgerReport(db, staged).isError());
    QCOMPARE(staged.rows.size(), size_t(2));
    QCOMPARE(staged.rows[1].proName, QStringLiteral("둘째"));
    QCOMPARE(staged.rows[1].maeipCost, 777);
    QVERIFY(QFile::exists(QDir(paths.gRptPath).filePath(reportLayoutFileName())));

    // A staging the engine refuses: its words in the box, and no report.
    QVERIFY(db.exec(SqlStatement(QStringLiteral("DROP TABLE total_print"))).ok());
    const ModalWatch<FrmPrintPreview> none([](FrmPrintPreview *p) { p->reject(); });
    prompt.ok();
    ui.btnPrint()->click();
    QCOMPARE(prompt.count(), 1);
    QVERIFY2(prompt.last().text.contains(QStringLiteral("no such table: total_print")), qPrintable(prompt.last().text));
    QTest::qWait(50);
    QVERIFY(!none.shown());
}

void tst_LedgerPrinting::commandFormExitCodes()
{
    TestEnvironment::instance().reset();
    const auto run = [](const QStringList &args, QString *err = nullptr) { return runPrintCommand(args, err); };
    const QString out = m_dir.filePath(QStringLiteral("command.pdf"));
    QString err;
    QCOMPARE(run({}, &err), 2);
    QVERIFY(err.contains(QStringLiteral("사용법")));
    QCOMPARE(run({out, QStringLiteral("--from"), QStringLiteral("2026-12-01")}, &err), 2);
    QVERIFY(err.contains(QStringLiteral("--to")));

    {
        AppSettings settings;
        ScriptedPrompt quiet;
        quiet.ok();
        Database seed;
        InitApp(settings, seed, quiet);
        for (const QString &name : {QStringLiteral("세탁기 A"), QStringLiteral("냉장고"), QStringLiteral("세탁기 B")}) {
            SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                           "maechul_cost) VALUES ('2020-01-01', :p, 100, '2020-01-02', 200)"));
            QVERIFY(seed.exec(st.bind(QStringLiteral("p"), name)).ok());
        }
    }
    QCOMPARE(run({out, QStringLiteral("--product"), QStringLiteral("세탁기")}, &err), 0);
    const QString text = pdfText(out);
    QVERIFY(text.contains(QStringLiteral("품목명: 세탁기")));
    QVERIFY(text.contains(QStringLiteral("세탁기 A")) && text.contains(QStringLiteral("세탁기 B")));
    QVERIFY(!text.contains(QStringLiteral("냉장고")));
    QCOMPARE(run({m_dir.filePath(QStringLiteral("no/such/folder.pdf"))}, &err), 1);
    QVERIFY(err.contains(QStringLiteral("no/such/folder.pdf")));
    // /dev/full fails every write as a full disk does.
    const QString full = m_dir.filePath(QStringLiteral("full.pdf"));
    if (QFile::link(QStringLiteral("/dev/full"), full)) {
        QCOMPARE(run({full}, &err), 1);
        QVERIFY2(err.contains(QStringLiteral("디스크에 빈 공간이 없습니다")), qPrintable(err));
    }

    TestEnvironment::instance().reset();
    QFile::remove(out);
    QCOMPARE(run({out}, &err), 1); // no ledger
    QVERIFY(err.contains(QStringLiteral("panDB.db")));
    QVERIFY(!QFile::exists(out));
}

void tst_LedgerPrinting::commandOnAFreshMachine()
{
    // A ledger the window never opened (so no report folder), on a machine whose font
    // configuration knows no font at all.
    TestEnvironment::instance().reset();
    const QString ledger = QDir(AppFolders::defaultDbPath()).filePath(Startup::ledgerFileName());
    QVERIFY(QDir().mkpath(AppFolders::defaultDbPath()));
    QString error;
    QVERIFY2(Database::createLedger(ledger, &error), qPrintable(error));
    {
        Database db;
        QVERIFY(db.open(ledger));
        SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                       "maechul_cost) VALUES ('2020-01-01', :p, 100, '2020-01-02', 200)"));
        QVERIFY(db.exec(st.bind(QStringLiteral("p"), QStringLiteral("세탁기\n드럼"))).ok());
    }
    const QString rpt = AppFolders::defaultRptPath();
    QVERIFY(!QFileInfo::exists(rpt));
    const QString conf = m_dir.filePath(QStringLiteral("fonts.conf"));
    QFile f(conf);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><cachedir>%1</cachedir></fontconfig>\n")
                .arg(m_dir.filePath(QStringLiteral("fccache")))
                .toUtf8());
    f.close();
    QProcessEnvironment noFonts;
    noFonts.insert(QStringLiteral("FONTCONFIG_FILE"), conf);
    const QString out = m_dir.filePath(QStringLiteral("fresh.pdf"));
    QString err;
    QCOMPARE(runPrintCommand({out, QStringLiteral("--from"), QStringLiteral("2020-01-01"), QStringLiteral("--to"),
                              QStringLiteral("2020-01-31")},
                             &err, noFonts),
             0);

    // The report folder and its layout are made as the window's start makes them.
    QVERIFY2(!err.contains(reportLayoutFileName()), qPrintable(err));
    QFile layout(QDir(rpt).filePath(reportLayoutFileName()));
    QVERIFY(layout.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(layout.readAll()), builtInLayoutText());

    // Every font in the file is the carried Nanum font, and the Hangul reads back as text; the
    // name's two lines print apart.
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {out});
    fonts.waitForFinished(30000);
    const QStringList list = QString::fromUtf8(fonts.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!list.isEmpty());
    for (const QString &line : list) {
        // name, type, encoding, then emb sub uni and the object's number
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        QVERIFY2(f.first().contains(QStringLiteral("NanumBarunGothic")) && f.value(f.size() - 5) == QStringLiteral("yes"),
                 qPrintable(line));
    }
    const QString text = pdfText(out);
    QVERIFY2(QRegularExpression(QStringLiteral("솔\\s+빛\\s+셈")).match(text).hasMatch(), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("세탁기 드럼")), qPrintable(text));
}

QTEST_MAIN(tst_LedgerPrinting)
#include "tst_ledgerprinting.moc"
