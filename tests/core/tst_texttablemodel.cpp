// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemModelTester>
#include <QTest>

#include "core/masterdata/texttablemodel.h"

using namespace Qt::Literals::StringLiterals;

// The search windows' lists: filled whole, then changed row by row, sorted by a header click.
class tst_TextTableModel final : public QObject
{
    Q_OBJECT

private slots:
    void changesRowByRow();
    void sortsNumbersAsNumbers();

private:
    static QStringList column(const TextTableModel &m, int c)
    {
        QStringList texts;
        for (int r = 0; r < m.rowCount(); ++r)
            texts << m.index(r, c).data().toString();
        return texts;
    }
};

void tst_TextTableModel::changesRowByRow()
{
    TextTableModel m({u"코드"_s, u"거래처명"_s});
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setRows({{u"1"_s, u"가나상사"_s}, {u"2"_s, u"다라상회"_s}, {u"3"_s, u"마바전자"_s}});
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), u"거래처명"_s);
    QCOMPARE(m.headerData(2, Qt::Vertical).toInt(), 3);
    QVERIFY(!(m.flags(m.index(0, 1)) & Qt::ItemIsEditable));

    // A row that came short of texts shows empty cells until they are set.
    m.appendRow({u"4"_s});
    QCOMPARE(m.index(3, 1).data().toString(), QString());
    m.setText(3, 1, u"사아상사"_s);
    m.setRow(1, {u"2"_s, u"다라상회(주)"_s});
    QCOMPARE(column(m, 1), QStringList({u"가나상사"_s, u"다라상회(주)"_s, u"마바전자"_s, u"사아상사"_s}));

    QVERIFY(!m.removeRows(3, 2));
    QVERIFY(m.removeRows(0, 2));
    QCOMPARE(column(m, 0), QStringList({u"3"_s, u"4"_s}));
    m.clear();
    QCOMPARE(m.rowCount(), 0);
}

void tst_TextTableModel::sortsNumbersAsNumbers()
{
    TextTableModel m({u"코드"_s, u"거래처명"_s});
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setRows({{u"10"_s, u"나"_s}, {u"가"_s, u"다"_s}, {u"9"_s, u"가"_s}, {u"100"_s, u"라"_s}});
    const QPersistentModelIndex ten = m.index(0, 1);
    m.sort(0);
    QCOMPARE(column(m, 0), QStringList({u"9"_s, u"10"_s, u"100"_s, u"가"_s}));
    // A selected row stays selected where its row went.
    QCOMPARE(ten.row(), 1);
    QCOMPARE(ten.data().toString(), u"나"_s);
    m.sort(1, Qt::DescendingOrder);
    QCOMPARE(column(m, 1), QStringList({u"라"_s, u"다"_s, u"나"_s, u"가"_s}));
    QCOMPARE(ten.row(), 2);
}

QTEST_APPLESS_MAIN(tst_TextTableModel)
#include "tst_texttablemodel.moc"
