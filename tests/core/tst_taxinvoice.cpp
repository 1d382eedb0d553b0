// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QProcess>
#include <QTest>

#include "core/data/schema.h"
#include "core/documents/hometaxsheet.h"
#include "core/documents/taxinvoice.h"
#include "core/shell/appsettings.h"
#include "templedger.h"
#include "xlsxsheet.h"

namespace {

const QDate kNovember(2026, 11, 1);

// The shop, and a month of sales: 가나상사 (a valid number) bought six things in November and
// once in each neighbouring month; 다라마트 has no number, 바사 a wrong one; one sale went to no
// registered customer, one voucher is unsold.
void fillLedger(TempLedger &l, bool vatIncluded = true, const QString &shopNumber = QStringLiteral("123-45-67891"))
{
    BusinessStore store(l.db());
    QVERIFY(store.saveShop({QStringLiteral("솔빛상회"), QStringLiteral("홍길동"), shopNumber, QStringLiteral("도소매"),
                            QStringLiteral("가전"), QStringLiteral("서울 종로 1"), QStringLiteral("02-123-4567"),
                            QStringLiteral("shop@sol.kr"), vatIncluded})
                .ok());
    l.addClient(1, 1, QStringLiteral("가나상사"));
    l.exec(SqlStatement(QStringLiteral("UPDATE maechul SET address = :a WHERE id = 1")).bind(QStringLiteral("a"), QStringLiteral("부산 중구 2")));
    QVERIFY(store.saveClient(BusiMode::Customer, ClientCode(1), {QStringLiteral("2208162574"), QStringLiteral("김가나"), QStringLiteral("제조"),
                                                     QStringLiteral("부품"), QStringLiteral("k@ga.kr")})
                .ok());
    l.addClient(1, 2, QStringLiteral("다라마트"));
    l.addClient(1, 3, QStringLiteral("바사"));
    // Stored past the store's check, as an older program or another tool could.
    l.exec(SqlStatement(QStringLiteral("INSERT INTO client_business (busi_mode, client_code, busi_no) VALUES (1, 3, '1234567892')")));
    const auto sale = [&](qint32 code, const QString &date, const QString &product, qint64 amount) {
        LedgerRow r = voucher(QStringLiteral("2026-10-01"), product, 1, date, amount);
        r.maechulCode = ClientCode(code);
        r.maechulName = QStringLiteral("전표의 이름");
        l.addVoucher(r);
    };
    sale(1, QStringLiteral("2026-11-20"), QStringLiteral("D"), 3000); // written first, listed by date
    sale(1, QStringLiteral("2026-11-03"), QStringLiteral("냉장고"), 110000);
    sale(1, QStringLiteral("2026-11-05"), QStringLiteral("TV"), 10000);
    sale(1, QStringLiteral("2026-11-07"), QStringLiteral("A"), 10005);
    sale(1, QStringLiteral("2026-11-09"), QStringLiteral("B"), 1000);
    sale(1, QStringLiteral("2026-11-12"), QStringLiteral("C"), 2000);
    sale(1, QStringLiteral("2026-10-31"), QStringLiteral("지난달"), 50000);
    sale(1, QStringLiteral("2026-12-01"), QStringLiteral("다음달"), 50000);
    sale(2, QStringLiteral("2026-11-10"), QStringLiteral("E"), 5500);
    sale(3, QStringLiteral("2026-11-11"), QStringLiteral("F"), 1100);
    sale(0, QStringLiteral("2026-11-15"), QStringLiteral("G"), 2200);
    l.addVoucher(voucher(QStringLiteral("2026-11-02"), QStringLiteral("안 팔림"), 700));
}

QString columnName(int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

} // namespace

class tst_TaxInvoice final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void monthPerCustomer();
    void perVoucherAndSwitches();
    void sheetReadBack();
    void commandForm();
};

