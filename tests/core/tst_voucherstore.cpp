// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/ledger/voucherstore.h"
#include "templedger.h"

class tst_VoucherStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void insertUpdateReadRemove();
    void missingVoucherAndClosedLedger();
    void serverGoneAndBack();
    void serverErrorsCarryTheirNumber();
};

void tst_VoucherStore::insertUpdateReadRemove()
{
    TempLedger l;
    VoucherStore store(l.db());
    const auto added = store.insert(voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 0,
                                            QStringLiteral("2026-12-02"), 0, 0, QStringLiteral("가전")));
    QVERIFY(added.ok());
    QCOMPARE(added.rowsAffected, 1);
    QVERIFY(added.id > 0);

    const auto changed = store.update(added.id, VoucherField::Customer, VoucherClient{ClientCode(7), QStringLiteral("대한전자")});
    QVERIFY(changed.ok());
    QCOMPARE(changed.rowsAffected, 1);
    const auto row = store.read(added.id);
    QVERIFY(row);
    QCOMPARE(row->totalId, added.id);
    QCOMPARE(row->maeipDate, QStringLiteral("2026-12-01"));
    QCOMPARE(row->maechulDate, QStringLiteral("2026-12-02"));
    QCOMPARE(row->groupName, QStringLiteral("가전"));
    QCOMPARE(row->proName, QStringLiteral("TV"));
    QCOMPARE(row->maechulCode.value(), 7);
    QCOMPARE(row->maechulName, QStringLiteral("대한전자"));
    QCOMPARE(row->maeipCost, 0);

    // Text is checked against its field's size before anything is written.
    const auto tooLong =
        store.update(added.id, VoucherField::Customer, VoucherClient{ClientCode(8), QString(51, QLatin1Char('x'))});
    QCOMPARE(tooLong.error.kind, SqlError::Kind::TooLong);
    QCOMPARE(store.read(added.id)->maechulName, QStringLiteral("대한전자"));
    QCOMPARE(store.read(added.id)->maechulCode.value(), 7);

    const auto removed = store.remove(added.id);
    QVERIFY(removed.ok());
    QCOMPARE(removed.rowsAffected, 1);
    SqlError error;
    QVERIFY(!store.read(added.id, &error));
    QVERIFY(!error.isError());
}

void tst_VoucherStore::missingVoucherAndClosedLedger()
{
    TempLedger l;
    VoucherStore store(l.db());
    // No row of that key: no error, and the affected rows say so.
    const auto update = store.update(42, VoucherField::MaeipCost, Money(5));
    QVERIFY(update.ok());
    QCOMPARE(update.rowsAffected, 0);
    QCOMPARE(store.remove(42).rowsAffected, 0);

    Database closed;
    VoucherStore none(closed);
    const auto insert = none.insert(voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 0));
    QCOMPARE(insert.error.kind, SqlError::Kind::NoDatabase);
    QCOMPARE(insert.error.code, 91);
    QCOMPARE(insert.error.text, QStringLiteral("Data Base MDB가 선언되지 않았습니다."));
    SqlError error;
    QVERIFY(!none.read(1, &error));
    QCOMPARE(error.kind, SqlError::Kind::NoDatabase);
}

void tst_VoucherStore::serverGoneAndBack()
{
    if (!TestEngine::isServer())
        QSKIP("a file does not go away under an open ledger");
    TempLedger l;
    VoucherStore store(l.db());
    const qint64 id = store.insert(voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 0)).id;
    QVERIFY(id > 0);
    QVERIFY(store.update(id, VoucherField::MaeipCost, Money(100)).ok());
    const auto backend = [&] {
        Database::Result r = l.exec(SqlStatement(QStringLiteral("SELECT pg_backend_pid()")));
        return r.query.next() ? r.query.value(0).toLongLong() : 0;
    };
    const qint64 before = backend();

    // Another connection ends this one's server process, as a server restart would.
    Database admin;
    QVERIFY(admin.open(l.settings()));
    QVERIFY_SQL(admin.exec(SqlStatement(QStringLiteral("SELECT pg_terminate_backend(:pid)")).bind(QStringLiteral("pid"), before)));

    // The write that meets the lost connection fails with the 91 box and is not run again.
    const auto lost = store.update(id, VoucherField::MaeipCost, Money(200));
    QCOMPARE(lost.error.kind, SqlError::Kind::NoDatabase);
    QCOMPARE(lost.error.code, 91);
    QVERIFY(lost.error.text.startsWith(QStringLiteral("Data Base MDB가 선언되지 않았습니다.")));
    QCOMPARE(store.read(id)->maeipCost, 100);

    // That read was the next action: it opened a new connection with the same settings.
    QVERIFY(backend() != before);
    const auto again = store.update(id, VoucherField::MaeipCost, Money(300));
    QVERIFY(again.ok());
    QCOMPARE(store.read(id)->maeipCost, 300);

    // Inside a transaction the loss ends the transaction: its statements fail until it unwinds.
    {
        TransactionGuard guard(l.db());
        QVERIFY(guard.active());
        QVERIFY_SQL(admin.exec(SqlStatement(QStringLiteral("SELECT pg_terminate_backend(:pid)")).bind(QStringLiteral("pid"), backend())));
        QCOMPARE(store.update(id, VoucherField::MaeipCost, Money(400)).error.code, 91);
        QCOMPARE(store.update(id, VoucherField::MaeipCost, Money(500)).error.code, 91);
        QCOMPARE(guard.commit().code, 91);
    }
    QCOMPARE(store.read(id)->maeipCost, 300);
}

void tst_VoucherStore::serverErrorsCarryTheirNumber()
{
    if (!TestEngine::isServer())
        QSKIP("the file's errors carry SQLite's own numbers");
    TempLedger l;
    // The boxes' numbers for the server's cases, its SQLSTATE kept in the text.
    const SqlError missing = l.db().exec(SqlStatement(QStringLiteral("SELECT nothing FROM total"))).error;
    QCOMPARE(missing.kind, SqlError::Kind::NoObject);
    QCOMPARE(missing.code, 3011);
    QVERIFY2(missing.text.contains(QStringLiteral("42703")), qPrintable(missing.text));
    l.addClient(0, 1, QStringLiteral("가나상사"));
    const SqlError taken = l.db().exec(SqlStatement(QStringLiteral("INSERT INTO maeip (id, name) VALUES (1, 'x')"))).error;
    QCOMPARE(taken.kind, SqlError::Kind::Duplicate);
    QCOMPARE(taken.code, 3022);
    const SqlError other = l.db().exec(SqlStatement(QStringLiteral("SELECT 1/0"))).error;
    QCOMPARE(other.kind, SqlError::Kind::Other);
    QCOMPARE(other.code, 3146);
    QVERIFY(other.text.contains(QStringLiteral("22012")));
}

QTEST_GUILESS_MAIN(tst_VoucherStore)
#include "tst_voucherstore.moc"
