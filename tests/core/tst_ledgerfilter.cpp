// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QTest>

#include "core/ledger/ledgerfilter.h"
#include "core/ledger/ledgerselection.h"
#include "hookedprompt.h"

namespace {
const QDate kToday(2024, 3, 20);
} // namespace

class tst_LedgerFilter : public QObject
{
    Q_OBJECT

private slots:
    void opensOnThisMonthToToday();
    void whichFilterApplies_data();
    void whichFilterApplies();
    void clientSearchEmptiesProductSearch();
    void committingADate_data();
    void committingADate();
    void dayButtonsAndCalendarFollowTheChain();
    void aRefusalIsAskedOnce();
    void commandSelection_data();
    void commandSelection();
};

void tst_LedgerFilter::opensOnThisMonthToToday()
{
    ScriptedPrompt p;
    LedgerFilter f(p);
    f.setToday(kToday);
    QSignalSpy changed(&f, &LedgerFilter::changed);
    f.resetPeriod();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.date(0), QStringLiteral("2024-03-01"));
    QCOMPARE(f.date(1), QStringLiteral("2024-03-20"));
    QCOMPARE(f.mode(), LedgerFilter::Mode::Period);
    const VoucherFilter v = f.voucherFilter();
    QCOMPARE(v.fromDate, QDate(2024, 3, 1));
    QCOMPARE(v.toDate, QDate(2024, 3, 20));
    QCOMPARE(v.clientSide, BusiMode::Customer);
    QVERIFY(!v.noSale);
    QVERIFY(v.group.isEmpty());
}

void tst_LedgerFilter::whichFilterApplies_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("product");
    QTest::addColumn<LedgerFilter::Mode>("mode");
    QTest::addColumn<QString>("where"); // what the query's filter starts with
    QTest::newRow("nothing typed") << "" << 0 << "" << LedgerFilter::Mode::Period
                                   << "WHERE maechul_date BETWEEN :from AND :to AND group_name = :group "
                                      "AND maechul_cost = 0";
    QTest::newRow("customer") << "김" << 0 << "" << LedgerFilter::Mode::ClientName << "WHERE instr(maechul_name";
    QTest::newRow("supplier") << "김" << 1 << "" << LedgerFilter::Mode::ClientName << "WHERE instr(maeip_name";
    QTest::newRow("product") << "" << 0 << "냉장고" << LedgerFilter::Mode::ProductName << "WHERE instr(pro_name";
    QTest::newRow("both: the client counts") << "김" << 0 << "냉장고" << LedgerFilter::Mode::ClientName
                                             << "WHERE instr(maechul_name";
}

void tst_LedgerFilter::whichFilterApplies()
{
    QFETCH(QString, client);
    QFETCH(int, side);
    QFETCH(QString, product);
    QFETCH(LedgerFilter::Mode, mode);
    QFETCH(QString, where);
    ScriptedPrompt p;
    LedgerFilter f(p);
    f.setToday(kToday);
    f.resetPeriod();
    f.setGroup(QStringLiteral("가전"));
    f.setNoSale(true);
    f.setClientSide(VoucherFilter::sideOfCmbGu(side));
    f.setClientName(client);
    f.setProductName(product);
    QCOMPARE(f.mode(), mode);
    const QString sql = voucherQuery(SqlDialect(), f.voucherFilter()).text;
    QVERIFY2(sql.contains(where, Qt::CaseInsensitive), qPrintable(sql));
    QCOMPARE(sql.contains(QStringLiteral("maechul_cost = 0")), mode == LedgerFilter::Mode::Period);
}

void tst_LedgerFilter::clientSearchEmptiesProductSearch()
{
    ScriptedPrompt p;
    LedgerFilter f(p);
    f.setClientName(QStringLiteral("김"));
    f.setProductName(QStringLiteral("TV"));
    QSignalSpy changed(&f, &LedgerFilter::changed);
    f.beginClientSearch();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.productName(), QString());
    QCOMPARE(f.clientName(), QStringLiteral("김"));
    // F3 empties both.
    f.setProductName(QStringLiteral("TV"));
    f.clearSearches();
    QCOMPARE(f.productName(), QString());
    QCOMPARE(f.clientName(), QString());
    QCOMPARE(f.mode(), LedgerFilter::Mode::Period);
    QCOMPARE(p.count(), 0);
}

void tst_LedgerFilter::committingADate_data()
{
    QTest::addColumn<bool>("chained");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("refused");
    QTest::newRow("day of this month") << false << 0 << "5" << "2024-03-05" << "2024-03-20" << false;
    QTest::newRow("month and day") << false << 1 << "0229" << "2024-03-01" << "2024-02-29" << false;
    QTest::newRow("chained: both boxes") << true << 0 << "240105" << "2024-01-05" << "2024-01-05" << false;
    QTest::newRow("no date: last date back") << false << 0 << "abc" << "2024-03-01" << "2024-03-20" << true;
    // Typing with the chain on copies every keystroke; a refusal gives back only the left box.
    QTest::newRow("chained refusal") << true << 1 << "2024-13-01" << "2024-13-01" << "2024-03-20" << true;
}

