// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/documents/businessnumber.h"
#include "core/documents/koreanamount.h"
#include "core/documents/vat.h"

class tst_DocumentRules final : public QObject
{
    Q_OBJECT

private slots:
    void businessNumber_data();
    void businessNumber();
    void vat_data();
    void vat();
    void koreanWords_data();
    void koreanWords();
};

void tst_DocumentRules::businessNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // empty when refused
    QTest::addColumn<QString>("rule");  // a word of the refusal

    // 1·1+2·3+3·7+4·1+5·3+6·7+7·1+8·3+9·5 = 165, + (9·5)/10 = 169: the check digit is 1.
    QTest::newRow("valid") << "1234567891" << "123-45-67891" << "";
    QTest::newRow("hyphens") << "123-45-67891" << "123-45-67891" << "";
    QTest::newRow("blanks") << " 123 45 67891 " << "123-45-67891" << "";
    // Without the tens of 5 × 7 (the ninth digit) the check digit would be 7, not 4.
    QTest::newRow("ninth digit's tens count") << "2208162574" << "220-81-62574" << "";
    QTest::newRow("ninth digit's tens left out") << "2208162577" << "" << "검증";
    QTest::newRow("empty: a consumer") << "" << "" << "";
    QTest::newRow("last digit off") << "1234567892" << "" << "검증";
    QTest::newRow("a middle digit off") << "1234557891" << "" << "검증";
    QTest::newRow("all zeros") << "000-00-00000" << "" << "모두 0";
    QTest::newRow("9 digits") << "123456789" << "" << "9자리";
    QTest::newRow("11 digits") << "12345678911" << "" << "11자리";
    QTest::newRow("a letter") << "123-45-6789O" << "" << "숫자와";
    QTest::newRow("full-width digits") << "１２３４５６７８９１" << "" << "숫자와";
}

void tst_DocumentRules::businessNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, rule);
    const BusinessNumber n = BusinessNumber::parse(typed);
    QCOMPARE(n.ok(), rule.isEmpty());
    if (rule.isEmpty())
        QCOMPARE(n.formatted(), shown);
    else
        QVERIFY2(n.error.contains(rule), qPrintable(n.error));
}

void tst_DocumentRules::vat_data()
{
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<bool>("included");
    QTest::addColumn<qint64>("supply");
    QTest::addColumn<qint64>("tax");

    QTest::newRow("included, divides") << qint64(11000) << true << qint64(10000) << qint64(1000);
    // 10,000 × 10 / 11 = 9,090.9 → 9,091; 10,005 × 10 / 11 = 9,095.45 → 9,095.
    QTest::newRow("included, rounds up") << qint64(10000) << true << qint64(9091) << qint64(909);
    QTest::newRow("included, rounds down") << qint64(10005) << true << qint64(9095) << qint64(910);
    QTest::newRow("included, 1 won") << qint64(1) << true << qint64(1) << qint64(0);
    QTest::newRow("included, refund mirrors") << qint64(-10000) << true << qint64(-9091) << qint64(-909);
    QTest::newRow("included, no overflow") << qint64(9'000'000'000'000'000'000) << true
                                           << qint64(8'181'818'181'818'181'818) << qint64(818'181'818'181'818'182);
    QTest::newRow("excluded, tenth cut") << qint64(10009) << false << qint64(10009) << qint64(1000);
    QTest::newRow("excluded, under ten") << qint64(9) << false << qint64(9) << qint64(0);
    QTest::newRow("excluded, refund mirrors") << qint64(-10009) << false << qint64(-10009) << qint64(-1000);
}

void tst_DocumentRules::vat()
{
    QFETCH(qint64, amount);
    QFETCH(bool, included);
    QFETCH(qint64, supply);
    QFETCH(qint64, tax);
    const VatSplit s = VatSplit::of(amount, included);
    QCOMPARE(s.supply, supply);
    QCOMPARE(s.tax, tax);
    QCOMPARE(s.total(), included ? amount : amount + tax);
}

void tst_DocumentRules::koreanWords_data()
{
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<QString>("words");

    QTest::newRow("0") << qint64(0) << "일금 영원정";
    QTest::newRow("10") << qint64(10) << "일금 일십원정";
    QTest::newRow("10,000") << qint64(10000) << "일금 일만원정";
    QTest::newRow("100,000,000") << qint64(100000000) << "일금 일억원정";
    QTest::newRow("1,234,500") << qint64(1234500) << "일금 일백이십삼만사천오백원정";
    QTest::newRow("999,999,999,999") << qint64(999999999999) << "일금 구천구백구십구억구천구백구십구만구천구백구십구원정";
    QTest::newRow("empty groups skipped") << qint64(100000001) << "일금 일억일원정";
    QTest::newRow("negative") << qint64(-5000) << "일금 마이너스 오천원정";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min()
                              << "일금 마이너스 구백이십이경삼천삼백칠십이조삼백육십팔억오천사백칠십칠만오천팔백팔원정";
}

void tst_DocumentRules::koreanWords()
{
    QFETCH(qint64, amount);
    QFETCH(QString, words);
    QCOMPARE(amountInKoreanWords(amount), words);
}

QTEST_APPLESS_MAIN(tst_DocumentRules)
#include "tst_documentrules.moc"
