// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "core/base/textutil.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/totalsmodel.h"
#include "templedger.h"

class tst_LedgerModel final : public QObject
{
    Q_OBJECT

private slots:
    void margin_data();
    void margin();
    void totalsAfterFill();
    void totalsAfterEdit();
    void totalsAfterInsertAndDelete();
    void sortKeepsEntryRowLast_data();
    void sortKeepsEntryRowLast();
    void sortOfEmptyLedger();
    void entryRowAmountsCount();
    void amountRange_data();
    void amountRange();
    void totalsModelMirrorsSums();
    void designWidths();

private:
    static std::vector<LedgerRow> sample();
    static LedgerModel::Totals sumOf(const LedgerModel &m);
};

namespace {
const QString kToday = QStringLiteral("2004-05-17");
}

std::vector<LedgerRow> tst_LedgerModel::sample()
{
    std::vector<LedgerRow> rows;
    rows.push_back(voucher(QStringLiteral("2004-05-01"), QStringLiteral("TV"), 80000, QStringLiteral("2004-05-03"), 100000, 5000, QStringLiteral("가전")));
    rows.push_back(voucher(QStringLiteral("2004-05-02"), QStringLiteral("냉장고"), 300000));
    rows.push_back(voucher(QStringLiteral("2004-04-20"), QStringLiteral("오디오"), 50000, QStringLiteral("2004-05-10"), 45000, 2000, QStringLiteral("가전")));
    rows.push_back(voucher(QStringLiteral("2004-05-05"), QStringLiteral("밥솥"), 20000, QStringLiteral("2004-05-06"), 30000, 0, QStringLiteral("주방")));
    qint64 id = 1;
    for (LedgerRow &r : rows)
        r.totalId = id++;
    return rows;
}

LedgerModel::Totals tst_LedgerModel::sumOf(const LedgerModel &m)
{
    LedgerModel::Totals t;
    for (int r = 0; r < m.rowCount(); ++r) {
        const LedgerRow &row = m.row(r);
        t.maeipCost += row.maeipCost;
        t.maechulCost += row.maechulCost;
        t.usecost += row.maechulUsecost;
        t.margin += row.margin();
    }
    return t;
}

void tst_LedgerModel::margin_data()
{
    QTest::addColumn<qint64>("purchase");
    QTest::addColumn<qint64>("sale");
    QTest::addColumn<qint64>("expense");
    QTest::addColumn<qint64>("margin");
    QTest::newRow("sold") << qint64(80000) << qint64(100000) << qint64(5000) << qint64(15000);
    QTest::newRow("unsold with purchase and expense") << qint64(80000) << qint64(0) << qint64(5000) << qint64(0);
    QTest::newRow("sold at a loss") << qint64(50000) << qint64(45000) << qint64(2000) << qint64(-7000);
    QTest::newRow("negative sale counts as sold") << qint64(0) << qint64(-100) << qint64(0) << qint64(-100);
}

void tst_LedgerModel::margin()
{
    QFETCH(qint64, purchase);
    QFETCH(qint64, sale);
    QFETCH(qint64, expense);
    QFETCH(qint64, margin);
    LedgerModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setRows({voucher(QStringLiteral("2004-05-01"), QStringLiteral("TV"), purchase, QStringLiteral("2004-05-02"), sale, expense)});
    QCOMPARE(m.index(0, LedgerModel::ColMargin).data(Qt::EditRole).toLongLong(), margin);
    QCOMPARE(m.index(0, LedgerModel::ColMargin).data().toString(), formatMoney(margin));
    // The same through edits of an entry row.
    m.AddNewRow(kToday);
    const int e = m.entryRow();
    QVERIFY(m.setData(m.index(e, LedgerModel::ColMaeipCost), purchase));
    QVERIFY(m.setData(m.index(e, LedgerModel::ColUsecost), expense));
    QVERIFY(m.setData(m.index(e, LedgerModel::ColMaechulCost), sale));
    QCOMPARE(m.index(e, LedgerModel::ColMargin).data(Qt::EditRole).toLongLong(), margin);
    QVERIFY(!m.setData(m.index(e, LedgerModel::ColMargin), 5)); // derived, never typed
}

