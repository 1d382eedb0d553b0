// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/data/schema.h"
#include "core/documents/businessstore.h"
#include "templedger.h"

class tst_BusinessDetails final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void shopDetailsRoundTrip();
    void clientDetailsKeyedByModeAndCode();
    void wrongNumbersAreRefusedUnwritten();
};

void tst_BusinessDetails::shopDetailsRoundTrip()
{
    TempLedger ledger;
    BusinessStore store(ledger.db());
    ShopDetails shop;
    shop.name = QStringLiteral("가나상회");
    QVERIFY(!store.readShop(shop).isError());
    QVERIFY(shop.name.isEmpty());
    QVERIFY(shop.vatIncluded);

    shop = {QStringLiteral("가나상회"), QStringLiteral("홍길동"), QStringLiteral("123-45 67891"), QStringLiteral("도소매"),
            QStringLiteral("가전"), QStringLiteral("서울시 중구 1"), QStringLiteral("02-123-4567"), QStringLiteral("a@b.kr"), false};
    QVERIFY(store.saveShop(shop).ok());
    shop.owner = QStringLiteral("김철수"); // the second save changes the one row
    QVERIFY(store.saveShop(shop).ok());
    QCOMPARE(ledger.count(Schema::shopInfoTable()), 1);

    ShopDetails back;
    QVERIFY(!store.readShop(back).isError());
    QCOMPARE(back.number, QStringLiteral("1234567891")); // digits only
    QCOMPARE(back.owner, QStringLiteral("김철수"));
    QCOMPARE(back.address, shop.address);
    QCOMPARE(back.email, shop.email);
    QVERIFY(!back.vatIncluded);
}

void tst_BusinessDetails::clientDetailsKeyedByModeAndCode()
{
    TempLedger ledger;
    BusinessStore store(ledger.db());
    const ClientBusiness customer{QStringLiteral("1234567891"), QStringLiteral("고객"), QStringLiteral("제조"), QStringLiteral("부품"),
                                  QStringLiteral("c@d.kr")};
    const ClientBusiness supplier{QString(), QStringLiteral("공급"), QString(), QString(), QString()};
    QVERIFY(store.saveClient(BusiMode::Customer, ClientCode(7), customer).ok());
    QVERIFY(store.saveClient(BusiMode::Customer, ClientCode(7), customer).ok());
    QVERIFY(store.saveClient(BusiMode::Supplier, ClientCode(7), supplier).ok());
    QCOMPARE(ledger.count(Schema::clientBusinessTable()), 2);

    ClientBusiness back;
    QVERIFY(!store.readClient(BusiMode::Customer, ClientCode(7), back).isError());
    QCOMPARE(back.number, customer.number);
    QCOMPARE(back.busiItem, customer.busiItem);
    QVERIFY(!store.readClient(BusiMode::Supplier, ClientCode(7), back).isError());
    QCOMPARE(back.owner, supplier.owner);
    QVERIFY(back.number.isEmpty());
    QVERIFY(!store.readClient(BusiMode::Customer, ClientCode(8), back).isError());
    QVERIFY(back.owner.isEmpty());

    // Nothing filled in: the row goes.
    QVERIFY(store.saveClient(BusiMode::Supplier, ClientCode(7), {}).ok());
    QCOMPARE(ledger.count(Schema::clientBusinessTable()), 1);
}

void tst_BusinessDetails::wrongNumbersAreRefusedUnwritten()
{
    TempLedger ledger;
    BusinessStore store(ledger.db());
    ShopDetails shop;
    shop.number = QStringLiteral("123-45-67892");
    const BusinessSave s = store.saveShop(shop);
    QVERIFY(s.refused.contains(QStringLiteral("검증")));
    QCOMPARE(ledger.count(Schema::shopInfoTable()), 0);

    QVERIFY(store.saveClient(BusiMode::Customer, ClientCode(1), {QStringLiteral("1234567891"), {}, {}, {}, {}}).ok());
    const BusinessSave c = store.saveClient(BusiMode::Customer, ClientCode(1), {QStringLiteral("12345"), {}, {}, {}, {}});
    QVERIFY(c.refused.contains(QStringLiteral("5자리")));
    ClientBusiness kept;
    QVERIFY(!store.readClient(BusiMode::Customer, ClientCode(1), kept).isError());
    QCOMPARE(kept.number, QStringLiteral("1234567891"));
}

QTEST_APPLESS_MAIN(tst_BusinessDetails)
#include "tst_businessdetails.moc"
