// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemModelTester>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/accounts/accountchanges.h"
#include "core/accounts/balances.h"
#include "core/accounts/clientledger.h"
#include "core/accounts/paymentsmodel.h"
#include "core/accounts/paymentstore.h"
#include "core/data/schemamaint.h"
#include "core/data/tablecopy.h"
#include "core/ledger/recyclebin.h"
#include "core/ledger/voucherstore.h"
#include "core/shell/appsettings.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

const BusiMode C = BusiMode::Customer;
const BusiMode S = BusiMode::Supplier;

LedgerRow sale(qint32 customer, const QString &date, qint64 amount, qint32 supplier = 0, qint64 cost = 0)
{
    LedgerRow v = voucher(QStringLiteral("2026-02-20"), QStringLiteral("세탁기"), cost, date, amount, 30000);
    v.maechulCode = ClientCode(customer);
    v.maeipCode = ClientCode(supplier);
    return v;
}

void pay(TempLedger &l, BusiMode mode, qint64 code, const QString &date, qint64 amount)
{
    QVERIFY(PaymentStore(l.db()).insert({0, mode, code, date, amount, QStringLiteral("현금"), {}}).ok());
}

// The hand-made ledger of the balance rule. Customer 1 opened at 100,000; bought 500,000 on
// 03-01 and 200,000 on 03-10 (each with 30,000 selling expense, not theirs to pay); paid 300,000
// on 03-05 and got 10,000 back on 03-31; a 50,000 sale of 04-01 was deleted and restored, a
// 70,000 one of 04-05 deleted. Customer 2 was renamed; customer 3 paid ahead; code 9 left the
// register. Supplier 1 delivered for 400,000 and was paid 150,000.
void fill(TempLedger &l)
{
    l.addClient(1, 1, QStringLiteral("가나상사"));
    l.addClient(1, 2, QStringLiteral("옛이름"));
    l.addClient(1, 3, QStringLiteral("미리낸집"));
    l.addClient(1, 4, QStringLiteral("거래없음"));
    l.addClient(0, 1, QStringLiteral("한빛전자"));
    QVERIFY(!PaymentStore(l.db()).setOpening(C, 1, {QStringLiteral("2026-01-01"), 100000}).isError());
    l.addVoucher(sale(1, QStringLiteral("2026-03-01"), 500000, 1, 400000));
    l.addVoucher(sale(1, QStringLiteral("2026-03-10"), 200000));
    const qint64 restored = l.addVoucher(sale(1, QStringLiteral("2026-04-01"), 50000));
    const qint64 deleted = l.addVoucher(sale(1, QStringLiteral("2026-04-05"), 70000));
    l.addVoucher(sale(2, QStringLiteral("2026-03-02"), 80000));
    l.addVoucher(sale(3, QStringLiteral("2026-03-03"), 100000));
    l.addVoucher(sale(9, QStringLiteral("2026-03-04"), 60000));
    pay(l, C, 1, QStringLiteral("2026-03-05"), 300000);
    pay(l, C, 1, QStringLiteral("2026-03-31"), -10000);
    pay(l, C, 3, QStringLiteral("2026-03-01"), 400000);
    pay(l, S, 1, QStringLiteral("2026-03-20"), 150000);
    VoucherStore store(l.db());
    QCOMPARE(store.remove(restored).rowsAffected, 1);
    QCOMPARE(store.remove(deleted).rowsAffected, 1);
    QVERIFY(!RecycleBin(l.db()).restore({restored}).isError());
    l.exec(SqlStatement(QStringLiteral("UPDATE maechul SET name = '새이름' WHERE id = 2")));
}

} // namespace

class tst_Accounts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        INIT_LEDGER_TEST();
        m_l = std::make_unique<TempLedger>();
        fill(*m_l);
    }
    void balanceRule_data();
    void balanceRule();
    void balancesList();
    void clientLedgerAcrossPeriodBoundary();
    void paymentsTypedChangedAndDeleted();
    void openingChangeAsksOncePaid();
    void olderLedgerGetsTheTables();
    void ledgerCopyCarriesTheAccounts();
    void otherPcsPaymentIsAnnounced();
    void exportCommand();