void tst_LedgerModel::totalsAfterFill()
{
    LedgerModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy spy(&m, &LedgerModel::totalsChanged);
    m.setRows(sample());
    m.AddNewRow(kToday);
    const LedgerModel::Totals expected{450000, 175000, 7000, 15000 - 7000 + 10000};
    QCOMPARE(m.totals(), expected);
    QCOMPARE(m.totals(), sumOf(m));
    QVERIFY(spy.count() >= 1);
    QCOMPARE(m.index(0, LedgerModel::ColSumMargin).data(Qt::EditRole).toLongLong(), expected.margin);
    m.setRows({});
    QCOMPARE(m.totals(), LedgerModel::Totals{});
}

void tst_LedgerModel::totalsAfterEdit()
{
    LedgerModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setRows(sample());
    m.AddNewRow(kToday);
    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
    QVERIFY(m.setData(m.index(1, LedgerModel::ColMaechulCost), 350000)); // the fridge is sold
    QCOMPARE(m.totals(), sumOf(m));
    QCOMPARE(m.totals().margin, 15000 - 7000 + 10000 + 50000);
    bool marginRefreshed = false;
    for (const auto &args : changed) {
        const auto tl = args.at(0).toModelIndex();
        const auto br = args.at(1).toModelIndex();
        if (tl.row() <= 1 && br.row() >= 1 && tl.column() <= LedgerModel::ColMargin && br.column() >= LedgerModel::ColMargin)
            marginRefreshed = true;
    }
    QVERIFY(marginRefreshed);
    QVERIFY(m.setData(m.index(1, LedgerModel::ColMaechulCost), QString())); // cleared again
    QCOMPARE(m.totals(), sumOf(m));
    QCOMPARE(m.index(1, LedgerModel::ColMaechulCost).data().toString(), QString());
    QVERIFY(!m.setData(m.index(1, LedgerModel::ColMaeipCost), QStringLiteral("만원")));
    QCOMPARE(m.totals(), sumOf(m));
}

void tst_LedgerModel::totalsAfterInsertAndDelete()
{
    LedgerModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setRows(sample());
    m.AddNewRow(kToday);
    // A voucher typed into the entry row and saved; a new entry row follows.
    const int e = m.entryRow();
    QVERIFY(m.setData(m.index(e, LedgerModel::ColProName), QStringLiteral("세탁기")));
    QVERIFY(m.setData(m.index(e, LedgerModel::ColMaeipCost), 80000));
    QVERIFY(m.setData(m.index(e, LedgerModel::ColMaechulCost), 100000));
    QVERIFY(m.setData(m.index(e, LedgerModel::ColUsecost), 5000));
    m.setTotalId(e, 99);
    QVERIFY(!m.hasEntryRow());
    m.AddNewRow(kToday);
    QCOMPARE(m.rowCount(), 6);
    QCOMPARE(m.totals(), sumOf(m));
    QCOMPARE(m.totals().margin, 18000 + 15000);
    m.removeVoucherRow(0);
    QCOMPARE(m.totals(), sumOf(m));
    QCOMPARE(m.rowCount(), 5);
    m.removeVoucherRow(m.entryRow()); // the entry row is no voucher
    QCOMPARE(m.rowCount(), 5);
    // Another PC's voucher changed in place and a new one put in; never below the entry row.
    m.replaceRow(0, voucher(QStringLiteral("2004-05-02"), QStringLiteral("냉장고"), 310000, QStringLiteral("2004-05-09"), 400000));
    QCOMPARE(m.totals(), sumOf(m));
    m.insertVoucherRow(99, voucher(QStringLiteral("2004-05-11"), QStringLiteral("선풍기"), 10000, QStringLiteral("2004-05-12"), 15000));
    QCOMPARE(m.rowCount(), 6);
    QCOMPARE(m.row(m.entryRow() - 1).proName, QStringLiteral("선풍기"));
    QCOMPARE(m.totals(), sumOf(m));
    m.removeVoucherRow(m.entryRow() - 1);
    QVERIFY(m.removeRows(1, 2));
    QCOMPARE(m.totals(), sumOf(m));
    QVERIFY(m.hasEntryRow());
    QVERIFY(!m.removeRows(2, 5));
    QVERIFY(m.removeRows(m.entryRow(), 1));
    QVERIFY(!m.hasEntryRow());
    QCOMPARE(m.totals(), sumOf(m));
}

