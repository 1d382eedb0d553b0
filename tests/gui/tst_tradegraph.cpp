// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QValueAxis>

#include "gui/analysis/frmchart.h"
#include "gui/analysis/frmtradegraph.h"
#include "scriptedprompt.h"
#include "templedger.h"

// What the chart shows, read back from the chart objects: its bars' labels and values.
struct Drawn
{
    int series = 0;
    int sets = 0;
    QStringList labels;
    QList<double> values;
    QString unit;
    bool truncated = false; // a label shown cut short, with "…"
};

static Drawn drawn(const FrmChart *chart)
{
    Drawn d;
    const auto series = chart->chart()->series();
    d.series = static_cast<int>(series.size());
    auto *bars = qobject_cast<QBarSeries *>(series.value(0));
    if (!bars)
        return d;
    d.sets = static_cast<int>(bars->count());
    for (int i = 0; i < bars->barSets().first()->count(); ++i)
        d.values << bars->barSets().first()->at(i);
    if (auto *x = qobject_cast<QBarCategoryAxis *>(bars->attachedAxes().value(0))) {
        d.labels = x->categories();
        d.truncated = x->labelsTruncated();
    }
    if (auto *y = qobject_cast<QValueAxis *>(bars->attachedAxes().value(1)))
        d.unit = y->titleText();
    return d;
}

