// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/ledger/ledger.h"
#include "core/ledger/checkdate.h"
#include "scriptedprompt.h"

class tst_CheckDate final : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void message();
    void formatDigits_data();
    void formatDigits();
    void chainDate();
};

namespace {
const QDate kToday(2004, 5, 17);
}

void tst_CheckDate::accepted_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("1: day of this month") << "7" << "2004-05-07";
    QTest::newRow("2: day of this month") << "31" << "2004-05-31";
    QTest::newRow("2: leading zero") << "05" << "2004-05-05";
    QTest::newRow("4: month and day") << "1225" << "2004-12-25";
    QTest::newRow("3: month and day") << "101" << "2004-01-01";
    QTest::newRow("4: with leading zero") << "0101" << "2004-01-01";
    QTest::newRow("4: October the first") << "1001" << "2004-10-01";
    QTest::newRow("3: leap day of a leap year") << "229" << "2004-02-29";
    QTest::newRow("6: YYMMDD") << "040229" << "2004-02-29";
    QTest::newRow("6: century is always 20") << "990101" << "2099-01-01";
    QTest::newRow("8: YYYYMMDD") << "20040101" << "2004-01-01";
    QTest::newRow("10: stored form") << "2004-01-01" << "2004-01-01";
    QTest::newRow("10: slashes") << "2004/01/05" << "2004-01-05";
    QTest::newRow("10: dots") << "2004.01.05" << "2004-01-05";
    QTest::newRow("8: short parts as typed") << "2004-1-5" << "2004-01-05";
    QTest::newRow("9: short month as typed") << "2004-1-05" << "2004-01-05";
}

void tst_CheckDate::accepted()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    ScriptedPrompt prompt;
    QString text = typed;
    QVERIFY(CheckDate(text, prompt, kToday));
    QCOMPARE(text, stored);
    QCOMPARE(prompt.count(), 0);
}

void tst_CheckDate::refused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "abc";
    QTest::newRow("one letter") << "x";
    QTest::newRow("month 13") << "2004-13-01";
    QTest::newRow("30 February") << "2004-02-30";
    QTest::newRow("29 February 2005") << "050229";
    QTest::newRow("day 0") << "0";
    QTest::newRow("day 32") << "32";
    QTest::newRow("no 31 June") << "631";
    QTest::newRow("month 0") << "0015";
    QTest::newRow("five characters not reshaped") << "20041";
    QTest::newRow("seven characters not reshaped") << "2004011";
    QTest::newRow("nine characters") << "200401011";
    QTest::newRow("full-width digits") << "２００４０１０１";
    QTest::newRow("full-width short") << "７";
    QTest::newRow("negative day") << "-5";
    QTest::newRow("mixed separators") << "2004-01/05";
    QTest::newRow("digits and letters") << "2004010a";
    QTest::newRow("spaces") << "  ";
    QTest::newRow("time of day") << "2004-01-01 10:00";
}

void tst_CheckDate::refused()
{
    QFETCH(QString, typed);
    ScriptedPrompt prompt;
    prompt.ok();
    QString text = typed;
    QVERIFY(!CheckDate(text, prompt, kToday));
    QCOMPARE(text, typed); // left as typed
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::Information);
    QCOMPARE(prompt.last().text, dateFormatMessage(typed));
    QVERIFY(prompt.last().title.isEmpty()); // the program title
}

void tst_CheckDate::message()
{
    const QString expected = QStringLiteral("[13x]는 날짜형식이 아닙니다.             \r\n"
                                            "\r\n"
                                            " 가능한 형식은 아래와 같습니다.\r\n"
                                            "\r\n"
                                            "   * 2004-01-01\r\n"
                                            "   * 20040101\r\n"
                                            "   * 040101\r\n"
                                            "   * 0101\r\n"
                                            "   * 101 (※10월1일은 1001)\r\n"
                                            "   * 1 (당월의 일자지정시)");
    QCOMPARE(dateFormatMessage(QStringLiteral("13x")), expected);
}

void tst_CheckDate::formatDigits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("result");
    QTest::newRow("pad") << "5" << "00" << "05";
    QTest::newRow("from the right") << "101" << "-00-00" << "-01-01";
    QTest::newRow("leading zero") << "0101" << "-00-00" << "-01-01";
    QTest::newRow("overflow to the front") << "12345" << "00-00" << "123-45";
    QTest::newRow("not a number") << "1a" << "00" << "1a";
    QTest::newRow("zero") << "0" << "00" << "00";
}

void tst_CheckDate::formatDigits()
{
    QFETCH(QString, typed);
    QFETCH(QString, pattern);
    QFETCH(QString, result);
    QCOMPARE(::formatDigits(typed, pattern), result);
}

void tst_CheckDate::chainDate()
{
    ScriptedPrompt prompt;
    QString dates[2] = {QStringLiteral("2004-05-01"), QStringLiteral("2004-05-17")};
    ChainDate(0, false, dates, prompt);
    QCOMPARE(dates[1], QStringLiteral("2004-05-17"));
    ChainDate(0, true, dates, prompt);
    QCOMPARE(dates[1], QStringLiteral("2004-05-01"));
    dates[1] = QStringLiteral("2004-06-30");
    ChainDate(1, true, dates, prompt);
    QCOMPARE(dates[0], QStringLiteral("2004-06-30"));
    QCOMPARE(prompt.count(), 0);
    ChainDate(2, true, dates, prompt.ok());
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().text, QStringLiteral("코딩누락"));
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::None);
    QCOMPARE(dates[0], QStringLiteral("2004-06-30"));
}

QTEST_APPLESS_MAIN(tst_CheckDate)
#include "tst_checkdate.moc"
