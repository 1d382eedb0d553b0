// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/accounts/balances.h"
#include "core/accounts/paymentstore.h"
#include "core/base/textutil.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "core/documents/businessstore.h"
#include "core/documents/statement.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/documents/frmbusinessinfo.h"
#include "gui/documents/frmtaxinvoice.h"
#include "gui/documents/statementpainter.h"
#include "gui/documents/statementprinting.h"
#include "gui/masterdata/businessfields.h"
#include "gui/masterdata/frmclient_write.h"
#include "scriptedlookups.h"
#include "commandrun.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

const QString kValid = QStringLiteral("1234567891");
const QString kWrongCheck = QStringLiteral("123-45-67890");

qint64 sell(TempLedger &l, qint64 customer, const QString &name, const QString &date, const QString &product, qint64 amount)
{
    const auto r = l.exec(SqlStatement(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                                      "maechul_cost, maechul_code, maechul_name) VALUES (:d, :p, 0, :d, :a, :c, :n)"))
                              .bind(QStringLiteral("d"), date)
                              .bind(QStringLiteral("p"), product)
                              .bind(QStringLiteral("a"), amount)
                              .bind(QStringLiteral("c"), customer)
                              .bind(QStringLiteral("n"), name));
    if (!r.ok())
        return 0;
    qint64 id = 0;
    (void)l.db().forEachRow(SqlStatement(QStringLiteral("SELECT max(total_id) FROM total")),
                            [&id](const Database::RowView &row) { id = row.integer(0); });
    return id;
}

} // namespace

class TestDocumentWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        m_ledger = std::make_unique<TempLedger>();
        m_prompt = {};
    }
    void cleanup() { m_ledger.reset(); }

    void clientNumberCheckedAndSaved();
    void shopDetailsWindow();
    void statementBalancesAndPdf();
    void mixedCustomersRefused();
    void taxInvoiceWindowLists();
    void printStatementCommand();
    void clientLedgerDayLineOpensStatement();

private:
    std::unique_ptr<TempLedger> m_ledger;
    ScriptedPrompt m_prompt;
};

void TestDocumentWindows::clientNumberCheckedAndSaved()
{
    m_prompt.strictOk = false;
    FrmClient_write w(m_ledger->db(), m_prompt, QString());
    w.setAddEditMode(ClientEditor::EditMode::Add);
    w.setBusiMode(BusiMode::Customer);
    QLineEdit *number = w.grpBusiness->txtBusi[ClientBusinessBox::Number];
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.txtInput[0]->setText(QStringLiteral("가나상사"));
    // Checked as the box is left; 저장 then says it no second time.
    number->setFocus();
    QTest::keyClicks(number, kWrongCheck);
    QTest::keyClick(number, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w.grpBusiness->txtBusi[ClientBusinessBox::Owner]);
    QCOMPARE(m_prompt.count(), 1);
    w.grpBusiness->txtBusi[ClientBusinessBox::Owner]->setText(QStringLiteral("홍길동"));
    w.btnSave->click();
    // Refused with the rule it broke, and nothing written.
    QCOMPARE(m_prompt.count(), 1);
    QVERIFY2(m_prompt.last().text.contains(QStringLiteral("검증 숫자")), qPrintable(m_prompt.last().text));
    QCOMPARE(m_ledger->count(QStringLiteral("maechul")), 0);

    number->setText(kValid);
    w.btnSave->click();
    QCOMPARE(m_ledger->count(QStringLiteral("maechul")), 1);
    ClientBusiness saved;
    QVERIFY(!BusinessStore(m_ledger->db()).readClient(BusiMode::Customer, w.CCode(), saved).isError());
    QCOMPARE(saved.number, kValid);
    QCOMPARE(saved.owner, QStringLiteral("홍길동"));

    // Editing shows the number as written on papers.
    FrmClient_write edit(m_ledger->db(), m_prompt, QString());
    edit.setAddEditMode(ClientEditor::EditMode::Edit);
    edit.setBusiMode(BusiMode::Customer);
    edit.setCCode(w.CCode());
    QCOMPARE(edit.grpBusiness->txtBusi[ClientBusinessBox::Number]->text(), QStringLiteral("123-45-67891"));
}

void TestDocumentWindows::shopDetailsWindow()
{
    m_prompt.strictOk = false;
    FrmBusinessInfo w(m_ledger->db(), m_prompt);
    QVERIFY(w.load());
    QVERIFY(w.chkVatIncluded->isChecked());
    w.txtShop[FrmBusinessInfo::Name]->setText(QStringLiteral("솔빛상회"));
    w.txtShop[FrmBusinessInfo::Number]->setText(QStringLiteral("123456789"));
    w.btnSave_Click();
    QVERIFY(m_prompt.last().text.contains(QStringLiteral("10자리")));
    ShopDetails shop;
    QVERIFY(!BusinessStore(m_ledger->db()).readShop(shop).isError());
    QVERIFY(shop.name.isEmpty());

    w.txtShop[FrmBusinessInfo::Number]->setText(QStringLiteral(" 123-45-67891 "));
    w.chkVatIncluded->setChecked(false);
    w.btnSave_Click();
    QVERIFY(!BusinessStore(m_ledger->db()).readShop(shop).isError());
    QCOMPARE(shop.name, QStringLiteral("솔빛상회"));
    QCOMPARE(shop.number, kValid);
    QVERIFY(!shop.vatIncluded);
}

