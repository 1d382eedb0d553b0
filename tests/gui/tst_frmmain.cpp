// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "data/database.h"
#include "ledger/frmmain.h"
#include "ledger/ledgergrid.h"
#include "shell/appsettings.h"
#include "shell/frminitmsg.h"
#include "shell/startup.h"
#include "scriptedprompt.h"
#include "templedger.h"

class tst_FrmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<frmMain> m_w;

    // A started main window on a ledger holding a few vouchers of this month.
    void start()
    {
        m_settings = std::make_unique<AppSettings>();
        m_settings->setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
        m_db = std::make_unique<Database>();
        m_prompt = std::make_unique<ScriptedPrompt>();
        {
            ScriptedPrompt quiet;
            Database seedDb;
            const AppPaths paths = InitApp(*m_settings, seedDb, quiet);
            const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
            const QString first = QDate::currentDate().toString(QStringLiteral("yyyy-MM-01"));
            const QString lastMonth = QDate::currentDate().addMonths(-1).toString(QStringLiteral("yyyy-MM-15"));
            auto add = [&](const QString &name, const QString &sold, const QString &customer) {
                SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                               "maechul_name, maechul_cost, maechul_usecost, group_name) "
                                               "VALUES (:d, :p, 80000, :s, :c, 100000, 5000, '가전')"));
                st.bind(QStringLiteral("d"), first).bind(QStringLiteral("p"), name).bind(QStringLiteral("s"), sold)
                    .bind(QStringLiteral("c"), customer);
                QVERIFY(seedDb.exec(st).ok());
            };
            add(QStringLiteral("이번달TV"), today, QStringLiteral("김철수"));
            add(QStringLiteral("이번달냉장고"), first, QStringLiteral("박영희"));
            add(QStringLiteral("지난달세탁기"), lastMonth, QStringLiteral("김철수"));
            QVERIFY(!paths.gDbFile.isEmpty());
        }
        m_w = std::make_unique<frmMain>(*m_settings, *m_db, *m_prompt);
        QVERIFY(m_w->Form_Load());
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init()
    {
        TestEnvironment::instance().reset();
        start();
    }
    void cleanup()
    {
        m_w.reset();
        m_db.reset();
    }

    void titleAndDefaultPeriod();
    void defaultQueryShowsThisMonthWithEntryRowLast();
    void clientSearchByEnterIgnoresPeriod();
    void focusingClientBoxEmptiesProductBox();
    void f3EmptiesBothBoxesAndFocusesClientBox();
    void dateButtonsMoveOneDay();
    void chainCopiesIntoTheOtherBox();
    void windowNeverSmallerThan5000Twips();
    void everyControlHasAnAccessibleName();
    void noticeCheckBoxWritesNoMsgAtOnce();
};