private:
    std::unique_ptr<TempLedger> m_l;
};

void tst_Accounts::balanceRule_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("code");
    QTest::addColumn<QString>("date");
    QTest::addColumn<qint64>("balance");
    QTest::addColumn<QString>("shown");
    QTest::newRow("opening only before any trade") << 1 << qint64(1) << u"2026-02-28"_qs << qint64(100000) << u"미수금 100,000원"_qs;
    QTest::newRow("a sale on the date counts") << 1 << qint64(1) << u"2026-03-01"_qs << qint64(600000) << u"미수금 600,000원"_qs;
    QTest::newRow("a payment on the date counts") << 1 << qint64(1) << u"2026-03-05"_qs << qint64(300000) << u"미수금 300,000원"_qs;
    QTest::newRow("a negative payment adds") << 1 << qint64(1) << u"2026-03-31"_qs << qint64(510000) << u"미수금 510,000원"_qs;
    QTest::newRow("restored counts, deleted not") << 1 << qint64(1) << QString() << qint64(560000) << u"미수금 560,000원"_qs;
    QTest::newRow("renamed keeps the balance") << 1 << qint64(2) << QString() << qint64(80000) << u"미수금 80,000원"_qs;
    QTest::newRow("paid ahead") << 1 << qint64(3) << QString() << qint64(-300000) << u"선수금 300,000원"_qs;
    QTest::newRow("no trade") << 1 << qint64(4) << QString() << qint64(0) << u"미수금 0원"_qs;
    QTest::newRow("supplier: purchases less payments") << 0 << qint64(1) << u"2026-03-31"_qs << qint64(250000)
                                                       << u"미지급금 250,000원"_qs;
    QTest::newRow("supplier before the payment") << 0 << qint64(1) << u"2026-03-19"_qs << qint64(400000)
                                                 << u"미지급금 400,000원"_qs;
}

void tst_Accounts::balanceRule()
{
    QFETCH(int, mode);
    QFETCH(qint64, code);
    QFETCH(QString, date);
    QFETCH(qint64, balance);
    QFETCH(QString, shown);
    const BusiMode m = *busiModeOf(mode);
    QCOMPARE(Balances::balanceAt(m_l->db(), m, code, date), balance);
    QCOMPARE(PaymentRules::balanceText(m, balance), shown);
    // The list of all clients agrees with the one client's figure.
    std::vector<Balances::Row> rows;
    QVERIFY(!Balances::list(m_l->db(), m, {}, date, rows).isError());
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const Balances::Row &r) { return r.code == code; });
    QVERIFY(row != rows.end());
    QCOMPARE(row->balance, balance);
}

void tst_Accounts::balancesList()
{
    BalancesModel model;
    QAbstractItemModelTester tester(&model);
    QVERIFY(!model.load(m_l->db(), C, u"2026-03-02"_qs, u"2026-03-31"_qs).isError());
    QCOMPARE(model.rowCount(), 5);
    const auto rowOf = [&](qint64 code) {
        for (int i = 0; i < model.rowCount(); ++i)
            if (model.balanceRow(i).code == code)
                return model.balanceRow(i);
        return Balances::Row{};
    };
    const Balances::Row first = rowOf(1);
    QCOMPARE(first.carried, 600000);
    QCOMPARE(first.traded, 200000);
    QCOMPARE(first.paid, 290000);
    QCOMPARE(first.balance, 510000);
    QCOMPARE(rowOf(2).name, u"새이름"_qs);
    QCOMPARE(rowOf(3).carried, -400000);
    QCOMPARE(rowOf(9).name, u"(삭제된 거래처)"_qs);
    QCOMPARE(model.totals().balance, 510000 + 80000 - 300000 + 60000);
    QCOMPARE(model.data(model.index(0, BalancesModel::ColCarried)).toString(), u"600,000"_qs);
    model.setNonZeroOnly(true);
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.totals().carried, 600000 + 0 - 400000 + 0);
}