void TestDocumentWindows::statementBalancesAndPdf()
{
    TempLedger &l = *m_ledger;
    QVERIFY(l.exec(SqlStatement(QStringLiteral("INSERT INTO maechul (id, name, address) VALUES (4, '다라마전자', '서울 중구')"))).ok());
    ShopDetails shop;
    shop.name = QStringLiteral("솔빛상회");
    shop.number = kValid;
    QVERIFY(BusinessStore(l.db()).saveShop(shop).ok());
    const QString day = QStringLiteral("2026-03-02");
    QVERIFY(sell(l, 4, QStringLiteral("다라마전자"), QStringLiteral("2026-03-01"), QStringLiteral("냉장고"), 100000));
    QVERIFY(sell(l, 4, QStringLiteral("다라마전자"), day, QStringLiteral("건조기"), 1000000));
    QVERIFY(sell(l, 4, QStringLiteral("다라마전자"), day, QStringLiteral("세탁기"), 234500));
    Payment paid;
    paid.clientCode = 4;
    paid.date = day;
    paid.amount = 300000;
    paid.method = QStringLiteral("현금");
    QVERIFY(PaymentStore(l.db()).insert(paid).ok());

    Statement data;
    QVERIFY(Statement::ofDay(l.db(), ClientCode(4), QDate::fromString(day, Qt::ISODate), data).ok());
    QCOMPARE(int(data.lines.size()), 2);
    // The balance lines agree with the balances rule.
    QCOMPARE(data.previousBalance, *Balances::balanceBefore(l.db(), BusiMode::Customer, 4, day));
    QCOMPARE(data.previousBalance, 100000);
    QCOMPARE(data.todayTotal, 1234500);
    QCOMPARE(data.paidToday, 300000);
    QCOMPARE(data.currentBalance, *Balances::balanceAt(l.db(), BusiMode::Customer, 4, day));
    QCOMPARE(data.sum.total(), 1234500);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("statement.pdf"));
    QCOMPARE(writeStatementPdf(m_prompt, data, dir.path(), out), QString());
    QVERIFY(QFileInfo::exists(dir.filePath(StatementLayout::fileName())));
    const QString printed = pdfText(out);
    QVERIFY2(printed.contains(QStringLiteral("거래명세표")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("공급받는자 보관용")));
    QVERIFY(printed.contains(QStringLiteral("공급자 보관용")));
    QVERIFY(printed.contains(QStringLiteral("일금 일백이십삼만사천오백원정")));
    QVERIFY(printed.contains(QStringLiteral("123-45-67891")));
    for (const QString &amount : {QStringLiteral("100,000"), QStringLiteral("300,000"), QStringLiteral("1,034,500")})
        QVERIFY2(printed.contains(amount), qPrintable(amount));

    // Twenty lines: past what half a sheet holds, and timed.
    for (int i = 0; i < 18; ++i)
        QVERIFY(sell(l, 4, QStringLiteral("다라마전자"), day, QStringLiteral("품목%1").arg(i), 10000 + i));
    QVERIFY(Statement::ofDay(l.db(), ClientCode(4), QDate::fromString(day, Qt::ISODate), data).ok());
    QCOMPARE(int(data.lines.size()), 20);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(writeStatementPdf(m_prompt, data, dir.path(), out), QString());
    qInfo("20-line statement to PDF: %lld ms", timer.elapsed());
    const QString longer = pdfText(out);
    QVERIFY(longer.contains(QStringLiteral("품목17")));
    QVERIFY(longer.contains(formatMoney(data.currentBalance)));
}

void TestDocumentWindows::mixedCustomersRefused()
{
    TempLedger &l = *m_ledger;
    const qint64 a = sell(l, 1, QStringLiteral("가게1"), QStringLiteral("2026-03-02"), QStringLiteral("사과"), 1000);
    const qint64 b = sell(l, 2, QStringLiteral("가게2"), QStringLiteral("2026-03-02"), QStringLiteral("배"), 2000);
    QVERIFY(l.exec(SqlStatement(QStringLiteral("INSERT INTO maechul (id, name) VALUES (1, '가게1'), (2, '가게2')"))).ok());
    Statement data;
    QVERIFY(Statement::ofVouchers(l.db(), {a}, data).ok());
    QCOMPARE(data.customerName, QStringLiteral("가게1"));
    // Through the window's path: said, and no preview opened.
    m_prompt.ok();
    printStatement(nullptr, l.db(), m_prompt, {a, b}, QString());
    QCOMPARE(m_prompt.count(), 1);
    QVERIFY2(m_prompt.last().text.contains(QStringLiteral("한 판매처")), qPrintable(m_prompt.last().text));
}

