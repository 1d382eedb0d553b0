// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/accounts/accountchanges.h"
#include "core/accounts/accountreports.h"
#include "core/accounts/balances.h"
#include "core/accounts/clientledger.h"
#include "core/accounts/paymentsmodel.h"
#include "core/accounts/paymentstore.h"
#include "core/data/database.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "gui/accounts/commitgrid.h"
#include "gui/accounts/accountprinting.h"
#include "gui/accounts/frmbalances.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/accounts/frmpayment.h"
#include "keyboard.h"
#include "scriptedlookups.h"
#include "commandrun.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

QVariant first(Database &db, const QString &sql)
{
    Database::Result r = db.exec(SqlStatement(sql));
    return r.ok() && r.query.next() ? r.query.value(0) : QVariant();
}

qint64 number(Database &db, const QString &sql)
{
    return first(db, sql).toLongLong();
}

QString text(Database &db, const QString &sql)
{
    return first(db, sql).toString();
}

Payment payment(qint64 client, const QString &date, qint64 amount)
{
    Payment p;
    p.mode = BusiMode::Customer;
    p.clientCode = client;
    p.date = date;
    p.amount = amount;
    p.method = QStringLiteral("현금");
    return p;
}

LedgerRow sale(qint32 customer, const QString &date, const QString &product, qint64 amount)
{
    LedgerRow r = voucher(date, product, amount / 2, date, amount);
    r.maechulCode = ClientCode(customer);
    r.maechulName = QStringLiteral("가나상회");
    return r;
}

QString cell(const QAbstractItemModel *m, int row, int column)
{
    return m->index(row, column).data().toString();
}

} // namespace

class TestAccountWindows final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void paymentTypedSavedAndEditedThroughTheWindow();
    void anotherPcsPaymentWaitsForTheOpenEdit();
    void clientLedgerShowsCarriedForwardRunningBalanceAndClosing();
    void clientLedgerOfTenThousandLinesPaintsAtOnce();
    void balancesFilterSortTotalsAndOpenTheLedger();
    void printClientLedgerCommand();
};