void tst_Accounts::clientLedgerAcrossPeriodBoundary()
{
    ClientLedgerModel model;
    QAbstractItemModelTester tester(&model);
    QVERIFY(!model.load(m_l->db(), C, 1, u"2026-03-02"_qs, u"2026-04-01"_qs).isError());
    using K = ClientLedger::Row::Kind;
    struct Line
    {
        K kind;
        QString date;
        qint64 traded, paid, balance;
    };
    // The 03-01 sale is before the period and in 전기이월; the 04-01 sale is on its last day.
    const QList<Line> want{{K::CarriedForward, u"2026-03-02"_qs, 0, 0, 600000},
                           {K::Payment, u"2026-03-05"_qs, 0, 300000, 300000},
                           {K::Voucher, u"2026-03-10"_qs, 200000, 0, 500000},
                           {K::Payment, u"2026-03-31"_qs, 0, -10000, 510000},
                           {K::Voucher, u"2026-04-01"_qs, 50000, 0, 560000},
                           {K::Totals, QString(), 250000, 290000, 560000},
                           {K::Closing, u"2026-04-01"_qs, 0, 0, 560000}};
    QCOMPARE(model.rowCount(), want.size());
    for (int i = 0; i < want.size(); ++i) {
        const ClientLedger::Row &r = model.lines().at(static_cast<size_t>(i));
        QCOMPARE(r.kind, want[i].kind);
        QCOMPARE(r.date, want[i].date);
        QCOMPARE(r.traded, want[i].traded);
        QCOMPARE(r.paid, want[i].paid);
        QCOMPARE(r.balance, want[i].balance);
    }
    QCOMPARE(model.data(model.index(0, ClientLedgerModel::ColText)).toString(), u"전기이월"_qs);
    QCOMPARE(model.data(model.index(0, ClientLedgerModel::ColTraded)), QVariant());
    QCOMPARE(model.data(model.index(3, ClientLedgerModel::ColPaid)).toString(), u"-10,000"_qs);
}

void tst_Accounts::paymentsTypedChangedAndDeleted()
{
    TempLedger l;
    ScriptedPrompt prompt;
    PaymentsModel model(l.db(), prompt);
    QAbstractItemModelTester tester(&model);
    model.setToday(QDate(2026, 12, 8));
    QVERIFY(model.setClient(C, 7));
    // 0 and text are refused with the money rules' box; nothing is written.
    for (const QString &bad : {u"0"_qs, u"만원"_qs, u"1,000,000,000,000"_qs}) {
        prompt.ok();
        QVERIFY(!model.addPayment(u"1205"_qs, bad, {}, {}));
        QVERIFY(prompt.last().text.startsWith(u"금액은 0이 아닌 숫자로"_qs));
    }
    prompt.ok();
    QVERIFY(!model.addPayment(u"1340"_qs, u"5000"_qs, {}, {}));
    QCOMPARE(l.count(u"payment"_qs), 0);
    const auto a = model.addPayment(u"1201"_qs, u"1,250,000"_qs, u"계좌이체"_qs, u"12월분"_qs);
    const auto b = model.addPayment(u"1205"_qs, u"-5000"_qs, {}, u"환불"_qs);
    QVERIFY(a && b);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.payment(0).id, *b); // newest first
    QCOMPARE(model.payment(0).method, u"현금"_qs);
    QCOMPARE(model.data(model.index(1, PaymentsModel::ColAmount)).toString(), u"1,250,000"_qs);

    // The last saved payment changes without a question; an older one asks with what is stored.
    QVERIFY(model.setData(model.index(0, PaymentsModel::ColMemo), u"환불(조정)"_qs));
    prompt.no();
    QVERIFY(!model.setData(model.index(1, PaymentsModel::ColAmount), u"1200000"_qs));
    QCOMPARE(prompt.last().text, u"정말 수정하시겠습니까?\r\n이전 데이터: 1,250,000"_qs);
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::Yes);
    prompt.yes();
    QVERIFY(model.setData(model.index(1, PaymentsModel::ColAmount), u"1200000"_qs));
    const auto stored = PaymentStore(l.db()).read(*a);
    QCOMPARE(stored->amount, 1200000);
    QCOMPARE(PaymentStore(l.db()).read(*b)->memo, u"환불(조정)"_qs);
    QCOMPARE(Balances::balanceAt(l.db(), C, 7, {}), -1195000);

    // Deleted into the recycle bin and restored from it.
    prompt.yes();
    QVERIFY(model.removePayment(1));
    QCOMPARE(prompt.last().title, u"입금 삭제"_qs);
    QCOMPARE(l.count(u"payment"_qs), 1);
    PaymentStore store(l.db());
    std::vector<PaymentStore::DeletedPayment> bin;
    QVERIFY(!store.loadDeleted(bin).isError());
    QCOMPARE(bin.size(), size_t(1));
    QCOMPARE(bin.front().payment.amount, 1200000);
    QVERIFY(!store.restore({*a}).isError());
    QCOMPARE(store.read(*a)->memo, u"12월분"_qs);
    QCOMPARE(l.count(u"payment_deleted"_qs), 0);
    QVERIFY(prompt.scriptDone());
}