void TestDocumentWindows::taxInvoiceWindowLists()
{
    TempLedger &l = *m_ledger;
    ShopDetails shop;
    shop.number = kValid;
    QVERIFY(BusinessStore(l.db()).saveShop(shop).ok());
    QVERIFY(l.exec(SqlStatement(QStringLiteral("INSERT INTO maechul (id, name) VALUES (1, '번호있음'), (2, '번호없음')"))).ok());
    QVERIFY(BusinessStore(l.db()).saveClient(BusiMode::Customer, ClientCode(1), {kValid, {}, {}, {}, {}}).ok());
    QVERIFY(sell(l, 1, QStringLiteral("번호있음"), QStringLiteral("2026-03-02"), QStringLiteral("사과"), 11000));
    QVERIFY(sell(l, 2, QStringLiteral("번호없음"), QStringLiteral("2026-03-05"), QStringLiteral("배"), 22000));
    m_prompt.strictOk = false;
    FrmTaxInvoice w(l.db(), m_prompt, QString());
    w.txtMonth->setText(QStringLiteral("2026-03"));
    QVERIFY(w.btnRefresh_Click());
    QCOMPARE(w.spIssuable->rowCount(), 1);
    QCOMPARE(w.spIssuable->item(0, 0)->text(), QStringLiteral("번호있음"));
    QCOMPARE(w.spIssuable->item(0, 4)->text(), QStringLiteral("1,000"));
    QCOMPARE(w.spUnissuable->rowCount(), 1);
    QCOMPARE(w.spUnissuable->item(0, 0)->text(), QStringLiteral("번호없음"));
    QTemporaryDir dir;
    QCOMPARE(w.saveTo(dir.filePath(QStringLiteral("hometax.xlsx"))), QString());
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("hometax.xlsx"))).size() > 0);
}

void TestDocumentWindows::printStatementCommand()
{
    if (TestEngine::isServer())
        QSKIP("the command reads the ledger the settings name, a file here");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    TestEnvironment::instance().reset();
    QTemporaryDir dir;
    const auto run = [](const QStringList &args, QString *err) {
        return runWithoutDisplay(QStringLiteral(SOLBITSEM_APP), QStringList{QStringLiteral("--print-statement")} + args, err);
    };
    const QString out = dir.filePath(QStringLiteral("statement.pdf"));
    QString err;
    QCOMPARE(run({out, QStringLiteral("--customer"), QStringLiteral("4")}, &err), 2);
    QVERIFY(err.contains(QStringLiteral("사용법")));
    QCOMPARE(run({out, QStringLiteral("--customer"), QStringLiteral("4"), QStringLiteral("--date"), QStringLiteral("2026-13-40")},
                 &err),
             2);
    {
        AppSettings settings;
        ScriptedPrompt quiet;
        quiet.strictOk = false;
        Database db;
        InitApp(settings, db, quiet);
        QVERIFY(db.exec(SqlStatement(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                                    "maechul_cost, maechul_code, maechul_name) VALUES ('2026-03-01', "
                                                    "'건조기', 100, '2026-03-02', 700000, 4, '다라마전자')")))
                    .ok());
    }
    const QStringList day{out, QStringLiteral("--customer"), QStringLiteral("4"), QStringLiteral("--date"),
                          QStringLiteral("2026-03-02")};
    QCOMPARE(run(day, &err), 0);
    const QString printed = pdfText(out);
    QVERIFY2(printed.contains(QStringLiteral("거래명세표")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("건조기")));
    QVERIFY(printed.contains(QStringLiteral("일금 칠십만원정")));
    // A day with nothing sold to the customer is a failure, not an empty statement.
    QCOMPARE(run({out, QStringLiteral("--customer"), QStringLiteral("4"), QStringLiteral("--date"), QStringLiteral("2026-03-03")},
                 &err),
             1);
}

void TestDocumentWindows::clientLedgerDayLineOpensStatement()
{
    TempLedger &l = *m_ledger;
    QVERIFY(l.exec(SqlStatement(QStringLiteral("INSERT INTO maechul (id, name) VALUES (4, '다라마전자')"))).ok());
    QVERIFY(sell(l, 4, QStringLiteral("다라마전자"), QStringLiteral("2026-03-02"), QStringLiteral("건조기"), 700000));
    QList<QPair<qint64, QString>> opened;
    setDayStatement([&opened](QWidget *, qint64 code, const QString &date) { opened.append({code, date}); });
    ScriptedLookups lookups;
    QTemporaryDir reports;
    FrmClientLedger w(l.db(), m_prompt, lookups, reports.path());
    QVERIFY(w.setPeriod(QStringLiteral("2026-03-01"), QStringLiteral("2026-03-31")));
    w.setClient(BusiMode::Customer, 4);
    // 전기이월 first, then the voucher: only the voucher line opens a statement.
    emit w.spList->activated(w.spList->model()->index(0, 0));
    QVERIFY(opened.isEmpty());
    emit w.spList->activated(w.spList->model()->index(1, 0));
    setDayStatement({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].first, 4);
    QCOMPARE(opened[0].second, QStringLiteral("2026-03-02"));
}

QTEST_MAIN(TestDocumentWindows)
#include "tst_documentwindows.moc"