void tst_TaxInvoice::monthPerCustomer()
{
    TempLedger l;
    fillLedger(l);
    TaxInvoiceData data;
    QVERIFY(!TaxInvoiceData::build(l.db(), kNovember, TaxInvoiceData::Grouping::PerCustomer, data).isError());
    QCOMPARE(data.issueDate, QDate(2026, 11, 30));
    QCOMPARE(data.invoices.size(), 1);
    const TaxInvoice &ga = data.invoices.first();
    QCOMPARE(ga.customerName, QStringLiteral("가나상사"));
    QCOMPARE(ga.items.size(), 6);
    QCOMPARE(ga.items.first().product, QStringLiteral("냉장고"));
    QCOMPARE(ga.items.last().product, QStringLiteral("D"));
    // Split voucher by voucher: 100,000+9,091+9,095+909+1,818+2,727 and 10,000+909+910+91+182+273.
    QCOMPARE(ga.total.supply, 123640);
    QCOMPARE(ga.total.tax, 12365);

    QCOMPARE(data.unissuable.size(), 3);
    QCOMPARE(data.unissuable.at(0).customerName, QStringLiteral("(판매처 없음)"));
    QCOMPARE(data.unissuable.at(1).customerName, QStringLiteral("다라마트"));
    QVERIFY(data.unissuable.at(1).reason.contains(QStringLiteral("없습니다")));
    QCOMPARE(data.unissuable.at(1).total.total(), 5500);
    QCOMPARE(data.unissuable.at(2).customerName, QStringLiteral("바사"));
    QVERIFY(data.unissuable.at(2).reason.contains(QStringLiteral("검증")));
}

void tst_TaxInvoice::perVoucherAndSwitches()
{
    {
        TempLedger l;
        fillLedger(l, false);
        TaxInvoiceData data;
        QVERIFY(!TaxInvoiceData::build(l.db(), kNovember, TaxInvoiceData::Grouping::PerVoucher, data, QDate(2026, 11, 25)).isError());
        QCOMPARE(data.issueDate, QDate(2026, 11, 25));
        QCOMPARE(data.invoices.size(), 6);
        QCOMPARE(data.unissuable.size(), 3); // the unregistered sales stay one line
        qint64 supply = 0;
        qint64 tax = 0;
        for (const TaxInvoice &i : std::as_const(data.invoices)) {
            QCOMPARE(i.items.size(), 1);
            supply += i.total.supply;
            tax += i.total.tax;
        }
        // VAT not included: the amounts are the supply values and the tax a tenth of each.
        QCOMPARE(supply, 136005);
        QCOMPARE(tax, 13600);
    }
    {
        TempLedger l;
        fillLedger(l, true, QString());
        TaxInvoiceData data;
        QVERIFY(!TaxInvoiceData::build(l.db(), kNovember, TaxInvoiceData::Grouping::PerCustomer, data).isError());
        QVERIFY(data.invoices.isEmpty());
        QCOMPARE(data.unissuable.size(), 4);
        for (const UnissuableSales &u : std::as_const(data.unissuable))
            QVERIFY2(u.reason.contains(QStringLiteral("우리 가게")), qPrintable(u.reason));
    }
}