void TestAccountWindows::paymentTypedSavedAndEditedThroughTheWindow()
{
    TempLedger ledger;
    ledger.addClient(1, 7, QStringLiteral("가나상회"));
    ScriptedPrompt prompt;
    ScriptedLookups lookups;
    lookups.clients.enqueue({ClientCode(7), QStringLiteral("가나상회")});
    FrmPayment w(ledger.db(), prompt, lookups);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // The client by the type-ahead lookup, as the voucher cells find it.
    w.txtClient->setFocus();
    typeText(QStringLiteral("가나"));
    QTest::keyClick(w.txtClient, Qt::Key_Return);
    QCOMPARE(lookups.calls.size(), 1);
    QCOMPARE(lookups.calls[0].text, QStringLiteral("가나"));
    QCOMPARE(lookups.calls[0].mode, toInt(BusiMode::Customer));
    QCOMPARE(w.clientCode(), 7);

    // Date, amount, method and memo typed; Enter in the memo saves.
    w.txtDate->setFocus();
    w.txtDate->selectAll();
    QTest::keyClicks(w.txtDate, QStringLiteral("20260105"));
    QTest::keyClick(w.txtDate, Qt::Key_Return);
    QCOMPARE(w.txtDate->text(), QStringLiteral("2026-01-05"));
    QTest::keyClicks(w.txtAmount, QStringLiteral("1,250,000"));
    w.cmbMethod->setCurrentIndex(1);
    w.txtMemo->setFocus();
    typeText(QStringLiteral("1월분"));
    QTest::keyClick(w.txtMemo, Qt::Key_Return);
    QCOMPARE(ledger.count(QStringLiteral("payment")), 1);
    QCOMPARE(number(ledger.db(), QStringLiteral("SELECT amount FROM payment")), 1250000);
    QCOMPARE(number(ledger.db(), QStringLiteral("SELECT client_code FROM payment")), 7);
    QCOMPARE(number(ledger.db(), QStringLiteral("SELECT busi_mode FROM payment")), 1);
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT pay_date FROM payment")), QStringLiteral("2026-01-05"));
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT method FROM payment")), QStringLiteral("계좌이체"));
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT memo FROM payment")), QStringLiteral("1월분"));
    QVERIFY(w.txtAmount->text().isEmpty());
    QCOMPARE(w.spList->model()->rowCount(), 1);
    QVERIFY(w.lblBalance->text().contains(QStringLiteral("선수금")));

    // The opening balance, once payments exist, is changed only after a question.
    w.txtOpeningDate->setText(QStringLiteral("20251231"));
    w.txtOpeningAmount->setText(QStringLiteral("300,000"));
    prompt.no();
    QTest::mouseClick(w.btnOpening, Qt::LeftButton);
    QCOMPARE(ledger.count(QStringLiteral("client_opening")), 0);
    prompt.yes();
    QTest::mouseClick(w.btnOpening, Qt::LeftButton);
    QCOMPARE(number(ledger.db(), QStringLiteral("SELECT amount FROM client_opening")), 300000);
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT opening_date FROM client_opening")), QStringLiteral("2025-12-31"));
    QCOMPARE(w.txtOpeningAmount->text(), QStringLiteral("300,000"));

    // A refused amount keeps the boxes and writes nothing.
    prompt.strictOk = false;
    QTest::keyClicks(w.txtAmount, QStringLiteral("0"));
    QTest::mouseClick(w.btnSave, Qt::LeftButton);
    QCOMPARE(ledger.count(QStringLiteral("payment")), 1);
    QVERIFY(!prompt.asked.isEmpty());
    w.txtAmount->clear();

    // A cell typed over in the list is written when Enter ends the edit (the payment saved last
    // here asks nothing).
    w.spList->setFocus();
    w.spList->setCurrentIndex(w.spList->model()->index(0, PaymentsModel::ColAmount));
    QTest::keyClicks(w.spList, QStringLiteral("9"));
    QVERIFY(w.spList->isEditing());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("00000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!w.spList->isEditing()); // the delegate ends the edit on its next turn
    QCOMPARE(number(ledger.db(), QStringLiteral("SELECT amount FROM payment")), 900000);

    // Closing the window while a cell is being edited writes that cell first.
    w.spList->setCurrentIndex(w.spList->model()->index(0, PaymentsModel::ColMemo));
    w.spList->setFocus();
    typeText(QStringLiteral("잔"));
    QVERIFY(w.spList->isEditing());
    typeText(QStringLiteral("금"));
    QVERIFY(w.close());
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT memo FROM payment")), QStringLiteral("잔금"));
}

void TestAccountWindows::anotherPcsPaymentWaitsForTheOpenEdit()
{
    TempLedger ledger;
    ledger.addClient(1, 7, QStringLiteral("가나상회"));
    PaymentStore store(ledger.db());
    QVERIFY(store.insert(payment(7, QStringLiteral("2026-01-05"), 1000)).ok());
    ScriptedPrompt prompt;
    ScriptedLookups lookups;
    AccountChanges changes(ledger.db());
    FrmPayment w(ledger.db(), prompt, lookups);
    w.followChanges(changes);
    w.setClient(BusiMode::Customer, 7);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.spList->setFocus();
    w.spList->setCurrentIndex(w.spList->model()->index(0, PaymentsModel::ColMemo));
    typeText(QStringLiteral("선금"));
    QVERIFY(w.spList->isEditing());

    // Another PC's payment, newer, would come first: the rows wait while the cell is open.
    QVERIFY(store.insert(payment(7, QStringLiteral("2026-02-01"), 2000)).ok());
    emit changes.accountChanged(BusiMode::Customer, 7);
    QCOMPARE(w.spList->model()->rowCount(), 1);
    prompt.yes(); // not the payment saved last here: the change is asked about
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(w.spList->model()->rowCount(), 2);
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT memo FROM payment WHERE amount = 1000")), QStringLiteral("선금"));
    QCOMPARE(text(ledger.db(), QStringLiteral("SELECT memo FROM payment WHERE amount = 2000")), QString());
    QVERIFY(w.lblBalance->text().contains(QStringLiteral("3,000")));
}

void TestAccountWindows::clientLedgerShowsCarriedForwardRunningBalanceAndClosing()
{
    TempLedger ledger;
    ledger.addClient(1, 3, QStringLiteral("가나상회"));
    ledger.addVoucher(sale(3, QStringLiteral("2026-01-10"), QStringLiteral("세탁기"), 10000));
    ledger.addVoucher(sale(3, QStringLiteral("2026-02-05"), QStringLiteral("냉장고"), 20000));
    PaymentStore store(ledger.db());
    QVERIFY(store.insert(payment(3, QStringLiteral("2026-01-20"), 5000)).ok());
    QVERIFY(store.insert(payment(3, QStringLiteral("2026-02-10"), 30000)).ok());
    ScriptedPrompt prompt;
    ScriptedLookups lookups;
    QTemporaryDir reports;
    FrmClientLedger w(ledger.db(), prompt, lookups, reports.path());
    QVERIFY(w.setPeriod(QStringLiteral("2026-02-01"), QStringLiteral("2026-02-28")));
    w.setClient(BusiMode::Customer, 3);
    const QAbstractItemModel *m = w.spList->model();
    using C = ClientLedgerModel;
    // 전기이월 5,000 (January's sale less its payment), the sale, the payment into advance, totals, closing.
    QCOMPARE(m->rowCount(), 5);
    QCOMPARE(cell(m, 0, C::ColText), ClientLedger::carriedForwardLabel());
    QCOMPARE(cell(m, 0, C::ColBalance), QStringLiteral("5,000"));
    QCOMPARE(cell(m, 1, C::ColDate), QStringLiteral("2026-02-05"));
    QCOMPARE(cell(m, 1, C::ColTraded), QStringLiteral("20,000"));
    QCOMPARE(cell(m, 1, C::ColBalance), QStringLiteral("25,000"));
    QCOMPARE(cell(m, 2, C::ColDate), QStringLiteral("2026-02-10"));
    QCOMPARE(cell(m, 2, C::ColPaid), QStringLiteral("30,000"));
    QCOMPARE(cell(m, 2, C::ColBalance), QStringLiteral("-5,000"));
    QCOMPARE(cell(m, 4, C::ColText), ClientLedger::closingLabel());
    QCOMPARE(cell(m, 4, C::ColBalance), QStringLiteral("-5,000"));
    QVERIFY(w.heading().contains(QStringLiteral("가나상회")));

    // The period box takes the date rules' short forms; a wrong date is refused and keeps the rows.
    prompt.ok();
    QVERIFY(!w.setPeriod(QStringLiteral("2026-13-01"), QStringLiteral("2026-02-28")));
    QCOMPARE(prompt.asked.size(), 1);
    QCOMPARE(m->rowCount(), 5);
}

void TestAccountWindows::clientLedgerOfTenThousandLinesPaintsAtOnce()
{
    TempLedger ledger;
    ledger.addClient(1, 3, QStringLiteral("가나상회"));
    {
        TransactionGuard guard(ledger.db());
        for (int i = 0; i < 10000; ++i)
            ledger.addVoucher(sale(3, QDate(2026, 1, 1).addDays(i % 28).toString(Qt::ISODate),
                                   QStringLiteral("품목 %1").arg(i), 1000 + i));
        QVERIFY(!guard.commit().isError());
    }
    ScriptedPrompt prompt;
    ScriptedLookups lookups;
    QTemporaryDir reports;
    FrmClientLedger w(ledger.db(), prompt, lookups, reports.path());
    QVERIFY(w.setPeriod(QStringLiteral("2026-01-01"), QStringLiteral("2026-01-31")));
    QElapsedTimer timer;
    timer.start();
    w.setClient(BusiMode::Customer, 3);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    const qint64 ms = timer.elapsed();
    qInfo("거래처원장 10,000줄: 읽기부터 첫 화면까지 %lld ms", ms);
    QVERIFY(w.spList->model()->rowCount() >= 10000);
    // The goal is 100 ms; the bound leaves room for a busy test machine.
    QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
}

void TestAccountWindows::balancesFilterSortTotalsAndOpenTheLedger()
{
    TempLedger ledger;
    ledger.addClient(1, 1, QStringLiteral("가나상회"));
    ledger.addClient(1, 2, QStringLiteral("나라전자"));
    ledger.addClient(1, 3, QStringLiteral("다온마트"));
    ledger.addVoucher(sale(1, QStringLiteral("2026-01-10"), QStringLiteral("세탁기"), 10000));
    QVERIFY(PaymentStore(ledger.db()).insert(payment(2, QStringLiteral("2026-01-12"), 3000)).ok());
    ScriptedPrompt prompt;
    QTemporaryDir reports;
    FrmBalances w(ledger.db(), prompt, BusiMode::Customer, reports.path());
    QList<QPair<qint64, QString>> opened;
    w.setOpenLedger([&](BusiMode mode, qint64 code, const QString &from, const QString &) {
        QCOMPARE(mode, BusiMode::Customer);
        opened.append({code, from});
    });
    QVERIFY(w.setPeriod(QStringLiteral("2026-01-01"), QStringLiteral("2026-01-31")));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QAbstractItemModel *m = w.spList->model();
    QCOMPARE(m->rowCount(), 3);
    w.chkNonZero->setChecked(true);
    QCOMPARE(m->rowCount(), 2);
    QVERIFY2(w.lblTotals->text().contains(QStringLiteral("7,000")), qPrintable(w.lblTotals->text()));

    // A click on the balance header sorts by the amount, the advance payment (-3,000) first.
    const int balance = BalancesModel::ColBalance;
    QHeaderView *header = w.spList->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(balance) + 5, header->height() / 2));
    QCOMPARE(cell(m, 0, BalancesModel::ColCode), QStringLiteral("2"));
    QCOMPARE(cell(m, 0, balance), QStringLiteral("-3,000"));

    // A double click opens that client's ledger over the same period.
    const QRect row = w.spList->visualRect(m->index(0, BalancesModel::ColName));
    QTest::mouseClick(w.spList->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(w.spList->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].first, 2);
    QCOMPARE(opened[0].second, QStringLiteral("2026-01-01"));

    // Printed in the order shown, the side's words in the headers.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return;
    std::vector<int> order;
    const auto *sorted = static_cast<const QSortFilterProxyModel *>(m);
    for (int r = 0; r < m->rowCount(); ++r)
        order.push_back(sorted->mapToSource(m->index(r, 0)).row());
    const BalancesTable table(w.model(), w.heading(), QDate(2026, 2, 1), order);
    const QString pdf = reports.filePath(QStringLiteral("balances.pdf"));
    QCOMPARE(writeAccountReportPdf(prompt, table, AccountReports::balancesForm(), reports.path(), pdf), QString());
    const QString printed = pdfText(pdf);
    QVERIFY2(printed.contains(QStringLiteral("미수금 현황")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("매출")) && printed.contains(QStringLiteral("입금")));
    QVERIFY(printed.indexOf(QStringLiteral("나라전자")) < printed.indexOf(QStringLiteral("가나상회")));
    QVERIFY(QFile::exists(reports.filePath(AccountReports::balancesForm().fileName)));
}