void tst_LedgerFilter::committingADate()
{
    QFETCH(bool, chained);
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, refused);
    ScriptedPrompt p;
    LedgerFilter f(p);
    f.setToday(kToday);
    f.resetPeriod();
    f.setChained(chained);
    f.setDate(box, typed);
    if (refused)
        p.ok();
    f.commitDate(box);
    QCOMPARE(f.date(0), from);
    QCOMPARE(f.date(1), to);
    QCOMPARE(p.count(), refused ? 1 : 0);
    // The date that passed is the one a later refusal gives back.
    p.ok();
    f.setDate(box, QStringLiteral("x"));
    f.commitDate(box);
    QCOMPARE(f.date(box), box == 0 ? from : to);
}

void tst_LedgerFilter::dayButtonsAndCalendarFollowTheChain()
{
    ScriptedPrompt p;
    LedgerFilter f(p);
    f.setDate(0, QStringLiteral("2024-03-01"));
    f.setDate(1, QStringLiteral("2024-03-31"));
    f.shiftDay(0, -1);
    QCOMPARE(f.date(0), QStringLiteral("2024-02-29"));
    QCOMPARE(f.date(1), QStringLiteral("2024-03-31"));
    f.setChained(true);
    f.shiftDay(1, +1);
    QCOMPARE(f.date(0), QStringLiteral("2024-04-01"));
    QCOMPARE(f.date(1), QStringLiteral("2024-04-01"));
    // An unreadable date stays, and so does the other box.
    f.setChained(false);
    f.setDate(0, QStringLiteral("0301"));
    f.setChained(true);
    f.shiftDay(0, 1);
    QCOMPARE(f.date(0), QStringLiteral("0301"));
    QCOMPARE(f.date(1), QStringLiteral("2024-04-01"));
    // The calendar opens on the box's date and its pick is chained.
    p.date(QStringLiteral("2024-05-05"));
    f.pickDate(1, &f);
    QCOMPARE(p.last().text, QStringLiteral("2024-04-01"));
    QCOMPARE(f.date(0), QStringLiteral("2024-05-05"));
    p.date(std::nullopt);
    f.pickDate(0, &f);
    QCOMPARE(f.date(0), QStringLiteral("2024-05-05"));
}

void tst_LedgerFilter::aRefusalIsAskedOnce()
{
    // The box is left again while its refusal is on screen, as the focus moving to a box does.
    ScriptedPrompt script;
    LedgerFilter *filter = nullptr;
    HookedPrompt p(script, [&filter] { filter->commitDate(0); });
    LedgerFilter f(p);
    filter = &f;
    f.setToday(kToday);
    f.resetPeriod();
    f.setDate(0, QStringLiteral("abc"));
    script.ok();
    f.commitDate(0);
    QCOMPARE(script.count(), 1);
    QCOMPARE(f.date(0), QStringLiteral("2024-03-01"));
}

void tst_LedgerFilter::commandSelection_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("heading"); // empty when the options are refused
    QTest::newRow("none: the opening period") << QStringList{} << QStringLiteral("기간: 2024-03-01 ~ 2024-03-20");
    QTest::newRow("short dates as the boxes take them")
        << QStringList{QStringLiteral("--from"), QStringLiteral("0101"), QStringLiteral("--to"), QStringLiteral("20240215")} << QStringLiteral("기간: 2024-01-01 ~ 2024-02-15");
    QTest::newRow("product") << QStringList{QStringLiteral("--product"), QStringLiteral("O'Neil 사과")} << QStringLiteral("품목명: O'Neil 사과");
    QTest::newRow("client") << QStringList{QStringLiteral("--client"), QStringLiteral("가나상회")} << QStringLiteral("판매처: 가나상회");
    QTest::newRow("bad date") << QStringList{QStringLiteral("--from"), QStringLiteral("2024-13-01"), QStringLiteral("--to"), QStringLiteral("2024-03-01")} << QString();
    QTest::newRow("from without to") << QStringList{QStringLiteral("--from"), QStringLiteral("2024-01-01")} << QString();
    QTest::newRow("two kinds") << QStringList{QStringLiteral("--product"), QStringLiteral("a"), QStringLiteral("--client"), QStringLiteral("b")} << QString();
    QTest::newRow("missing value") << QStringList{QStringLiteral("--product")} << QString();
    QTest::newRow("twice") << QStringList{QStringLiteral("--product"), QStringLiteral("a"), QStringLiteral("--product"), QStringLiteral("b")} << QString();
    QTest::newRow("unknown") << QStringList{QStringLiteral("--all")} << QString();
    QTest::newRow("empty search") << QStringList{QStringLiteral("--client"), QStringLiteral("")} << QString();
}

void tst_LedgerFilter::commandSelection()
{
    QFETCH(QStringList, options);
    QFETCH(QString, heading);
    const LedgerSelection s = parseLedgerSelection(options, kToday);
    QCOMPARE(s.error.isEmpty(), !heading.isEmpty());
    if (!heading.isEmpty())
        QCOMPARE(selectionHeading(s.filter), heading);
}

QTEST_APPLESS_MAIN(tst_LedgerFilter)
#include "tst_ledgerfilter.moc"