void tst_TaxInvoice::sheetReadBack()
{
    TempLedger l;
    fillLedger(l);
    TaxInvoiceData data;
    QVERIFY(!TaxInvoiceData::build(l.db(), kNovember, TaxInvoiceData::Grouping::PerCustomer, data).isError());
    const QString path = l.folder() + QStringLiteral("/세금계산서.xlsx");
    QCOMPARE(HometaxSheet::write(data, path), QString());

    QString xml;
    const auto cells = sheetCells(path, &xml);
    QCOMPARE(xml.count(QStringLiteral("<row ")), 2);
    const QStringList headers = HometaxSheet::headers();
    QCOMPARE(headers.size(), 59);
    for (int c = 0; c < headers.size(); ++c)
        QCOMPARE(sheetText(cells.value(columnName(c) + u'1')), headers.at(c));
    QCOMPARE(headers.at(10), QStringLiteral("공급받는자 등록번호"));
    QCOMPARE(headers.at(22), QStringLiteral("일자1"));
    QCOMPARE(headers.at(58), QStringLiteral("영수(01)/청구(02)"));

    // The one invoice's row, column by column: texts as texts, amounts as numbers, blanks blank.
    using Cell = std::variant<std::monostate, QString, qint64>;
    const QString none;
    QList<Cell> expected{u"01"_qs, u"20261130"_qs, u"1234567891"_qs, {}, u"솔빛상회"_qs, u"홍길동"_qs, u"서울 종로 1"_qs,
                         u"도소매"_qs, u"가전"_qs, u"shop@sol.kr"_qs,
                         u"2208162574"_qs, {}, u"가나상사"_qs, u"김가나"_qs, u"부산 중구 2"_qs, u"제조"_qs, u"부품"_qs,
                         u"k@ga.kr"_qs, {}, qint64(123640), qint64(12365), {},
                         u"03"_qs, u"냉장고"_qs, {}, qint64(1), qint64(100000), qint64(100000), qint64(10000), {},
                         u"05"_qs, u"TV"_qs, {}, qint64(1), qint64(9091), qint64(9091), qint64(909), {},
                         u"07"_qs, u"A"_qs, {}, qint64(1), qint64(9095), qint64(9095), qint64(910), {},
                         // The fourth sums the fourth to the sixth: 909+1,818+2,727 and 91+182+273.
                         u"09"_qs, u"B 외 2건"_qs, {}, qint64(1), qint64(5454), qint64(5454), qint64(546), {},
                         {}, {}, {}, {}, u"02"_qs};
    QCOMPARE(expected.size(), 59);
    for (int c = 0; c < expected.size(); ++c) {
        const auto cell = cells.value(columnName(c) + u'2');
        const QByteArray where = (columnName(c) + QStringLiteral("2 ") + headers.at(c)).toUtf8();
        if (const auto *text = std::get_if<QString>(&expected.at(c)))
            QVERIFY2(sheetText(cell) == *text, where.constData());
        else if (const auto *number = std::get_if<qint64>(&expected.at(c)))
            QVERIFY2(sheetNumber(cell) == *number, where.constData());
        else
            QVERIFY2(!cells.contains(columnName(c) + u'2'), where.constData());
    }
}

void tst_TaxInvoice::commandForm()
{
    if (TestEngine::isServer())
        QSKIP("the command reads the ledger the settings name: the file run covers it");
    TempLedger l;
    fillLedger(l);
    {
        AppSettings settings;
        settings.setValue(AppSettings::environment(), QStringLiteral("db기초"), l.path());
        settings.sync();
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    QProcess app;
    app.setProcessEnvironment(env);
    const auto run = [&](const QStringList &args) {
        app.start(QStringLiteral(SOLBITSEM_APP), QStringList{QStringLiteral("--export-taxinvoice")} + args);
        app.waitForFinished(30000);
        return app.exitCode();
    };
    const QString out = l.folder() + QStringLiteral("/11월.xlsx");
    QCOMPARE(run({out, QStringLiteral("--month"), QStringLiteral("2026-11")}), 0);
    QVERIFY(QFile::exists(out));
    const QString said = QString::fromUtf8(app.readAllStandardError());
    QVERIFY2(said.contains(QStringLiteral("다라마트")) && said.contains(QStringLiteral("바사")), qPrintable(said));
    QCOMPARE(run({out}), 2);
    QCOMPARE(run({out, QStringLiteral("--month"), QStringLiteral("2026-13")}), 2);
    QCOMPARE(run({l.folder() + QStringLiteral("/a.csv"), QStringLiteral("--month"), QStringLiteral("2026-11")}), 2);
    QCOMPARE(run({l.folder() + QStringLiteral("/없는 폴더/a.xlsx"), QStringLiteral("--month"), QStringLiteral("2026-11")}), 1);
}

QTEST_APPLESS_MAIN(tst_TaxInvoice)
#include "tst_taxinvoice.moc"
