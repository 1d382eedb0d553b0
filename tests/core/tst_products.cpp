// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSqlQuery>
#include <QTest>

#include "core/masterdata/namelist.h"
#include "scriptedprompt.h"
#include "templedger.h"

using Kind = NameList::Kind;

namespace {

QStringList names(TempLedger &l, const QString &table)
{
    QStringList out;
    Database::Result r = l.exec(SqlStatement(QStringLiteral("SELECT name FROM %1 ORDER BY name").arg(table)));
    while (r.query.next())
        out << r.query.value(0).toString();
    return out;
}

QStringList voucherValues(TempLedger &l, const QString &field)
{
    QStringList out;
    Database::Result r = l.exec(SqlStatement(QStringLiteral("SELECT %1 FROM total ORDER BY total_id").arg(field)));
    while (r.query.next())
        out << r.query.value(0).toString();
    return out;
}

void addNames(TempLedger &l, const QString &table, const QStringList &list)
{
    for (const QString &n : list) {
        SqlStatement st(QStringLiteral("INSERT INTO %1 (name) VALUES (:n)").arg(table));
        st.bind(QStringLiteral("n"), n);
        l.exec(st);
    }
}

} // namespace

class TestProducts final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void addGroup_data();
    void addGroup();
    void addProductAsksForEmptyName();
    void productList_data();
    void productList();
    void groupList();
    void rename_data();
    void rename();
    void renameIntoVouchers_data();
    void renameIntoVouchers();
    void deleteName();
};

void TestProducts::addGroup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("message"); // empty: no box at all

    QTest::newRow("new") << QStringLiteral("공구") << true << QString();
    QTest::newRow("6 bytes") << QStringLiteral("컴퓨터") << true << QString();
    QTest::newRow("apostrophe") << QStringLiteral("O'N") << true << QString();
    QTest::newRow("blanks trimmed") << QStringLiteral(" 공구 ") << true << QString();
    QTest::newRow("duplicate") << QStringLiteral("가전") << false << QStringLiteral("이미 같은 이름이 등록 되어 있습니다.");
    QTest::newRow("duplicate, letter case") << QStringLiteral("abc") << false
                                            << QStringLiteral("이미 같은 이름이 등록 되어 있습니다.");
    QTest::newRow("7 bytes") << QStringLiteral("생활가전A") << false << QStringLiteral("in procedure AddGroup of Module modMain_SQL");
}

void TestProducts::addGroup()
{
    QFETCH(QString, name);
    QFETCH(bool, stored);
    QFETCH(QString, message);

    TempLedger ledger;
    addNames(ledger, QStringLiteral("group_name"), {QStringLiteral("가전"), QStringLiteral("ABC")});
    ScriptedPrompt prompt;
    if (!stored)
        prompt.ok();
    QString n = name;
    QCOMPARE(AddGroup(ledger.db(), prompt, n), stored);
    QCOMPARE(ledger.count(QStringLiteral("group_name")), stored ? 3 : 2);
    if (stored) {
        QCOMPARE(prompt.count(), 0);
        QVERIFY(names(ledger, QStringLiteral("group_name")).contains(name.trimmed()));
        QCOMPARE(n, name.trimmed());
    } else {
        QCOMPARE(prompt.count(), 1);
        QVERIFY2(prompt.last().text.contains(message), qPrintable(prompt.last().text));
    }
}

void TestProducts::addProductAsksForEmptyName()
{
    TempLedger ledger;
    ScriptedPrompt prompt;
    QString name;
    prompt.input(QString());
    QVERIFY(!AddProduct(ledger.db(), prompt, name));
    QCOMPARE(prompt.count(), 1); // the input box alone, no message after it
    QCOMPARE(prompt.last().kind, ScriptedPrompt::Kind::Input);
    QCOMPARE(prompt.last().text, QStringLiteral("신규등록 할 상품명을 입력하세요."));

    prompt.input(std::nullopt); // Cancel
    QVERIFY(!AddProduct(ledger.db(), prompt, name));
    QCOMPARE(prompt.count(), 2);

    prompt.input(QStringLiteral("스팀청소기 K-6375"));
    QVERIFY(AddProduct(ledger.db(), prompt, name));
    QCOMPARE(name, QStringLiteral("스팀청소기 K-6375"));
    QCOMPARE(names(ledger, QStringLiteral("product")), QStringList{QStringLiteral("스팀청소기 K-6375")});

    // An empty group name is asked for the same way and never stored.
    QString group = QStringLiteral("   ");
    prompt.input(QString());
    QVERIFY(!AddGroup(ledger.db(), prompt, group));
    QCOMPARE(prompt.last().text, QStringLiteral("신규등록 할 그룹명을 입력하세요."));
    QCOMPARE(ledger.count(QStringLiteral("group_name")), 0);
}