void tst_FrmMain::titleAndDefaultPeriod()
{
    QCOMPARE(m_w->windowTitle(), QStringLiteral("제품매입/판매관리 솔빛셈 Ver.1.0.0"));
    QCOMPARE(m_w->spDate[0]->text(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-01")));
    QCOMPARE(m_w->spDate[1]->text(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    QCOMPARE(m_w->cmbGu->count(), 2);
    QCOMPARE(m_w->cmbGu->itemText(0), QStringLiteral("판매처"));
    QCOMPARE(m_w->cmbGu->itemText(1), QStringLiteral("매입처"));
    QCOMPARE(m_w->cmbGroup->itemText(0), QString());
    QCOMPARE(m_w->cmbGroup->itemText(1), QStringLiteral("가전"));
}

void tst_FrmMain::defaultQueryShowsThisMonthWithEntryRowLast()
{
    LedgerModel &m = m_w->model();
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(m.row(0).proName, QStringLiteral("이번달냉장고"));
    QCOMPARE(m.row(1).proName, QStringLiteral("이번달TV"));
    QCOMPARE(m.entryRow(), 2);
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QCOMPARE(m.data(m.index(2, LedgerModel::ColMaeipDate)).toString(), today);
    QCOMPARE(m.data(m.index(2, LedgerModel::ColMaechulDate)).toString(), today);
    QCOMPARE(m_w->spList->currentIndex(), m.index(2, LedgerModel::ColGroup));
    // 100,000 sale less 5,000 expense less 80,000 purchase.
    QCOMPARE(m.data(m.index(0, LedgerModel::ColMargin)).toString(), QStringLiteral("15,000"));
    QCOMPARE(m.totals().margin, 30000);
    QVERIFY(m_w->spList->isColumnHidden(LedgerModel::ColTotalId));
    QVERIFY(m_w->spList->isColumnHidden(LedgerModel::ColMaeipCode));
    QVERIFY(!m_w->spList->isColumnHidden(LedgerModel::ColMargin));
}

void tst_FrmMain::clientSearchByEnterIgnoresPeriod()
{
    m_w->txtCName->setFocus();
    m_w->txtCName->setText(QStringLiteral("철수"));
    QTest::keyClick(m_w->txtCName, Qt::Key_Return);
    LedgerModel &m = m_w->model();
    QCOMPARE(m.rowCount(), 3);
    QStringList names{m.row(0).proName, m.row(1).proName};
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("이번달TV"), QStringLiteral("지난달세탁기")}));
    QCOMPARE(m_prompt->count(), 0);
}

void tst_FrmMain::focusingClientBoxEmptiesProductBox()
{
    m_w->txtCName->setText(QStringLiteral("김"));
    m_w->txtPName->setText(QStringLiteral("TV"));
    m_w->txtPName->setFocus();
    QTRY_VERIFY(m_w->txtPName->hasFocus());
    QCOMPARE(m_w->txtCName->text(), QStringLiteral("김"));
    m_w->txtCName->setFocus();
    QTRY_VERIFY(m_w->txtCName->hasFocus());
    QCOMPARE(m_w->txtPName->text(), QString());
    QCOMPARE(m_w->txtCName->text(), QStringLiteral("김"));
}

void tst_FrmMain::f3EmptiesBothBoxesAndFocusesClientBox()
{
    m_w->txtCName->setText(QStringLiteral("김"));
    m_w->txtPName->setText(QStringLiteral("TV"));
    m_w->spList->setFocus();
    QTest::keyClick(m_w->spList, Qt::Key_F3);
    QTRY_VERIFY(m_w->txtCName->hasFocus());
    QCOMPARE(m_w->txtCName->text(), QString());
    QCOMPARE(m_w->txtPName->text(), QString());
}

void tst_FrmMain::dateButtonsMoveOneDay()
{
    m_w->chkChain->setChecked(false);
    m_w->spDate[0]->setText(QStringLiteral("2024-03-01"));
    m_w->spDate[1]->setText(QStringLiteral("2024-03-31"));
    auto *up = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_0_up"));
    auto *down = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_1_down"));
    QVERIFY(up && down);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_w->spDate[0]->text(), QStringLiteral("2024-02-29"));
    QCOMPARE(m_w->spDate[1]->text(), QStringLiteral("2024-03-31"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(m_w->spDate[1]->text(), QStringLiteral("2024-04-01"));
    QCOMPARE(m_w->spDate[0]->text(), QStringLiteral("2024-02-29"));
}

void tst_FrmMain::chainCopiesIntoTheOtherBox()
{
    m_w->spDate[0]->setText(QStringLiteral("2024-03-01"));
    m_w->spDate[1]->setText(QStringLiteral("2024-03-31"));
    m_w->chkChain->setChecked(true);
    auto *up = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_0_up"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_w->spDate[0]->text(), QStringLiteral("2024-02-29"));
    QCOMPARE(m_w->spDate[1]->text(), QStringLiteral("2024-02-29"));
    auto *down = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_1_down"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(m_w->spDate[0]->text(), QStringLiteral("2024-03-01"));
    QCOMPARE(m_w->spDate[1]->text(), QStringLiteral("2024-03-01"));
    // Changing a date runs no query.
    QCOMPARE(m_w->model().rowCount(), 3);
    QString dates[2] = {QStringLiteral("a"), QStringLiteral("b")};
    ChainDate(2, true, dates, *m_prompt);
    QCOMPARE(m_prompt->last().text, QStringLiteral("코딩누락"));
    QCOMPARE(dates[0], QStringLiteral("a"));
    QCOMPARE(dates[1], QStringLiteral("b"));
}

void tst_FrmMain::windowNeverSmallerThan5000Twips()
{
    const int minimum = 5000 * m_w->logicalDpiX() / 1440;
    m_w->resize(100, 100);
    QTRY_VERIFY(m_w->width() >= minimum - 1);
    QVERIFY(m_w->height() >= 5000 * m_w->logicalDpiY() / 1440 - 1);
    // The stacking keeps the grid, totals and bottom panel in order.
    m_w->resize(1200, 800);
    QTRY_COMPARE(m_w->width(), 1200);
    QVERIFY(m_w->spList->geometry().top() > m_w->pnlTop->geometry().bottom());
    QVERIFY(m_w->spTotal->geometry().top() > m_w->spList->geometry().bottom());
    QVERIFY(m_w->pnlBottom->geometry().top() > m_w->spTotal->geometry().bottom());
    QCOMPARE(m_w->spList->width(), m_w->pnlTop->width());
}

void tst_FrmMain::everyControlHasAnAccessibleName()
{
    QStringList missing;
    for (QWidget *w : m_w->findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))
            && w->accessibleName().isEmpty())
            missing << w->objectName();
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u',')));
    QCOMPARE(m_w->txtPName->accessibleName(), QStringLiteral("품목명:"));
    QCOMPARE(m_w->model().headerData(LedgerModel::ColProName, Qt::Horizontal).toString(), QStringLiteral("품명"));
}

void tst_FrmMain::noticeCheckBoxWritesNoMsgAtOnce()
{
    FrmInitMsg notice(*m_settings, m_w->paths());
    QVERIFY(notice.lblMessage->text().contains(QDir::toNativeSeparators(m_w->paths().gDbFile)));
    notice.ChkCheck->click();
    QCOMPARE(m_settings->value(AppSettings::environment(), QStringLiteral("NoMsg")), QStringLiteral("1"));
    notice.ChkCheck->click();
    QCOMPARE(m_settings->value(AppSettings::environment(), QStringLiteral("NoMsg")), QStringLiteral("0"));
    notice.Command1->click();
    QCOMPARE(m_settings->value(AppSettings::environment(), QStringLiteral("NoMsg")), QStringLiteral("0"));
}

QTEST_MAIN(tst_FrmMain)
#include "tst_frmmain.moc"
