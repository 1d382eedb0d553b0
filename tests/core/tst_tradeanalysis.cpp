// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/analysis/tradeanalysis.h"
#include "scriptedprompt.h"
#include "templedger.h"

using Filter = TradeAnalysis::Filter;

static QString describe(const QList<AnalysisPoint> &points)
{
    QStringList out;
    for (const AnalysisPoint &p : points)
        out << p.label + QLatin1Char('=') + p.text;
    return out.join(QLatin1Char(' '));
}

class tst_TradeAnalysis : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempLedger> m_l;
    ScriptedPrompt m_prompt;

    void sold(const QString &date, const QString &product, qint64 cost, qint64 price, const QString &group = {})
    {
        m_l->addVoucher(voucher(QStringLiteral("2025-11-01"), product, cost, date, price, 0, group));
    }

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        m_l = std::make_unique<TempLedger>();
        m_prompt.asked.clear();
    }

    void dailyPointsArePaged()
    {
        // 45 sold days, every second day from 2026-01-01, and unsold or zero-priced vouchers between
        QStringList days;
        TransactionGuard tx(m_l->db());
        for (int i = 0; i < 45; ++i) {
            days << QDate(2026, 1, 1).addDays(2 * i).toString(Qt::ISODate);
            sold(days.last(), QStringLiteral("TV"), 1000, 10000);
            m_l->addVoucher(voucher(QStringLiteral("2025-11-01"), QStringLiteral("TV"), 1000));
            sold(QDate(2026, 1, 2).addDays(2 * i).toString(Qt::ISODate), QStringLiteral("TV"), 1000, 0);
        }
        QVERIFY(!tx.commit().isError());
        TradeAnalysis a(m_l->db(), m_prompt);
        QVERIFY(a.build({QStringLiteral("2026-01-01"), QStringLiteral("2026-03-31"), {}, {}, TradeAnalysis::Day}));
        QCOMPARE(a.lastIndex(), 44);
        const QStringList pages = a.pages(QStringLiteral("31"));
        QCOMPARE(pages, (QStringList{QStringLiteral("ALL"), QStringLiteral("1"), QStringLiteral("2")}));

        QList<AnalysisPoint> last = a.page(2, 3, QStringLiteral("31"), TradeAnalysis::Count);
        QCOMPARE(last.size(), 14);
        QStringList labels;
        for (const AnalysisPoint &p : last)
            labels << p.label;
        QCOMPARE(labels, days.mid(31));
        QCOMPARE(last.first().text, QStringLiteral("1"));
        QCOMPARE(a.page(1, 3, QStringLiteral("31"), TradeAnalysis::Amount).size(), 31);
        QCOMPARE(a.page(0, 3, QStringLiteral("31"), TradeAnalysis::Amount).size(), 45);
        QCOMPARE(a.page(0, 3, QStringLiteral("31"), TradeAnalysis::Amount).first().text, QStringLiteral("1"));
        // 45 on one page: "ALL", "1"; and page "1" is then the last one
        QCOMPARE(a.pages(QStringLiteral("45")).size(), 2);
        QCOMPARE(a.page(1, 2, QStringLiteral("45"), TradeAnalysis::Count).size(), 45);
        QVERIFY(m_prompt.asked.isEmpty());
    }

    void groupings_data()
    {
        QTest::addColumn<int>("grouping");
        QTest::addColumn<int>("gubun");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("amounts");

        const QString from = QStringLiteral("2025-12-01");
        QTest::newRow("by day, sales") << 0 << 1 << from << QString() << QString()
            << "2025-12-31=1 2026-01-15=2" << "2025-12-31=123.45 2026-01-15=150";
        QTest::newRow("by month, purchases") << 1 << 0 << from << QString() << QString()
            << "2025-12=1 2026-01=2" << "2025-12=100 2026-01=120";
        QTest::newRow("by year") << 2 << 1 << from << QString() << QString()
            << "2025=1 2026=2" << "2025=123.45 2026=150";
        QTest::newRow("by product") << 3 << 1 << from << QString() << QString()
            << "O'Neil 케이블=1 TV=2" << "O'Neil 케이블=50 TV=223.45";
        QTest::newRow("by product, purchases") << 3 << 0 << from << QString() << QString()
            << "O'Neil 케이블=1 TV=2" << "O'Neil 케이블=30 TV=190";
        QTest::newRow("one group") << 3 << 1 << from << QStringLiteral("가전") << QString()
            << "TV=2" << "TV=223.45";
        QTest::newRow("product with an apostrophe") << 0 << 1 << from << QString() << QStringLiteral("O'Neil 케이블")
            << "2026-01-15=1" << "2026-01-15=50";
        QTest::newRow("group that no longer exists") << 3 << 1 << from << QStringLiteral("없음") << QString()
            << QString() << QString();
        QTest::newRow("end before start") << 0 << 1 << QStringLiteral("2027-01-01") << QString() << QString()
            << QString() << QString();
        QTest::newRow("no vouchers in the period") << 1 << 1 << QStringLiteral("2026-06-01") << QString() << QString()
            << QString() << QString();
    }

    void groupings()
    {
        QFETCH(int, grouping);
        QFETCH(int, gubun);
        QFETCH(QString, from);
        QFETCH(QString, group);
        QFETCH(QString, product);
        QFETCH(QString, counts);
        QFETCH(QString, amounts);

        sold(QStringLiteral("2025-12-31"), QStringLiteral("TV"), 1'000'000, 1'234'500, QStringLiteral("가전"));
        sold(QStringLiteral("2026-01-15"), QStringLiteral("O'Neil 케이블"), 300'000, 500'000, QStringLiteral("부품"));
        sold(QStringLiteral("2026-01-15"), QStringLiteral("TV"), 900'000, 1'000'000, QStringLiteral("가전"));
        sold(QStringLiteral("2026-02-03"), QStringLiteral("TV"), 700'000, 0, QStringLiteral("가전")); // priced 0: left out
        m_l->addVoucher(voucher(QStringLiteral("2026-02-01"), QStringLiteral("TV"), 800'000));    // unsold
        sold(QStringLiteral("2027-01-01"), QStringLiteral("TV"), 1, 2, QStringLiteral("가전"));     // after the period

        TradeAnalysis a(m_l->db(), m_prompt);
        a.setTradeGubun(static_cast<quint8>(gubun));
        const Filter f{from, QStringLiteral("2026-12-31"), group, product, TradeAnalysis::Grouping(grouping)};
        QCOMPARE(a.build(f), !counts.isEmpty());
        QCOMPARE(describe(a.page(0, 2, QStringLiteral("31"), TradeAnalysis::Count)), counts);
        QCOMPARE(describe(a.page(0, 2, QStringLiteral("31"), TradeAnalysis::Amount)), amounts);
        QVERIFY(m_prompt.asked.isEmpty());
        QVERIFY(a.query(f, 1).binds.size() >= 2);
        QVERIFY(!a.query(f, 1).text.contains(QLatin1Char('\'')));
    }

    void amountsAreExact_data()
    {
        QTest::addColumn<qint64>("won");
        QTest::addColumn<QString>("text");
        QTest::newRow("1,234,500") << qint64(1'234'500) << "123.45";
        QTest::newRow("whole") << qint64(10'000) << "1";
        QTest::newRow("one won") << qint64(1) << "0.0001";
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("refund") << qint64(-5'000) << "-0.5";
        QTest::newRow("beyond a double's digits") << qint64(9'007'199'254'740'993) << "900719925474.0993";
    }
    void amountsAreExact()
    {
        QFETCH(qint64, won);
        QFETCH(QString, text);
        QCOMPARE(TradeAnalysis::amountText(won), text);
    }

    void sumsCarryNoDrift()
    {
        // 0.1 + 0.2 in units of 10,000 won, a thousand times over
        TransactionGuard tx(m_l->db());
        for (int i = 0; i < 1000; ++i) {
            sold(QStringLiteral("2026-03-01"), QStringLiteral("A"), 0, 1000);
            sold(QStringLiteral("2026-03-01"), QStringLiteral("A"), 0, 2000);
        }
        QVERIFY(!tx.commit().isError());
        TradeAnalysis a(m_l->db(), m_prompt);
        QVERIFY(a.build({QStringLiteral("2026-03-01"), QStringLiteral("2026-03-01"), {}, {}, TradeAnalysis::Product}));
        QCOMPARE(describe(a.page(0, 2, QStringLiteral("31"), TradeAnalysis::Amount)), QStringLiteral("A=300"));
    }

    void tableMatchesTheGroupingStatement()
    {
        // build() sums months from days and products in a hash; the grouping statement is the
        // reference, letter case of names and empty names included.
        const char16_t *names[] = {u"TV", u"tv", u"Tv 받침", u"", u"가습기", u"a", u"B"};
        TransactionGuard tx(m_l->db());
        for (int i = 0; i < 60; ++i)
            sold(QDate(2025, 11, 20).addDays(i * 7).toString(Qt::ISODate), QString::fromUtf16(names[i % 7]),
                 1000 * i, 10'000 + 333 * i);
        QVERIFY(!tx.commit().isError());
        for (int g = TradeAnalysis::Day; g <= TradeAnalysis::Product; ++g) {
            for (quint8 gubun : {0, 1}) {
                const Filter f{QStringLiteral("2025-12-01"), QStringLiteral("2026-12-31"), {}, {}, TradeAnalysis::Grouping(g)};
                QStringList expected;
                QVERIFY(!m_l->db().forEachRow(TradeAnalysis::query(f, gubun), [&](const Database::RowView &r) {
                    expected << r.text(0).toLower() + QLatin1Char('=') + QString::number(r.integer(1)) + QLatin1Char('/')
                                    + TradeAnalysis::amountText(r.integer(2));
                }).isError());
                TradeAnalysis a(m_l->db(), m_prompt);
                a.setTradeGubun(gubun);
                QVERIFY(a.build(f));
                QStringList actual;
                for (const AnalysisEntry &e : a.entries())
                    actual << e.label.toLower() + QLatin1Char('=') + QString::number(e.count) + QLatin1Char('/')
                                  + TradeAnalysis::amountText(e.amountWon);
                QCOMPARE(actual, expected);
            }
        }
    }

    void lists()
    {
        sold(QStringLiteral("2026-01-02"), QStringLiteral("O'Neil"), 1, 2, QStringLiteral("부품"));
        sold(QStringLiteral("2026-01-02"), QStringLiteral(" "), 1, 2, QStringLiteral("가전"));
        sold(QStringLiteral("2026-01-02"), QStringLiteral("TV "), 1, 2, QString());
        sold(QStringLiteral("2026-01-02"), QStringLiteral("냉장고"), 1, 0, QStringLiteral("가전")); // not sold
        TradeAnalysis a(m_l->db(), m_prompt);
        QCOMPARE(a.groupNames().value_or(QStringList()), (QStringList{QStringLiteral("가전"), QStringLiteral("부품")}));
        QCOMPARE(a.productNames().value_or(QStringList()), (QStringList{QStringLiteral("O'Neil"), QStringLiteral("TV ")}));

        m_l->exec(QStringLiteral("DROP TABLE total"));
        m_prompt.ok().ok();
        QVERIFY(!a.productNames());
        QVERIFY(!a.groupNames());
        QCOMPARE(m_prompt.asked.size(), 2);
        QVERIFY2(m_prompt.asked[0].text.startsWith(TestEngine::isServer() ? QStringLiteral("Error 3011 (ERROR:  relation \"total\" does not exist")
                                                                          : QStringLiteral("Error 1 (no such table: total")),
                 qPrintable(m_prompt.asked[0].text));
        QVERIFY(m_prompt.asked[0].text.endsWith(QStringLiteral(") in procedure FillPName of Form FrmTradeGraph")));
        QCOMPARE(m_prompt.asked[1].title, QStringLiteral("Query"));
    }

    void pointsPerPageRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("repages");
        QTest::newRow("31") << "31" << "31" << true << QString() << true;
        QTest::newRow("empty") << "" << "1" << true << QString() << false;
        QTest::newRow("0") << "0" << "1" << true << QString() << false;
        QTest::newRow("negative") << "-4" << "1" << true << QString() << false;
        QTest::newRow("99") << "99" << "99" << true << QString() << true;
        QTest::newRow("150") << "150" << "150" << true << QString() << false;
        QTest::newRow("1000") << "1000" << "999" << true << "최대값은 999입니다." << false;
        QTest::newRow("letters") << "abc" << "abc" << false << "숫자만 입력할 수 있습니다." << false;
    }
    void pointsPerPageRules()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        QFETCH(bool, repages);
        if (!message.isEmpty())
            m_prompt.ok();
        QCOMPARE(repagesOnEnter(typed, 44, 3), repages);
        QString text = typed;
        QCOMPARE(validatePointsPerPage(text, m_prompt), accepted);
        QCOMPARE(text, kept);
        QCOMPARE(m_prompt.asked.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(m_prompt.asked[0].text, message);
            QCOMPARE(m_prompt.asked[0].icon, UserPrompt::Icon::Information);
        }
    }

    void tableHoldsEveryPageAndItsFilter()
    {
        TransactionGuard tx(m_l->db());
        for (int i = 0; i < 36; ++i)
            sold(QDate(2024, 1, 15).addMonths(i).toString(Qt::ISODate), QStringLiteral("TV"), 1000, 10000, QStringLiteral("가전"));
        sold(QStringLiteral("2025-06-01"), QStringLiteral("=HYPERLINK(\"http://x\")"), 1000, 20000, QStringLiteral("가전"));
        sold(QStringLiteral("2025-06-02"), QStringLiteral("00123"), 1000, 30000, QStringLiteral("가전"));
        QVERIFY(!tx.commit().isError());
        TradeAnalysis a(m_l->db(), m_prompt);
        QVERIFY(a.build({QStringLiteral("2024-01-01"), QStringLiteral("2026-12-31"), QStringLiteral("가전"), {}, TradeAnalysis::Month}));
        QCOMPARE(a.pages(QStringLiteral("31")).size(), 3);
        // 36 months on two pages: the table is all of them, whatever page is drawn.
        const QStringList lines = a.table(QLatin1Char(','), TradeAnalysis::Count, QStringLiteral("월별"), QStringLiteral("수량"))
                                      .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 37);
        QCOMPARE(lines.first(), QStringLiteral("월별,수량"));
        QCOMPARE(lines.last(), QStringLiteral("2026-12,1"));
        QCOMPARE(a.filterText(), QStringLiteral("기간: 2024-01-01 ~ 2026-12-31 · 그룹: 가전 · 품목: 전체"));

        // Product names are typed text: a spreadsheet must open them as text.
        QVERIFY(a.build({QStringLiteral("2025-06-01"), QStringLiteral("2025-06-02"), {}, {}, TradeAnalysis::Product}));
        QCOMPARE(a.table(QLatin1Char(','), TradeAnalysis::Amount, QStringLiteral("품목별"), QStringLiteral("금액")),
                 QStringLiteral("품목별,금액\r\n\"'00123\",3\r\n\"'=HYPERLINK(\"\"http://x\"\")\",2\r\n"));
        QCOMPARE(a.table(QLatin1Char('\t'), TradeAnalysis::Count, QStringLiteral("품목별"), QStringLiteral("수량")),
                 QStringLiteral("품목별\t수량\r\n00123\t1\r\n=HYPERLINK(\"http://x\")\t1\r\n"));
        QCOMPARE(a.filterText(), QStringLiteral("기간: 2025-06-01 ~ 2025-06-02 · 그룹: 전체 · 품목: 전체"));
    }

    void axisLabels_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QStringList>("shown");
        const auto l = [](const char *joined) { return QString::fromUtf8(joined).split(QLatin1Char(' ')); };
        QTest::newRow("days of one year") << l("2026-11-03 2026-12-31") << l("11-03 12-31");
        QTest::newRow("days of two years") << l("2025-12-31 2026-01-01") << l("2025-12-31 2026-01-01");
        QTest::newRow("months of one year") << l("2026-01 2026-11") << l("1월 11월");
        QTest::newRow("months of two years") << l("2025-12 2026-01") << l("2025-12 2026-01");
        QTest::newRow("years") << l("2025 2026") << l("2025 2026");
        QTest::newRow("products") << l("2026-11-03형 TV") << l("2026-11-03형 TV");
        QTest::newRow("a day among other labels") << l("2026-11-03 TV") << l("2026-11-03 TV");
        QTest::newRow("none") << QStringList() << QStringList();
    }
    void axisLabels()
    {
        QFETCH(QStringList, labels);
        QFETCH(QStringList, shown);
        QCOMPARE(TradeAnalysis::axisLabels(labels), shown);
    }

    void axisLabelPlan_data()
    {
        QTest::addColumn<double>("slot");
        QTest::addColumn<double>("widest");
        QTest::addColumn<bool>("upright");
        QTest::addColumn<int>("step");
        // Labels 15 pixels high; 4 pixels of air between neighbours.
        QTest::newRow("room to lie") << 100.0 << 60.0 << false << 1;
        QTest::newRow("just room to lie") << 64.0 << 60.0 << false << 1;
        QTest::newRow("31 days in 620 pixels") << 20.0 << 31.0 << true << 1;
        QTest::newRow("just room to stand") << 19.0 << 31.0 << true << 1;
        QTest::newRow("every second") << 18.9 << 31.0 << true << 2;
        QTest::newRow("a year in 620 pixels") << 1.7 << 31.0 << true << 12;
    }
    void axisLabelPlan()
    {
        QFETCH(double, slot);
        QFETCH(double, widest);
        QFETCH(bool, upright);
        QFETCH(int, step);
        const AxisLabelPlan plan = TradeAnalysis::planAxisLabels(slot, widest, 15);
        QCOMPARE(plan.upright, upright);
        QCOMPARE(plan.step, step);
    }

    void dateRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("date") << "2026-02-28" << true;
        QTest::newRow("no such day") << "2026-02-30" << false;
        QTest::newRow("empty mask") << "    -  -  " << false;
        QTest::newRow("month 13") << "2026-13-01" << false;
    }
    void dateRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        if (!valid)
            m_prompt.ok();
        QCOMPARE(validateGraphDate(text, m_prompt), valid);
        if (!valid)
            QCOMPARE(m_prompt.asked.value(0).lines(),
                     QStringLiteral("잘못된 날짜 형식입니다.\n정확한 날짜 형식을 입력하세요."));
    }
};

QTEST_APPLESS_MAIN(tst_TradeAnalysis)
#include "tst_tradeanalysis.moc"