void tst_Accounts::openingChangeAsksOncePaid()
{
    TempLedger l;
    ScriptedPrompt prompt;
    const QDate today(2026, 12, 8);
    QVERIFY(OpeningBalance::set(l.db(), S, 5, u"0101"_qs, u"300,000"_qs, prompt, today));
    QCOMPARE(Balances::balanceAt(l.db(), S, 5, {}), 300000);
    pay(l, S, 5, u"2026-02-01"_qs, 100000);
    prompt.no();
    QVERIFY(!OpeningBalance::set(l.db(), S, 5, u"0101"_qs, u"350000"_qs, prompt, today));
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    QCOMPARE(PaymentStore(l.db()).opening(S, 5)->amount, 300000);
    prompt.yes();
    QVERIFY(OpeningBalance::set(l.db(), S, 5, u"0101"_qs, u"-50000"_qs, prompt, today));
    QCOMPARE(*PaymentStore(l.db()).opening(S, 5), (ClientOpening{u"2026-01-01"_qs, -50000}));
    QCOMPARE(Balances::balanceAt(l.db(), S, 5, {}), -150000);
    QVERIFY(prompt.scriptDone());
}

void tst_Accounts::olderLedgerGetsTheTables()
{
    TempLedger l;
    for (const char16_t *t : {u"payment", u"payment_deleted", u"client_opening"})
        l.exec(SqlStatement(u"DROP TABLE "_qs + QString::fromUtf16(t)));
    ScriptedPrompt prompt;
    QVERIFY(CheckGroupField(l.db(), prompt));
    QCOMPARE(prompt.count(), 0);
    pay(l, C, 1, u"2026-03-01"_qs, 1000);
    QVERIFY(!PaymentStore(l.db()).setOpening(C, 1, {{}, 500}).isError());
    QCOMPARE(Balances::balanceAt(l.db(), C, 1, {}), -500);
    QCOMPARE(l.count(u"payment_deleted"_qs), 0);
    // On a server the payments announce themselves too: the triggers came with the tables.
    if (const QString present = l.db().dialect().changeNoticePresentSql(); !present.isEmpty())
        QVERIFY(l.exec(SqlStatement(present)).query.next());
}

