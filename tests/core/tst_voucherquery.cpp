// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemModelTester>
#include <QTest>

#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "scriptedprompt.h"
#include "templedger.h"

// Rows of the ledger shown after a query, by product name, without the entry row.
static QStringList products(const LedgerModel &m)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        if (r != m.entryRow())
            out << m.row(r).proName;
    return out;
}

class tst_VoucherQuery : public QObject
{
    Q_OBJECT

    TempLedger *m_l = nullptr;

    void seed(TempLedger &l)
    {
        auto add = [&](const QString &name, const QString &sold, qint64 cost, const QString &group,
                       const QString &supplier, const QString &customer) {
            LedgerRow r = voucher(QStringLiteral("2026-11-20"), name, 1000, sold, cost, 0, group);
            r.maeipName = supplier;
            r.maechulName = customer;
            l.addVoucher(r);
        };
        add(QStringLiteral("TV 10%할인"), QStringLiteral("2026-12-01"), 5000, QStringLiteral("가전"), QStringLiteral("O'Neil상사"), QStringLiteral("김철수"));
        add(QStringLiteral("a_b 케이블"), QStringLiteral("2026-12-08"), 0, QStringLiteral("부품"), QStringLiteral("대한전자"), QString());
        add(QStringLiteral("ab 케이블"), QStringLiteral("2026-11-30"), 3000, QStringLiteral("부품"), QStringLiteral("대한전자"), QStringLiteral("박영희"));
        add(QStringLiteral("냉장고"), QStringLiteral("2026-12-05"), 0, QStringLiteral("가전"), QStringLiteral("서울상회"), QString());
        add(QStringLiteral("Mouse"), QStringLiteral("2026-12-06"), 700, QStringLiteral("ABC"), QStringLiteral("서울상회"), QStringLiteral("김철수"));
    }

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }

    void modes_data();
    void modes();
    void failedQueryLeavesEmptyGridWithoutEntryRow();
    void emptyResultStillShowsTheEntryRow();
    void groupComboListsUsedGroupsOnce();
};

void tst_VoucherQuery::modes_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("noSale");
    QTest::addColumn<QStringList>("expected");
    const QStringList none;
    QTest::newRow("period, inclusive, by sale date")
        << QString() << 0 << QString() << QString() << false
        << QStringList{QStringLiteral("TV 10%할인"), QStringLiteral("냉장고"), QStringLiteral("Mouse"),
                       QStringLiteral("a_b 케이블")};
    QTest::newRow("period and group") << QString() << 0 << QString() << QStringLiteral("가전") << false
                                      << QStringList{QStringLiteral("TV 10%할인"), QStringLiteral("냉장고")};
    QTest::newRow("group ignores letter case") << QString() << 0 << QString() << QStringLiteral("abc") << false
                                               << QStringList{QStringLiteral("Mouse")};
    QTest::newRow("period and unsold") << QString() << 0 << QString() << QString() << true
                                       << QStringList{QStringLiteral("냉장고"), QStringLiteral("a_b 케이블")};
    QTest::newRow("group and unsold") << QString() << 0 << QString() << QStringLiteral("가전") << true
                                      << QStringList{QStringLiteral("냉장고")};
    QTest::newRow("product ignores period, group, unsold")
        << QString() << 0 << QStringLiteral("케이블") << QStringLiteral("가전") << true
        << QStringList{QStringLiteral("ab 케이블"), QStringLiteral("a_b 케이블")};
    QTest::newRow("percent is literal") << QString() << 0 << QStringLiteral("10%") << QString() << false
                                        << QStringList{QStringLiteral("TV 10%할인")};
    QTest::newRow("underscore is literal") << QString() << 0 << QStringLiteral("a_b") << QString() << false
                                           << QStringList{QStringLiteral("a_b 케이블")};
    QTest::newRow("product ignores letter case") << QString() << 0 << QStringLiteral("mOUSE") << QString() << false
                                                 << QStringList{QStringLiteral("Mouse")};
    QTest::newRow("customer name") << QStringLiteral("철수") << 0 << QString() << QString() << false
                                   << QStringList{QStringLiteral("TV 10%할인"), QStringLiteral("Mouse")};
    QTest::newRow("client beats product") << QStringLiteral("철수") << 0 << QStringLiteral("케이블") << QString() << false
                                          << QStringList{QStringLiteral("TV 10%할인"), QStringLiteral("Mouse")};
    QTest::newRow("supplier side") << QStringLiteral("대한") << 1 << QString() << QString() << false
                                   << QStringList{QStringLiteral("ab 케이블"), QStringLiteral("a_b 케이블")};
    QTest::newRow("supplier with apostrophe") << QStringLiteral("O'Neil") << 1 << QString() << QString() << false
                                              << QStringList{QStringLiteral("TV 10%할인")};
    QTest::newRow("customer side does not see suppliers") << QStringLiteral("대한") << 0 << QString() << QString()
                                                          << false << none;
    QTest::newRow("injection is just text") << QStringLiteral("'; DROP TABLE total; --") << 0 << QString() << QString()
                                            << false << none;
    // Far past the engine's limit for a LIKE pattern (50,000 bytes): searched all the same.
    QTest::newRow("100,000 Hangul characters") << QString() << 0 << QString(100000, u'케') << QString() << false << none;
    QTest::newRow("100,000 letters") << QString(100000, u'X') << 0 << QString() << QString() << false << none;
}