void tst_LedgerModel::sortKeepsEntryRowLast_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("firstProduct");
    QTest::newRow("purchase date ascending") << int(LedgerModel::ColMaeipDate) << int(Qt::AscendingOrder) << "오디오";
    QTest::newRow("purchase date descending") << int(LedgerModel::ColMaeipDate) << int(Qt::DescendingOrder) << "밥솥";
    QTest::newRow("product") << int(LedgerModel::ColProName) << int(Qt::AscendingOrder) << "TV";
    QTest::newRow("purchase amount descending") << int(LedgerModel::ColMaeipCost) << int(Qt::DescendingOrder) << "냉장고";
    QTest::newRow("sale amount ascending") << int(LedgerModel::ColMaechulCost) << int(Qt::AscendingOrder) << "냉장고";
    QTest::newRow("margin descending") << int(LedgerModel::ColMargin) << int(Qt::DescendingOrder) << "TV";
    QTest::newRow("margin ascending") << int(LedgerModel::ColMargin) << int(Qt::AscendingOrder) << "오디오";
}

void tst_LedgerModel::sortKeepsEntryRowLast()
{
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QString, firstProduct);
    LedgerModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setDefaultDate(kToday);
    m.setRows(sample());
    m.AddNewRow(kToday);
    // Something typed but not yet saved in the entry row is not sorted in.
    QVERIFY(m.setData(m.index(m.entryRow(), LedgerModel::ColProName), QStringLiteral("가")));
    QVERIFY(m.setData(m.index(m.entryRow(), LedgerModel::ColMaeipCost), 1));
    const LedgerModel::Totals before = m.totals();
    const QPersistentModelIndex tv = m.index(0, LedgerModel::ColProName);
    m.sort(column, Qt::SortOrder(order));
    QCOMPARE(m.rowCount(), 5);
    QCOMPARE(m.index(0, LedgerModel::ColProName).data().toString(), firstProduct);
    QVERIFY(m.hasEntryRow());
    QCOMPARE(m.entryRow(), 4);
    QCOMPARE(m.index(4, LedgerModel::ColMaeipDate).data().toString(), kToday);
    QCOMPARE(m.index(4, LedgerModel::ColMaechulDate).data().toString(), kToday);
    QCOMPARE(m.index(4, LedgerModel::ColProName).data().toString(), QString());
    QCOMPARE(m.row(4).totalId, qint64(0));
    QCOMPARE(m.totals(), sumOf(m));
    QCOMPARE(m.totals().maeipCost, before.maeipCost - 1);
    QVERIFY(tv.isValid());
    QCOMPARE(tv.data().toString(), QStringLiteral("TV")); // selections follow their rows
}

void tst_LedgerModel::sortOfEmptyLedger()
{
    LedgerModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setDefaultDate(kToday);
    m.setRows({});
    m.AddNewRow(kToday);
    m.sort(LedgerModel::ColProName);
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(m.entryRow(), 0);
    QCOMPARE(m.index(0, LedgerModel::ColMaeipDate).data().toString(), kToday);
    m.sort(LedgerModel::ColSumMargin); // one value for all rows: nothing to sort
    QCOMPARE(m.rowCount(), 1);
}