void tst_Accounts::ledgerCopyCarriesTheAccounts()
{
    TempLedger l;
    pay(l, C, 1, u"2026-03-01"_qs, 1000);
    pay(l, C, 1, u"2026-03-02"_qs, 2000);
    QCOMPARE(PaymentStore(l.db()).remove(1).rowsAffected, 1);
    QVERIFY(!PaymentStore(l.db()).setOpening(C, 1, {{}, 500}).isError());
    const QString copy = l.folder() + u"/copy.db"_qs;
    const TableCopy::Result r = TableCopy::copyToNewFile(l.db(), copy);
    QVERIFY2(r.ok, qPrintable(r.error));
    Database target;
    QVERIFY(target.open(copy));
    QCOMPARE(Balances::balanceAt(target, C, 1, {}), -1500);
    std::vector<PaymentStore::DeletedPayment> bin;
    QVERIFY(!PaymentStore(target).loadDeleted(bin).isError());
    QCOMPARE(bin.size(), size_t(1));
}

void tst_Accounts::otherPcsPaymentIsAnnounced()
{
    if (!TestEngine::isServer())
        QSKIP("Only a server ledger announces other PCs' changes.");
    TempLedger l;
    Database other;
    QVERIFY(other.open(l.settings()));
    AccountChanges changes(l.db());
    QVERIFY(changes.listen());
    QSignalSpy spy(&changes, &AccountChanges::accountChanged);
    QVERIFY(PaymentStore(other).insert({0, S, 12, u"2026-03-01"_qs, 5000, u"현금"_qs, {}}).ok());
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 1000);
    QCOMPARE(spy.at(0).at(0).value<BusiMode>(), S);
    QCOMPARE(spy.at(0).at(1).toLongLong(), 12);
    // This PC's own writes are not announced back to it.
    QVERIFY(!PaymentStore(l.db()).setOpening(C, 3, {{}, 100}).isError());
    QTest::qWait(300);
    QCOMPARE(spy.count(), 1);
}

void tst_Accounts::exportCommand()
{
    if (TestEngine::isServer())
        QSKIP("The command reads the ledger file the settings name.");
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), u"db기초"_qs, m_l->path());
        settings.sync();
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    QString said;
    const auto run = [&](const QStringList &args) {
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(SOLBITSEM_APP), QStringList{u"--export-balances"_qs} + args);
        app.waitForFinished(30000);
        said = QString::fromUtf8(app.readAllStandardError());
        return app.exitCode();
    };
    QTemporaryDir dir;
    const QString csv = dir.filePath(u"미수금.csv"_qs);
    QCOMPARE(run({csv, u"--customers"_qs, u"--from"_qs, u"2026-03-02"_qs, u"--to"_qs, u"20260331"_qs}), 0);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_qs);
    QCOMPARE(lines.mid(0, 3), (QStringList{u"코드,상호명,이월,매출,입금,잔액"_qs, u"1,가나상사,600000,200000,290000,510000"_qs,
                                           u"2,새이름,0,80000,0,80000"_qs}));
    QCOMPARE(lines.at(6), u"합계,,200000,440000,290000,350000"_qs);
    QCOMPARE(run({dir.filePath(u"a.xlsx"_qs), u"--suppliers"_qs}), 0);
    QVERIFY(QFile::exists(dir.filePath(u"a.xlsx"_qs)));
    // Misused: no side, both sides, a date that is none, a period backwards, another suffix.
    QCOMPARE(run({csv}), 2);
    QCOMPARE(run({csv, u"--customers"_qs, u"--suppliers"_qs}), 2);
    QCOMPARE(run({csv, u"--customers"_qs, u"--to"_qs, u"2026-13-01"_qs}), 2);
    QVERIFY2(said.contains(u"2026-13-01"_qs), qPrintable(said));
    QCOMPARE(run({csv, u"--customers"_qs, u"--from"_qs, u"2026-04-01"_qs, u"--to"_qs, u"2026-03-01"_qs}), 2);
    QCOMPARE(run({dir.filePath(u"a.pdf"_qs), u"--customers"_qs}), 2);
    // A ledger that cannot be read is a failure, not a misuse.
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), u"db기초"_qs, dir.filePath(u"없는장부.db"_qs));
        settings.sync();
    }
    QCOMPARE(run({csv, u"--customers"_qs}), 1);
}

QTEST_GUILESS_MAIN(tst_Accounts)
#include "tst_accounts.moc"
