// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/accounts/balances.h"
#include "core/accounts/paymentstore.h"
#include "core/documents/statement.h"
#include "templedger.h"

namespace {

qint64 sale(TempLedger &l, qint32 code, const QString &date, const QString &product, qint64 amount)
{
    LedgerRow r = voucher(QStringLiteral("2026-11-01"), product, 1, date, amount);
    r.maechulCode = ClientCode(code);
    r.maechulName = QStringLiteral("가나상사");
    return l.addVoucher(r);
}

void pay(TempLedger &l, qint64 code, const QString &date, qint64 amount)
{
    QVERIFY(PaymentStore(l.db()).insert({0, BusiMode::Customer, code, date, amount, QStringLiteral("현금"), {}}).ok());
}

} // namespace

class tst_Statement final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void balanceLinesFollowTheBalanceRule();
    void refusals();
};

// 가나상사: opening 100,000; bought 50,000 on the 3rd and paid 30,000 on the 5th; on the 10th
// bought 11,000 and 22,000 and paid 20,000; bought again on the 12th.
void tst_Statement::balanceLinesFollowTheBalanceRule()
{
    TempLedger l;
    l.addClient(1, 1, QStringLiteral("가나상사"));
    QVERIFY(!PaymentStore(l.db()).setOpening(BusiMode::Customer, 1, {QStringLiteral("2026-11-01"), 100000}).isError());
    sale(l, 1, QStringLiteral("2026-12-03"), QStringLiteral("선풍기"), 50000);
    pay(l, 1, QStringLiteral("2026-12-05"), 30000);
    const qint64 tv = sale(l, 1, QStringLiteral("2026-12-10"), QStringLiteral("TV"), 11000);
    const qint64 radio = sale(l, 1, QStringLiteral("2026-12-10"), QStringLiteral("라디오"), 22000);
    pay(l, 1, QStringLiteral("2026-12-10"), 20000);
    sale(l, 1, QStringLiteral("2026-12-12"), QStringLiteral("다음"), 5000);
    const QString day = QStringLiteral("2026-12-10");

    Statement s;
    QVERIFY(Statement::ofDay(l.db(), ClientCode(1), QDate(2026, 12, 10), s).ok());
    QCOMPARE(s.customerName, QStringLiteral("가나상사"));
    QCOMPARE(s.lines.size(), 2);
    QCOMPARE(s.lines.first().voucherId, tv);
    QCOMPARE(s.sum.supply, 30000);
    QCOMPARE(s.sum.tax, 3000);
    QCOMPARE(s.sumInWords(), QStringLiteral("일금 삼만삼천원정"));
    QCOMPARE(s.previousBalance, *Balances::balanceBefore(l.db(), BusiMode::Customer, 1, day)); // 120,000
    QCOMPARE(s.previousBalance, 120000);
    QCOMPARE(s.todayTotal, 33000);
    QCOMPARE(s.paidToday, 20000);
    QCOMPARE(s.currentBalance, *Balances::balanceAt(l.db(), BusiMode::Customer, 1, day)); // 133,000
    QCOMPARE(s.currentBalance, 133000);

    // One of the day's vouchers: the other one is already owed before it.
    QVERIFY(Statement::ofVouchers(l.db(), {radio}, s).ok());
    QCOMPARE(s.lines.size(), 1);
    QCOMPARE(s.todayTotal, 22000);
    QCOMPARE(s.paidToday, 20000);
    QCOMPARE(s.previousBalance, 131000);
    QCOMPARE(s.currentBalance, 133000);
}

void tst_Statement::refusals()
{
    TempLedger l;
    l.addClient(1, 1, QStringLiteral("가나상사"));
    l.addClient(1, 2, QStringLiteral("다라마트"));
    const qint64 a = sale(l, 1, QStringLiteral("2026-12-10"), QStringLiteral("A"), 1000);
    const qint64 b = sale(l, 2, QStringLiteral("2026-12-10"), QStringLiteral("B"), 1000);
    const qint64 none = sale(l, 0, QStringLiteral("2026-12-10"), QStringLiteral("C"), 1000);
    const qint64 unsold = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("D"), 1));
    Statement s;
    s.customerName = QStringLiteral("그대로");
    QVERIFY(Statement::ofVouchers(l.db(), {a, b}, s).refused.contains(QStringLiteral("2곳")));
    QCOMPARE(s.customerName, QStringLiteral("그대로"));
    QVERIFY(Statement::ofVouchers(l.db(), {none}, s).refused.contains(QStringLiteral("판매처가 등록되지")));
    QVERIFY(Statement::ofVouchers(l.db(), {a, unsold}, s).refused.contains(QStringLiteral("팔리지 않은")));
    QVERIFY(Statement::ofVouchers(l.db(), {}, s).refused.contains(QStringLiteral("없습니다")));
    QVERIFY(Statement::ofDay(l.db(), ClientCode(1), QDate(2026, 12, 11), s).refused.contains(QStringLiteral("없습니다")));
}

QTEST_APPLESS_MAIN(tst_Statement)
#include "tst_statement.moc"
