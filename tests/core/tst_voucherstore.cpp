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

    const auto changed = store.update(added.id, {{QStringLiteral("maechul_code"), 7},
                                                 {QStringLiteral("maechul_name"), QStringLiteral("대한전자")}});
    QVERIFY(changed.ok());
    QCOMPARE(changed.rowsAffected, 1);
    const auto row = store.read(added.id);
    QVERIFY(row);
    QCOMPARE(row->totalId, added.id);
    QCOMPARE(row->maeipDate, QStringLiteral("2026-12-01"));
    QCOMPARE(row->maechulDate, QStringLiteral("2026-12-02"));
    QCOMPARE(row->groupName, QStringLiteral("가전"));
    QCOMPARE(row->proName, QStringLiteral("TV"));
    QCOMPARE(row->maechulCode, 7);
    QCOMPARE(row->maechulName, QStringLiteral("대한전자"));
    QCOMPARE(row->maeipCost, 0);

    // Text is checked against its field's size before anything is written.
    const auto tooLong = store.update(added.id, {{QStringLiteral("maechul_name"), QString(51, QLatin1Char('x'))}});
    QCOMPARE(tooLong.error.kind, SqlError::Kind::TooLong);
    QCOMPARE(store.read(added.id)->maechulName, QStringLiteral("대한전자"));

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
    const auto update = store.update(42, {{QStringLiteral("maeip_cost"), 5}});
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

QTEST_GUILESS_MAIN(tst_VoucherStore)
#include "tst_voucherstore.moc"