class tst_TradeGraph : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempLedger> m_l;
    ScriptedPrompt m_prompt;
    QStringList m_days;

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        m_l = std::make_unique<TempLedger>();
        m_prompt.asked.clear();
        m_days.clear();
        TransactionGuard tx(m_l->db());
        // 45 sold days, every second day from 2026-01-01, each 1,234,500 won
        for (int i = 0; i < 45; ++i) {
            m_days << QDate(2026, 1, 1).addDays(2 * i).toString(Qt::ISODate);
            m_l->addVoucher(voucher(QStringLiteral("2025-12-01"), QStringLiteral("O'Neil TV"), 1'000'000, m_days.last(),
                                    1'234'500, 0, QStringLiteral("가전")));
        }
        QVERIFY(!tx.commit().isError());
    }

    void opensWithItsDesignState()
    {
        QWidget owner;
        auto *w = FrmTradeGraph::open(&owner, m_l->db(), m_prompt, 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("매입 분석 그래프"));
        QVERIFY(!w->isModal());
        QCOMPARE(FrmTradeGraph::open(&owner, m_l->db(), m_prompt, 0), w);
        QVERIFY(FrmTradeGraph::open(&owner, m_l->db(), m_prompt, 1) != w);
        const QDate today = QDate::currentDate();
        QCOMPARE(w->txtDate[0]->text(), QDate(today.year(), today.month(), 1).toString(Qt::ISODate));
        QCOMPARE(w->txtDate[1]->text(), today.toString(Qt::ISODate));
        QVERIFY(w->optType[0]->isChecked());
        QVERIFY(w->optGraphValue[1]->isChecked());
        QCOMPARE(w->txtCntColPerPage->text(), QStringLiteral("31"));
        QCOMPARE(w->cmbGroup->count(), 2);
        QCOMPARE(w->cmbGroup->itemText(0), QString());
        QCOMPARE(w->cmbPName->itemText(1), QStringLiteral("O'Neil TV"));
        for (QWidget *c : w->findChildren<QWidget *>())
            if (qobject_cast<QLineEdit *>(c) || qobject_cast<QComboBox *>(c) || qobject_cast<QAbstractButton *>(c))
                QVERIFY2(!c->accessibleName().isEmpty() || qobject_cast<QComboBox *>(c->parentWidget()),
                         qPrintable(c->objectName()));
    }

    void drawsPagesIntoTheChart()
    {
        QWidget owner;
        FrmTradeGraph &w = *FrmTradeGraph::open(&owner, m_l->db(), m_prompt, 1);
        w.txtDate[0]->setText(QStringLiteral("2026-01-01"));
        w.txtDate[1]->setText(QStringLiteral("2026-03-31"));
        w.btnGraph->click();
        QCOMPARE(w.cmbPage->count(), 3);
        QCOMPARE(w.cmbPage->itemText(0), QStringLiteral("ALL"));
        QCOMPARE(w.cmbPage->currentText(), QStringLiteral("1"));
        FrmChart *chart = w.chartWindow();
        QVERIFY(chart && chart->isVisible());
        QVERIFY(QApplication::activeWindow() != chart);
        QCOMPARE(chart->windowTitle(), QStringLiteral("매출 분석 그래프 일별"));
        // The heading is drawn into the chart, and so into a saved picture.
        for (const QString &part : {QStringLiteral("매출 분석 그래프 일별"), QStringLiteral("기간: 2026-01-01 ~ 2026-03-31"),
                                    QStringLiteral("그룹: 전체"), QStringLiteral("품목: 전체"), QStringLiteral("페이지 1/2")})
            QVERIFY2(chart->chart()->title().contains(part), qPrintable(chart->chart()->title()));
        // At the window's first size every label of the 31 reads whole, the year left to the period.
        QTest::qWait(50);
        Drawn d = drawn(chart);
        QCOMPARE(d.series, 1);
        QCOMPARE(d.sets, 1);
        QCOMPARE(d.labels, TradeAnalysis::axisLabels(m_days.mid(0, 31)));
        QCOMPARE(d.labels.first(), QStringLiteral("01-01"));
        QVERIFY(!d.truncated);
        // A narrow window shows every second label or fewer, the others left blank.
        chart->resize(360, 480);
        QTest::qWait(50);
        d = drawn(chart);
        QCOMPARE(d.labels.size(), 31);
        QCOMPARE(d.labels.first(), QStringLiteral("01-01"));
        QCOMPARE(d.labels.at(1), QString(1, QChar(0x200B)));
        chart->resize(720, 480);
        QTest::qWait(50);
        QCOMPARE(drawn(chart).labels, TradeAnalysis::axisLabels(m_days.mid(0, 31)));
        QCOMPARE(d.values.size(), 31);
        QCOMPARE(d.values.first(), 123.45);
        QCOMPARE(d.unit, QStringLiteral("단위: 만원.개"));

        w.cmbPage->setCurrentIndex(2);
        d = drawn(w.chartWindow());
        QCOMPARE(d.labels, TradeAnalysis::axisLabels(m_days.mid(31)));
        QCOMPARE(d.values.size(), 14);

        // The value option rebuilds while the chart is open, back on page "1"
        w.optGraphValue[0]->click();
        QCOMPARE(w.cmbPage->currentIndex(), 1);
        d = drawn(w.chartWindow());
        QCOMPARE(d.values, QList<double>(31, 1.0));
        w.optType[1]->click();
        QCOMPARE(w.chartWindow()->windowTitle(), QStringLiteral("매출 분석 그래프 월별"));
        QCOMPARE(drawn(w.chartWindow()).labels, (QStringList{QStringLiteral("1월"), QStringLiteral("2월"), QStringLiteral("3월")}));
        QCOMPARE(drawn(w.chartWindow()).values, (QList<double>{16, 14, 15}));

        // Enter re-pages for 1 to 99 points only
        w.optType[0]->click();
        w.txtCntColPerPage->setText(QStringLiteral("150"));
        QTest::keyClick(w.txtCntColPerPage, Qt::Key_Return);
        QCOMPARE(w.cmbPage->count(), 3);
        w.txtCntColPerPage->setText(QStringLiteral("10"));
        QTest::keyClick(w.txtCntColPerPage, Qt::Key_Return);
        QCOMPARE(w.cmbPage->count(), 6);
        QCOMPARE(drawn(w.chartWindow()).values.size(), 10);

        // The table behind the chart
        w.chartWindow()->copyTable();
        QCOMPARE(QApplication::clipboard()->text().section(QStringLiteral("\r\n"), 0, 1),
                 QStringLiteral("일별\t수량\r\n2026-01-01\t1"));
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("표.csv"));
        QVERIFY(w.chartWindow()->saveCsv(csv));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(bytes.left(3), QByteArray("\xEF\xBB\xBF"));
        // The whole table, not the 10 points on screen.
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 46);
        QCOMPARE(lines.last(), m_days.last() + QStringLiteral(",1"));
        const QString png = dir.filePath(QStringLiteral("chart.png"));
        QVERIFY(w.chartWindow()->savePng(png));
        QVERIFY(QImage(png).width() > 0);
        QVERIFY(m_prompt.asked.isEmpty());

        // Nothing found: the box, and the chart stays as it was
        w.txtDate[1]->setText(QStringLiteral("2025-12-31"));
        m_prompt.ok();
        w.btnGraph->click();
        QCOMPARE(m_prompt.asked.value(0).text, QStringLiteral("기간내 해당 데이터가 없습니다."));
        QCOMPARE(m_prompt.asked.value(0).icon, UserPrompt::Icon::Information);
        QCOMPARE(drawn(w.chartWindow()).values.size(), 10);

        // Esc closes the chart window, once the user is in it.
        w.chartWindow()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w.chartWindow());
        QTest::keyClick(w.chartWindow()->chartView, Qt::Key_Escape);
        QVERIFY(!w.chartWindow()->isVisible());

        // Closing the window closes its chart
        QPointer<FrmChart> chart2 = w.chartWindow();
        w.btnClose->click();
        QTRY_VERIFY(!chart2);
    }

    void refusedTextsKeepTheFocus()
    {
        QWidget owner;
        auto *w = FrmTradeGraph::open(&owner, m_l->db(), m_prompt, 1);
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->txtDate[0]->setFocus();
        w->txtDate[0]->setText(QStringLiteral("2026-02-30"));
        m_prompt.ok();
        QTest::keyClick(w->txtDate[0], Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), w->txtDate[0]);
        QCOMPARE(m_prompt.asked.value(0).lines(), QStringLiteral("잘못된 날짜 형식입니다.\n정확한 날짜 형식을 입력하세요."));

        w->txtDate[0]->setText(QStringLiteral("2026-01-01"));
        w->txtCntColPerPage->setFocus();
        w->txtCntColPerPage->setText(QStringLiteral("1000"));
        m_prompt.ok();
        w->cmbPage->setFocus();
        QCOMPARE(w->txtCntColPerPage->text(), QStringLiteral("999"));
        QCOMPARE(m_prompt.asked.value(1).text, QStringLiteral("최대값은 999입니다."));
        QVERIFY(w->close());
    }
};

QTEST_MAIN(tst_TradeGraph)
#include "tst_tradegraph.moc"
