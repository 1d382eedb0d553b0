// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/ledger/cellrule.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/checkdate.h"

using C = LedgerModel::Column;

class tst_CellRule : public QObject
{
    Q_OBJECT

private slots:
    void typedTextBecomesStoredValueOrRefusal_data();
    void typedTextBecomesStoredValueOrRefusal();
};

namespace {
// A value as the file will hold it, with its kind in front.
QString described(const FieldValue &v)
{
    if (const auto *t = std::get_if<QString>(&v))
        return QStringLiteral("text ") + *t;
    if (const auto *d = std::get_if<LedgerDate>(&v))
        return QStringLiteral("date ") + d->toStored();
    if (const auto *m = std::get_if<Money>(&v))
        return QStringLiteral("won ") + QString::number(m->won());
    return QStringLiteral("client");
}
} // namespace

void tst_CellRule::typedTextBecomesStoredValueOrRefusal_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::addColumn<int>("errorNumber"); // the refusal's box: 0 information, else the save's error

    // Dates: the short forms in their stored form, nothing typed is no date.
    QTest::newRow("date day of month") << int(C::ColMaeipDate) << "5" << "date 2026-12-05" << 0;
    QTest::newRow("date month and day") << int(C::ColMaechulDate) << "0305" << "date 2026-03-05" << 0;
    QTest::newRow("date YYMMDD") << int(C::ColMaechulDate) << "040229" << "date 2004-02-29" << 0;
    QTest::newRow("date as stored") << int(C::ColMaeipDate) << "2024-03-05" << "date 2024-03-05" << 0;
    QTest::newRow("date emptied") << int(C::ColMaechulDate) << "" << "date " << 0;
    QTest::newRow("date no such day") << int(C::ColMaeipDate) << "2004-02-30" << "" << 0;
    QTest::newRow("date words") << int(C::ColMaechulDate) << "내일" << "" << 0;

    // Amounts: whole won, separators and blanks dropped, within the grid's limit.
    QTest::newRow("won with separators") << int(C::ColMaeipCost) << "80,000" << "won 80000" << 0;
    QTest::newRow("won with blanks") << int(C::ColUsecost) << " 1 000 " << "won 1000" << 0;
    QTest::newRow("won emptied") << int(C::ColMaechulCost) << "" << "won 0" << 0;
    QTest::newRow("won negative") << int(C::ColMaechulCost) << "-5,000" << "won -5000" << 0;
    QTest::newRow("won at the limit") << int(C::ColMaeipCost) << "999,999,999,999" << "won 999999999999" << 0;
    QTest::newRow("won over the limit") << int(C::ColMaeipCost) << "1000000000000" << "" << 6;
    QTest::newRow("won under the limit") << int(C::ColUsecost) << "-1000000000000" << "" << 6;
    QTest::newRow("won in words") << int(C::ColMaechulCost) << "만원" << "" << 13;
    QTest::newRow("won fraction") << int(C::ColMaechulCost) << "12.5" << "" << 13;

    // Names as given; a client comes from its lookup, so its text gives nothing.
    QTest::newRow("group") << int(C::ColGroup) << "O'K 가전" << "text O'K 가전" << 0;
    QTest::newRow("product") << int(C::ColProName) << "LG 세탁기" << "text LG 세탁기" << 0;
    QTest::newRow("supplier text") << int(C::ColMaeipName) << "서울상회" << "" << 0;
    QTest::newRow("margin") << int(C::ColMargin) << "5" << "" << 0;
}

void tst_CellRule::typedTextBecomesStoredValueOrRefusal()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(int, errorNumber);
    const CellValue cell = cellValue(column, typed, QDate(2026, 12, 8));
    QCOMPARE(cell.value ? described(*cell.value) : QString(), stored);
    if (cell.value)
        QVERIFY(fits(*voucherFieldOf(column), *cell.value));
    QCOMPARE(cell.refusal.number, cell.value ? 0 : errorNumber);
    const bool date = column == C::ColMaeipDate || column == C::ColMaechulDate;
    const bool noRule = column == C::ColMaeipName || column == C::ColMargin;
    if (!cell.value && date)
        QCOMPARE(cell.refusal.text, dateFormatMessage(typed));
    else if (!cell.value)
        QCOMPARE(cell.refusal.text.isEmpty(), noRule);
}

QTEST_APPLESS_MAIN(tst_CellRule)
#include "tst_cellrule.moc"
