// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include "core/data/schemamaint.h"
#include "core/ledger/recyclebin.h"
#include "core/ledger/voucherstore.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

// Every field of a stored voucher with its type, NULL marked apart: 0 and NULL, 5 and '5' differ.
QVariantList storedRow(TempLedger &l, qint64 id)
{
    SqlStatement st(QStringLiteral("SELECT * FROM total WHERE total_id = :id"));
    auto r = l.exec(st.bind(QStringLiteral("id"), id));
    QVariantList out;
    if (!r.query.next())
        return out;
    for (int i = 0; i < r.query.record().count(); ++i)
        out << r.query.value(i) << QVariant(r.query.value(i).isNull());
    return out;
}

} // namespace

class tst_RecycleBin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void deleteAndRestoreGiveBackTheSameRow();
    void listNewestFirstAndEmptyAfterQuestion();
    void deleteAndKeepAreOneChange();
};

void tst_RecycleBin::deleteAndRestoreGiveBackTheSameRow()
{
    TempLedger l;
    LedgerRow full = voucher(QStringLiteral("2026-12-01"), QStringLiteral("냉장고, \"대형\""), 1200000,
                             QStringLiteral("2026-12-03"), 1500000, 30000, QStringLiteral("가전"));
    full.maeipCode = ClientCode(12);
    full.maeipName = QStringLiteral("한빛상사");
    full.maechulCode = ClientCode(345);
    full.maechulName = QStringLiteral("O'Neil 마트");
    const qint64 a = l.addVoucher(full);
    const qint64 b = l.addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("TV"), 0));
    l.exec(SqlStatement(QStringLiteral("UPDATE total SET maeip_cost = NULL, maechul_name = NULL, pro_code = 7 WHERE total_id = :id"))
               .bind(QStringLiteral("id"), b));
    const QVariantList before[] = {storedRow(l, a), storedRow(l, b)};

    VoucherStore store(l.db());
    QCOMPARE(store.remove(a).rowsAffected, 1);
    QCOMPARE(store.remove(b).rowsAffected, 1);
    QCOMPARE(l.count(QStringLiteral("total")), 0);
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 2);
    // A voucher added meanwhile gets a new key, never a deleted one.
    const qint64 c = l.addVoucher(voucher(QStringLiteral("2026-12-04"), QStringLiteral("세탁기"), 1));
    QVERIFY(c > b);

    RecycleBin bin(l.db());
    std::vector<RecycleBin::Entry> entries;
    QVERIFY(!bin.load(entries).isError());
    QCOMPARE(entries.size(), size_t(2));
    const QDateTime deleted = QDateTime::fromString(entries[0].deleted, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY(qAbs(deleted.secsTo(QDateTime::currentDateTime())) < 60);
    QCOMPARE(entries[1].row.proName, QStringLiteral("냉장고, \"대형\""));

    QVERIFY(!bin.restore({a, b}).isError());
    QCOMPARE(storedRow(l, a), before[0]);
    QCOMPARE(storedRow(l, b), before[1]);
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 0);
}

void tst_RecycleBin::listNewestFirstAndEmptyAfterQuestion()
{
    TempLedger l;
    RecycleBin bin(l.db());
    const QStringList times{QStringLiteral("2026-12-09 10:00:00"), QStringLiteral("2026-12-09 11:30:00"),
                            QStringLiteral("2026-12-08 23:59:59")};
    for (const QString &t : times) {
        const qint64 id = l.addVoucher(voucher(QStringLiteral("2026-12-01"), t, 1000));
        QVERIFY(!bin.keep(id, QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"))).isError());
        l.exec(SqlStatement(QStringLiteral("DELETE FROM total WHERE total_id = :id")).bind(QStringLiteral("id"), id));
    }
    std::vector<RecycleBin::Entry> entries;
    QVERIFY(!bin.load(entries).isError());
    QStringList order;
    for (const auto &e : entries)
        order << e.deleted;
    QCOMPARE(order, (QStringList{times[1], times[0], times[2]}));
    QCOMPARE(RecycleBin::texts(entries[0]).at(5), QStringLiteral("1,000"));
    QStringList amounts; // the columns set right-aligned are the amounts'
    for (int c : RecycleBin::amountColumns())
        amounts << RecycleBin::headers().at(c);
    QCOMPARE(amounts, (QStringList{QStringLiteral("매입금액"), QStringLiteral("판매금액"), QStringLiteral("판매경비")}));

    ScriptedPrompt prompt;
    prompt.no();
    QVERIFY(!bin.askAndEmpty(3, prompt));
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    QVERIFY(prompt.last().text.contains(QStringLiteral("3건")));
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 3);
    prompt.yes();
    QVERIFY(bin.askAndEmpty(3, prompt));
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 0);
}

void tst_RecycleBin::deleteAndKeepAreOneChange()
{
    // A ledger of an older installation has no bin: the delete fails whole until the start-up
    // maintenance adds it.
    TempLedger l;
    const qint64 id = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 5));
    l.exec(SqlStatement(QStringLiteral("DROP TABLE total_deleted")));
    VoucherStore store(l.db());
    QVERIFY(!store.remove(id).ok());
    QCOMPARE(l.count(QStringLiteral("total")), 1);

    ScriptedPrompt prompt;
    QVERIFY(CheckGroupField(l.db(), prompt));
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(store.remove(id).rowsAffected, 1);
    QCOMPARE(l.count(QStringLiteral("total")), 0);
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 1);
    // Restoring a key that is in use again fails whole and leaves the bin as it was.
    l.exec(SqlStatement(QStringLiteral("INSERT INTO total (total_id, pro_name) VALUES (:id, 'x')")).bind(QStringLiteral("id"), id));
    RecycleBin bin(l.db());
    QVERIFY(bin.restore({id}).isError());
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 1);
}

QTEST_GUILESS_MAIN(tst_RecycleBin)
#include "tst_recyclebin.moc"
