// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile texts through the searches, the voucher cells and the registers: no error, no other
// row touched, the schema unchanged, and each text stored exactly as typed or refused.
#include <QTest>

#include "core/ledger/voucherquery.h"
#include "core/ledger/voucherstore.h"
#include "core/masterdata/clientregister.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

QString schemaOf(Database &db)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT group_concat(sql, ';') FROM sqlite_master")));
    return r.ok() && r.query.next() ? r.query.value(0).toString() : QString();
}

QString rowsOf(Database &db)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral(
        "SELECT group_concat(total_id || ':' || ifnull(pro_name, '') || ':' || ifnull(maeip_name, ''), '|') FROM total")));
    return r.ok() && r.query.next() ? r.query.value(0).toString() : QString();
}

} // namespace

class tst_HostileText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void searchedAndStored_data();
    void searchedAndStored();
};

void tst_HostileText::searchedAndStored_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("storable"); // else refused with a message, nothing written
    QTest::newRow("quote") << QStringLiteral("O'Neil") << true;
    QTest::newRow("double quote") << QStringLiteral("a\"b") << true;
    QTest::newRow("like wildcards") << QStringLiteral("%_") << true;
    QTest::newRow("backslash") << QStringLiteral("\\'") << true;
    QTest::newRow("terminator") << QStringLiteral("x'; DROP TABLE total; --") << true;
    QTest::newRow("right-to-left mark") << QStringLiteral("\u202E역순") << true;
    QTest::newRow("long") << QString(100000, QLatin1Char('x')) << false; // over the field's size
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << false;
    QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) << false;
}

void tst_HostileText::searchedAndStored()
{
    QFETCH(QString, text);
    QFETCH(bool, storable);
    TempLedger l;
    const qint64 other = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("볼펜"), 100));
    const qint64 target = l.addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("공책"), 200));
    l.addClient(1, 1, QStringLiteral("가나상회"));
    const QString schema = schemaOf(l.db());
    const QString before = rowsOf(l.db());

    // Searches: never an error, and only rows that hold the text.
    for (const bool byClient : {false, true}) {
        VoucherFilter f;
        (byClient ? f.clientName : f.productName) = text.left(VoucherFilter::MaxSearchLength);
        std::vector<LedgerRow> rows;
        QVERIFY(!readVouchers(l.db(), voucherQuery(l.db().dialect(), f), rows).isError());
        QVERIFY(rows.empty());
    }
    ScriptedPrompt prompt;
    ClientRegister clients(l.db(), prompt, BusiMode::Customer);
    QVERIFY(clients.list(text));

    // A voucher cell: stored exactly, or refused with nothing written.
    VoucherStore store(l.db());
    const VoucherStore::Result r = store.update(target, VoucherField::Supplier, VoucherClient{ClientCode(), text});
    QCOMPARE(r.ok(), storable);
    if (storable) {
        QCOMPARE(store.read(target)->maeipName, text);
        VoucherFilter f;
        f.productName = QStringLiteral("공책");
        std::vector<LedgerRow> rows;
        QVERIFY(!readVouchers(l.db(), voucherQuery(l.db().dialect(), f), rows).isError());
        QCOMPARE(rows.size(), size_t(1));
    } else {
        QVERIFY(!r.error.text.isEmpty());
        QCOMPARE(rowsOf(l.db()), before);
    }
    QCOMPARE(store.read(other)->proName, QStringLiteral("볼펜"));
    QCOMPARE(schemaOf(l.db()), schema);
}

QTEST_GUILESS_MAIN(tst_HostileText)
#include "tst_hostiletext.moc"