void tst_VoucherQuery::modes()
{
    QFETCH(QString, client);
    QFETCH(int, side);
    QFETCH(QString, product);
    QFETCH(QString, group);
    QFETCH(bool, noSale);
    QFETCH(QStringList, expected);
    TempLedger l;
    seed(l);
    ScriptedPrompt p;
    LedgerModel model;
    QAbstractItemModelTester tester(&model);
    Ledger ledger(l.db(), p, model);
    VoucherFilter f;
    f.clientName = client;
    f.clientSide = VoucherFilter::sideOfCmbGu(side);
    f.productName = product;
    f.fromDate = QDate(2026, 12, 1);
    f.toDate = QDate(2026, 12, 8);
    f.group = group;
    f.noSale = noSale;
    QVERIFY(ledger.DispList(f));
    QCOMPARE(p.count(), 0);
    QCOMPARE(products(model), expected);
    QCOMPARE(model.entryRow(), model.rowCount() - 1);
    QCOMPARE(l.count(QStringLiteral("total")), 5);
}

void tst_VoucherQuery::failedQueryLeavesEmptyGridWithoutEntryRow()
{
    Database closed;
    ScriptedPrompt p;
    LedgerModel model;
    Ledger ledger(closed, p, model);
    model.AddNewRow(QStringLiteral("2026-12-08"));
    p.ok();
    QVERIFY(!ledger.DispList({}));
    QCOMPARE(p.count(), 1);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.hasEntryRow());
}

void tst_VoucherQuery::emptyResultStillShowsTheEntryRow()
{
    TempLedger l;
    ScriptedPrompt p;
    LedgerModel model;
    Ledger ledger(l.db(), p, model);
    ledger.setDefaultDate(QStringLiteral("2024-03-05"));
    VoucherFilter f;
    f.fromDate = QDate(2026, 12, 1);
    f.toDate = QDate(2026, 12, 8);
    QVERIFY(ledger.DispList(f));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.entryRow(), 0);
    QCOMPARE(model.data(model.index(0, LedgerModel::ColMaeipDate)).toString(), QStringLiteral("2024-03-05"));
    QCOMPARE(model.data(model.index(0, LedgerModel::ColMaechulDate)).toString(), QStringLiteral("2024-03-05"));
    QCOMPARE(model.data(model.index(0, LedgerModel::ColMaeipCost)).toString(), QString());
}

void tst_VoucherQuery::groupComboListsUsedGroupsOnce()
{
    TempLedger l;
    seed(l);
    ScriptedPrompt p;
    LedgerModel model;
    Ledger ledger(l.db(), p, model);
    QCOMPARE(ledger.FillGroupCombo(),
             (QStringList{QString(), QStringLiteral("ABC"), QStringLiteral("가전"), QStringLiteral("부품")}));
    Database closed;
    Ledger broken(closed, p, model);
    p.ok();
    QCOMPARE(broken.FillGroupCombo(), QStringList{QString()});
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("MDB 오류"));
}

QTEST_GUILESS_MAIN(tst_VoucherQuery)
#include "tst_voucherquery.moc"
