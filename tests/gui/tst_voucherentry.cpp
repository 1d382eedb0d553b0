// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include "admitlogin.h"
#include "core/data/database.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/ledger/ledgerentry.h"
#include "gui/ledger/ledgergrid.h"
#include "keyboard.h"
#include "ledgerfixture.h"
#include "scriptedlookups.h"
#include "scriptedprompt.h"
#include "templedger.h"

using C = LedgerModel::Column;

// A voucher typed into the main window from start to end, as a user types it.
class tst_VoucherEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<ScriptedLookups> m_lookups;
    std::unique_ptr<frmMain> m_w;
    FrmMainControls ui() const { return FrmMainControls(m_w.get()); }

    LedgerModel &model() { return m_w->model(); }
    QString cell(int row, int column) { return cellText(model(), row, column); }
    void go(int row, int column)
    {
        ui().spList()->setCurrentIndex(model().index(row, column));
        ui().spList()->setFocus();
    }
    void typeInto(int row, int column, const QString &text)
    {
        go(row, column);
        typeText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::qWait(1);
        QCoreApplication::processEvents();
    }
    qint64 vouchers()
    {
        auto r = m_db->exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
        return r.query.next() ? r.query.value(0).toLongLong() : -1;
    }

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init()
    {
        TestEnvironment::instance().reset();
        m_settings = std::make_unique<AppSettings>();
        m_settings->setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
        m_db = std::make_unique<Database>();
        m_prompt = std::make_unique<ScriptedPrompt>();
        m_lookups = std::make_unique<ScriptedLookups>();
        m_prompt->ok(); // the first-start notice of the new ledger
        m_w = std::make_unique<frmMain>(*m_settings, *m_db, *m_prompt, nullptr, m_lookups.get());
        const auto login = admitLogin();
        QVERIFY(m_w->Form_Load());
        m_prompt->clear(); // the first-start notice of the new ledger
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
        QApplication::setActiveWindow(m_w.get());
    }
    void cleanup()
    {
        m_w.reset();
        m_db.reset();
    }

    void typeAVoucherIntoTheEntryRow();
    void supplierPanelFollowsChoiceAndEditButton();
};

void tst_VoucherEntry::typeAVoucherIntoTheEntryRow()
{
    QCOMPARE(model().rowCount(), 1);
    typeInto(0, C::ColMaeipDate, QStringLiteral("20240305"));
    QTRY_COMPARE(cell(0, C::ColMaeipDate), QStringLiteral("2024-03-05"));
    QCOMPARE(cell(0, C::ColMaechulDate), QStringLiteral("2024-03-05"));
    QTRY_COMPARE(ui().spList()->currentIndex(), model().index(0, C::ColGroup));
    m_lookups->groups.enqueue(QStringLiteral("가전"));
    typeInto(0, C::ColGroup, QStringLiteral("가"));
    QTRY_COMPARE(cell(0, C::ColGroup), QStringLiteral("가전"));
    m_lookups->products.enqueue(QStringLiteral("LG 세탁기"));
    typeInto(0, C::ColProName, QStringLiteral("세탁"));
    QTRY_COMPARE(vouchers(), 1);
    QCOMPARE(model().rowCount(), 2);
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("0"));
    QVERIFY(model().row(0).totalId > 0);
    QCOMPARE(cell(1, C::ColMaeipDate), QStringLiteral("2024-03-05"));
    // Enter moved on to the supplier; the amounts follow.
    QTRY_COMPARE(ui().spList()->currentIndex(), model().index(0, C::ColMaeipName));
    typeInto(0, C::ColMaeipCost, QStringLiteral("80000"));
    typeInto(0, C::ColMaechulCost, QStringLiteral("100000"));
    typeInto(0, C::ColUsecost, QStringLiteral("5000"));
    QTRY_COMPARE(cell(0, C::ColMargin), QStringLiteral("15,000"));
    QCOMPARE(model().totals().margin, 15000);
    auto r = m_db->exec(SqlStatement(QStringLiteral("SELECT maeip_cost, maechul_cost, maechul_usecost, pro_name FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 80000);
    QCOMPARE(r.query.value(1).toLongLong(), 100000);
    QCOMPARE(r.query.value(2).toLongLong(), 5000);
    QCOMPARE(r.query.value(3).toString(), QStringLiteral("LG 세탁기"));
    QCOMPARE(m_prompt->count(), 0);
}

void tst_VoucherEntry::supplierPanelFollowsChoiceAndEditButton()
{
    SqlStatement add(QStringLiteral("INSERT INTO maeip (id, name, tel, phone, zipcode, address, memo) "
                                    "VALUES (12, '대한전자', '02-123-4567', '010-1234-5678', '135-080', '서울 강남구', '단골')"));
    QVERIFY(m_db->exec(add).ok());
    m_lookups->products.enqueue(QStringLiteral("TV"));
    typeInto(0, C::ColProName, QStringLiteral("TV"));
    QTRY_COMPARE(vouchers(), 1);
    QVERIFY(!ui().btnClientEdit(0)->isEnabled());
    m_lookups->clients.enqueue({ClientCode(12), QStringLiteral("대한전자")});
    typeInto(0, C::ColMaeipName, QStringLiteral("대한"));
    QTRY_COMPARE(cell(0, C::ColMaeipName), QStringLiteral("대한전자"));
    QCOMPARE(cell(0, C::ColMaeipCode), QStringLiteral("12"));
    QCOMPARE(ui().pnlinfo(0)->text(), QStringLiteral("대한전자"));
    QCOMPARE(ui().pnlinfo(1)->text(), QStringLiteral("02-123-4567"));
    QCOMPARE(ui().pnlinfo(2)->text(), QStringLiteral("135-080"));
    QCOMPARE(ui().pnlinfo(3)->text(), QStringLiteral("010-1234-5678"));
    QCOMPARE(ui().txtCurClient(0)->text(), QStringLiteral("12"));
    QVERIFY(ui().btnClientEdit(0)->isEnabled());
    auto r = m_db->exec(SqlStatement(QStringLiteral("SELECT maeip_code, maeip_name FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toInt(), 12);
    QCOMPARE(r.query.value(1).toString(), QStringLiteral("대한전자"));
    // The entry row has no supplier: the panel keeps showing the one above.
    go(1, C::ColGroup);
    QCOMPARE(ui().pnlinfo(0)->text(), QStringLiteral("대한전자"));
    // Without a customer shown, its edit button does nothing.
    QVERIFY(!ui().btnClientEdit(1)->isEnabled());
    m_w->entry().btnClientEdit_Click(BusiMode::Customer);
    QCOMPARE(m_prompt->count(), 0);
}

QTEST_MAIN(tst_VoucherEntry)
#include "tst_voucherentry.moc"