void TestProducts::productList_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("word beats group") << QStringLiteral("볼") << QStringLiteral("공구")
                                      << QStringList{QStringLiteral("볼트 M6"), QStringLiteral("볼펜")};
    QTest::newRow("group: used products once, by name")
        << QString() << QStringLiteral("공구") << QStringList{QStringLiteral("드라이버"), QStringLiteral("볼트 M6")};
    QTest::newRow("group of no voucher") << QString() << QStringLiteral("주방") << QStringList{};
    QTest::newRow("neither: every product")
        << QString() << QString()
        << QStringList{QStringLiteral("10% 세제"), QStringLiteral("드라이버"), QStringLiteral("망치"),
                       QStringLiteral("볼트 M6"), QStringLiteral("볼펜")};
    QTest::newRow("percent literal") << QStringLiteral("10%") << QString() << QStringList{QStringLiteral("10% 세제")};
    QTest::newRow("apostrophe") << QStringLiteral("'") << QStringLiteral("공구") << QStringList{};
}

void TestProducts::productList()
{
    QFETCH(QString, word);
    QFETCH(QString, group);
    QFETCH(QStringList, expected);

    TempLedger ledger;
    addNames(ledger, QStringLiteral("product"),
             {QStringLiteral("볼펜"), QStringLiteral("볼트 M6"), QStringLiteral("드라이버"), QStringLiteral("망치"),
              QStringLiteral("10% 세제")});
    const QString tools = QStringLiteral("공구");
    ledger.addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("볼트 M6"), 100, {}, 0, 0, tools));
    ledger.addVoucher(voucher(QStringLiteral("2024-01-03"), QStringLiteral("드라이버"), 100, {}, 0, 0, tools));
    ledger.addVoucher(voucher(QStringLiteral("2024-01-04"), QStringLiteral("볼트 M6"), 100, {}, 0, 0, tools));
    ledger.addVoucher(voucher(QStringLiteral("2024-01-05"), QStringLiteral("볼펜"), 100, {}, 0, 0, QStringLiteral("사무")));
    // Registered name on no voucher of the group (망치), voucher product never registered (톱).
    ledger.addVoucher(voucher(QStringLiteral("2024-01-06"), QStringLiteral("톱"), 100, {}, 0, 0, tools));

    ScriptedPrompt prompt;
    const auto rows = NameList(ledger.db(), prompt, Kind::Product).list(word, group);
    QVERIFY(rows);
    QCOMPARE(*rows, expected);
}

void TestProducts::groupList()
{
    TempLedger ledger;
    addNames(ledger, QStringLiteral("group_name"), {QStringLiteral("사무"), QStringLiteral("가전"), QStringLiteral("ABC")});
    ScriptedPrompt prompt;
    NameList groups(ledger.db(), prompt, Kind::Group);
    QCOMPARE(*groups.list(QString()), (QStringList{QStringLiteral("ABC"), QStringLiteral("가전"), QStringLiteral("사무")}));
    QCOMPARE(*groups.list(QStringLiteral("b")), QStringList{QStringLiteral("ABC")});
    // The group filter of the product window ignores the search word.
    QCOMPARE(*groups.list(QStringLiteral("가"), QStringLiteral("사무")), QStringList{QStringLiteral("가전")});
    QCOMPARE(*groups.groups(), (QStringList{QStringLiteral("ABC"), QStringLiteral("가전"), QStringLiteral("사무")}));
}

void TestProducts::rename_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("renamed");
    QTest::addColumn<QString>("message");

    QTest::newRow("to existing") << QStringLiteral("사무") << false << QStringLiteral("이미 같은 이름이 등록 되어 있습니다.");
    QTest::newRow("letter case only") << QStringLiteral("abc") << false << QStringLiteral("이미 같은 이름이 등록 되어 있습니다.");
    QTest::newRow("unchanged") << QStringLiteral("ABC") << false << QString();
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("new name") << QStringLiteral("XYZ") << true << QString();
}