void tst_LedgerModel::entryRowAmountsCount()
{
    // The sums run over all rows, the entry row included: what is typed there counts at once.
    LedgerModel m;
    m.setRows(sample());
    m.AddNewRow(kToday);
    QCOMPARE(m.totals(), sumOf(m));
    const qint64 before = m.totals().maeipCost;
    QVERIFY(m.setData(m.index(m.entryRow(), LedgerModel::ColMaeipCost), 1000));
    QCOMPARE(m.totals().maeipCost, before + 1000);
    QCOMPARE(m.index(m.entryRow(), LedgerModel::ColMaechulCost).data().toString(), QString());
}

void tst_LedgerModel::amountRange_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("upper limit") << LedgerModel::AmountLimit << true;
    QTest::newRow("lower limit") << -LedgerModel::AmountLimit << true;
    QTest::newRow("above") << LedgerModel::AmountLimit + 1 << false;
    QTest::newRow("below") << -LedgerModel::AmountLimit - 1 << false;
}

void tst_LedgerModel::amountRange()
{
    QFETCH(qint64, value);
    QFETCH(bool, accepted);
    LedgerModel m;
    m.AddNewRow(kToday);
    QCOMPARE(m.setData(m.index(0, LedgerModel::ColMaechulCost), value), accepted);
    QCOMPARE(m.totals().maechulCost, accepted ? value : 0);
}

void tst_LedgerModel::totalsModelMirrorsSums()
{
    LedgerModel m;
    TotalsModel t(m);
    QAbstractItemModelTester tester(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy spy(&t, &QAbstractItemModel::dataChanged);
    m.setRows(sample());
    m.AddNewRow(kToday);
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.columnCount(), int(LedgerModel::ColumnCount));
    QCOMPARE(t.index(0, 0).data().toString(), QStringLiteral("[합 계]"));
    QCOMPARE(t.index(0, LedgerModel::ColMaeipCost).data().toString(), QStringLiteral("450,000"));
    QCOMPARE(t.index(0, LedgerModel::ColMaechulCost).data().toString(), QStringLiteral("175,000"));
    QCOMPARE(t.index(0, LedgerModel::ColUsecost).data().toString(), QStringLiteral("7,000"));
    QCOMPARE(t.index(0, LedgerModel::ColMargin).data().toString(), QStringLiteral("18,000"));
    QCOMPARE(t.index(0, LedgerModel::ColProName).data().toString(), QString());
    QVERIFY(!(t.flags(t.index(0, LedgerModel::ColMaeipCost)) & Qt::ItemIsEditable));
    spy.clear();
    QVERIFY(m.setData(m.index(0, LedgerModel::ColUsecost), 10000));
    QVERIFY(!spy.isEmpty());
    QCOMPARE(t.index(0, LedgerModel::ColMargin).data().toString(), QStringLiteral("13,000"));
    QCOMPARE(t.headerData(0, Qt::Vertical).toString(), QStringLiteral(" "));
}

void tst_LedgerModel::designWidths()
{
    const double widths[] = {10, 4, 23.25, 0, 13.75, 10, 10, 0, 17, 10, 10, 10, 0, 0, 0, 0, 0};
    for (int c = 0; c < LedgerModel::ColumnCount; ++c) {
        QCOMPARE(LedgerModel::designWidth(c), widths[c]);
        QCOMPARE(LedgerModel::designWidth(c) == 0, LedgerModel::isHiddenColumn(c));
    }
    QCOMPARE(LedgerModel::isNumericColumn(LedgerModel::ColMargin), true);
    QCOMPARE(LedgerModel::isNumericColumn(LedgerModel::ColProName), false);
}

QTEST_APPLESS_MAIN(tst_LedgerModel)
#include "tst_ledgermodel.moc"