void TestAccountWindows::printClientLedgerCommand()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    TestEnvironment::instance().reset();
    QTemporaryDir dir;
    const auto run = [](const QStringList &args, QString *err) {
        return runWithoutDisplay(QStringLiteral(SOLBITSEM_APP), QStringList{QStringLiteral("--print-client-ledger")} + args, err);
    };
    const QString out = dir.filePath(QStringLiteral("client.pdf"));
    QString err;
    QCOMPARE(run({out}, &err), 2);
    QVERIFY(err.contains(QStringLiteral("사용법")));
    QCOMPARE(run({out, QStringLiteral("--customer"), QStringLiteral("x")}, &err), 2);
    {
        AppSettings settings;
        ScriptedPrompt quiet;
        quiet.strictOk = false;
        Database db;
        InitApp(settings, db, quiet);
        QVERIFY(db.exec(SqlStatement(QStringLiteral("INSERT INTO maechul (id, name) VALUES (4, '다라마전자')"))).ok());
        QVERIFY(db.exec(SqlStatement(QStringLiteral(
                            "INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, maechul_cost, "
                            "maechul_code, maechul_name) VALUES ('2026-03-01', '건조기', 100, '2026-03-02', 700000, 4, "
                            "'다라마전자')")))
                    .ok());
        QVERIFY(PaymentStore(db).insert(payment(4, QStringLiteral("2026-03-15"), 200000)).ok());
    }
    QCOMPARE(run({out, QStringLiteral("--customer"), QStringLiteral("4"), QStringLiteral("--from"),
                  QStringLiteral("2026-03-01"), QStringLiteral("--to"), QStringLiteral("2026-03-31")},
                 &err),
             0);
    const QString printed = pdfText(out);
    QVERIFY2(printed.contains(QStringLiteral("거래처원장")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("다라마전자")));
    QVERIFY(printed.contains(QStringLiteral("건조기")));
    QVERIFY(printed.contains(QStringLiteral("500,000"))); // the closing balance
    // A code no client, voucher or payment ever had is a mistake, not an empty ledger.
    QCOMPARE(run({out, QStringLiteral("--supplier"), QStringLiteral("99")}, &err), 1);
    QVERIFY(err.contains(QStringLiteral("99")));
}

QTEST_MAIN(TestAccountWindows)
#include "tst_accountwindows.moc"