void TestProducts::rename()
{
    QFETCH(QString, answer);
    QFETCH(bool, renamed);
    QFETCH(QString, message);

    TempLedger ledger;
    addNames(ledger, QStringLiteral("group_name"), {QStringLiteral("ABC"), QStringLiteral("사무")});
    ScriptedPrompt prompt;
    prompt.input(answer);
    if (renamed)
        prompt.no();
    else if (!message.isEmpty())
        prompt.ok();
    const auto result = NameList(ledger.db(), prompt, Kind::Group).rename(QStringLiteral("ABC"));
    QCOMPARE(result.has_value(), renamed);
    QCOMPARE(prompt.asked.first().text, QStringLiteral("수정할 이름을 입력하세요."));
    if (renamed) {
        QCOMPARE(*result, answer);
        QCOMPARE(names(ledger, QStringLiteral("group_name")), (QStringList{answer, QStringLiteral("사무")}));
        QCOMPARE(prompt.count(), 2);
        QCOMPARE(prompt.last().text, QStringLiteral("전표에 이미 등록된 동일한 이름도 변경 하시겠습니까?"));
        QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    } else {
        QCOMPARE(names(ledger, QStringLiteral("group_name")), (QStringList{QStringLiteral("ABC"), QStringLiteral("사무")}));
        QCOMPARE(prompt.count(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty())
            QCOMPARE(prompt.last().text, message);
    }
}

void TestProducts::renameIntoVouchers_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("used");
    QTest::newRow("yes, 2") << true << 2;
    QTest::newRow("yes, 0") << true << 0;
    QTest::newRow("no") << false << 2;
}

void TestProducts::renameIntoVouchers()
{
    QFETCH(bool, yes);
    QFETCH(int, used);

    TempLedger ledger;
    addNames(ledger, QStringLiteral("product"), {QStringLiteral("볼펜")});
    for (int i = 0; i < used; ++i)
        ledger.addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("볼펜"), 100));
    ledger.addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("볼펜심"), 100));
    ScriptedPrompt prompt;
    prompt.input(QStringLiteral("모나미 볼펜"));
    prompt.answer(yes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No);
    if (yes)
        prompt.ok(); // the count of changed vouchers
    QVERIFY(NameList(ledger.db(), prompt, Kind::Product).rename(QStringLiteral("볼펜")));
    QStringList expected;
    for (int i = 0; i < used; ++i)
        expected << (yes ? QStringLiteral("모나미 볼펜") : QStringLiteral("볼펜"));
    expected << QStringLiteral("볼펜심");
    QCOMPARE(voucherValues(ledger, QStringLiteral("pro_name")), expected);
    QCOMPARE(prompt.count(), yes ? 3 : 2);
    if (yes)
        QCOMPARE(prompt.last().text, QStringLiteral("전표에서 %1건의 자료가 변경되었습니다.").arg(used));
}

void TestProducts::deleteName()
{
    TempLedger ledger;
    addNames(ledger, QStringLiteral("group_name"), {QStringLiteral("사무")});
    // An older file may hold two spellings; only the chosen one goes.
    ledger.exec(SqlStatement(QStringLiteral("DROP INDEX group_name_name")));
    addNames(ledger, QStringLiteral("group_name"), {QStringLiteral("ABC"), QStringLiteral("abc")});
    ledger.addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("볼펜"), 100, {}, 0, 0, QStringLiteral("사무")));
    ScriptedPrompt prompt;
    NameList groups(ledger.db(), prompt, Kind::Group);
    prompt.no();
    QVERIFY(!groups.Delete(QStringLiteral("사무")));
    QCOMPARE(prompt.last().text, QStringLiteral("사무을(를) 정말 삭제하시겠습니까?"));
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    QCOMPARE(ledger.count(QStringLiteral("group_name")), 3);
    prompt.yes();
    QVERIFY(groups.Delete(QStringLiteral("사무")));
    QCOMPARE(voucherValues(ledger, QStringLiteral("group_name")), QStringList{QStringLiteral("사무")});
    prompt.yes();
    QVERIFY(groups.Delete(QStringLiteral("abc")));
    QCOMPARE(names(ledger, QStringLiteral("group_name")), QStringList{QStringLiteral("ABC")});
    prompt.yes().ok();
    QVERIFY(!groups.Delete(QStringLiteral("없는그룹")));
    QCOMPARE(prompt.last().text, QStringLiteral("삭제중 오류가 발생하였습니다."));
}

QTEST_APPLESS_MAIN(TestProducts)
#include "tst_products.moc"
