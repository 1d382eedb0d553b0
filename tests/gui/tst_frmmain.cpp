// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "admitlogin.h"
#include "core/data/database.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "core/layout/layoutini.h"
#include "core/accounts/paymentstore.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/accounts/frmpayment.h"
#include "gui/ledger/accountcommands.h"
#include "gui/analysis/frmtradegraph.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/ledger/documentcommands.h"
#include "gui/ledger/ledgerentry.h"
#include "gui/ledger/ledgergrid.h"
#include "gui/shell/frminitmsg.h"
#include "gui/shell/frmpass.h"
#include "gui/ui/formini.h"
#include "modalwatch.h"
#include "hookedprompt.h"
#include "scriptedprompt.h"
#include "templedger.h"

class tst_FrmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    // Answers from the script as a modal box would: with an event loop of its own while it is
    // up, noting each time whether the window was on screen.
    std::unique_ptr<HookedPrompt> m_modal;
    QList<bool> m_onScreen;
    std::unique_ptr<frmMain> m_w;
    FrmMainControls ui() const { return FrmMainControls(m_w.get()); }

    // "Today" for the window, so that the fixture's vouchers keep their order on every day.
    static QDate today() { return QDate(2026, 12, 8); }
    static QString day(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

    qint64 storedMaeipCost(const QString &proName)
    {
        SqlStatement st(QStringLiteral("SELECT maeip_cost FROM total WHERE pro_name = :p"));
        st.bind(QStringLiteral("p"), proName);
        auto r = m_db->exec(st);
        return r.query.next() ? r.query.value(0).toLongLong() : -1;
    }
    // Types into a ledger cell as a keyboard does and leaves the editor open.
    void typeIntoCell(int row, int column, const QString &text)
    {
        QApplication::setActiveWindow(m_w.get());
        ui().spList()->setCurrentIndex(m_w->model().index(row, column));
        ui().spList()->setFocus();
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QVERIFY(ui().spList()->isEditing());
    }

    // A started main window on a ledger holding a few vouchers of this month.
    void start()
    {
        m_settings = std::make_unique<AppSettings>();
        m_settings->setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
        m_db = std::make_unique<Database>();
        m_prompt = std::make_unique<ScriptedPrompt>();
        {
            ScriptedPrompt quiet;
        quiet.ok(); // the first-start notice of the new ledger
            Database seedDb;
            const AppPaths paths = InitApp(*m_settings, seedDb, quiet);
            const QString first = QStringLiteral("2026-12-01");
            const QString lastMonth = QStringLiteral("2026-11-15");
            auto add = [&](const QString &name, const QString &sold, const QString &customer) {
                SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                               "maechul_name, maechul_cost, maechul_usecost, group_name) "
                                               "VALUES (:d, :p, 80000, :s, :c, 100000, 5000, '가전')"));
                st.bind(QStringLiteral("d"), first).bind(QStringLiteral("p"), name).bind(QStringLiteral("s"), sold)
                    .bind(QStringLiteral("c"), customer);
                QVERIFY(seedDb.exec(st).ok());
            };
            add(QStringLiteral("이번달TV"), day(today()), QStringLiteral("김철수"));
            add(QStringLiteral("이번달냉장고"), first, QStringLiteral("박영희"));
            add(QStringLiteral("지난달세탁기"), lastMonth, QStringLiteral("김철수"));
            QVERIFY(!paths.gDbFile.isEmpty());
        }
        m_onScreen.clear();
        m_modal = std::make_unique<HookedPrompt>(*m_prompt, [this] {
            m_onScreen << (m_w && m_w->isVisible());
            QEventLoop loop;
            QTimer::singleShot(10, &loop, &QEventLoop::quit);
            loop.exec();
        });
        m_w = std::make_unique<frmMain>(*m_settings, *m_db, *m_modal);
        m_w->setToday(today());
        const auto login = admitLogin();
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
    void damagedLedgerGivesOneBox();
    void defaultQueryShowsThisMonthWithEntryRowLast();
    void clientSearchByEnterIgnoresPeriod();
    void focusingClientBoxEmptiesProductBox();
    void f3EmptiesBothBoxesAndFocusesClientBox();
    void dateButtonsMoveOneDay();
    void chainCopiesIntoTheOtherBox();
    void windowNeverSmallerThan5000Twips();
    void narrowWindowOpensOnTheFirstColumn();
    void stripFitsA1024ScreenAndNamesTakeTheRoom();
    void renamedClientShowsInTheGrid();
    void everyControlHasAnAccessibleName();
    void noticeCheckBoxWritesNoMsgAtOnce();
    void closeBoxFinishesTheOpenEditFirst();
    void searchFinishesTheOpenEditFirst();
    void passwordButtonFinishesTheOpenEditFirst();
    void destroyingWithAFocusedDateBoxRunsNoHandler();
    void altXEndsTheProgramAfterTheRefusal();
    void graphButtonOpensSalesAndShiftClickPurchases();
    void clientPanelsShowBalanceAndOpenTheMoneyWindows();
    void statementKeysAskForASavedSaleFirst();
};

void tst_FrmMain::titleAndDefaultPeriod()
{
    QCOMPARE(m_w->windowTitle(), QStringLiteral("제품매입/판매관리 솔빛셈 Ver.1.0.0"));
    QCOMPARE(ui().spDate(0)->text(), QStringLiteral("2026-12-01"));
    QCOMPARE(ui().spDate(1)->text(), QStringLiteral("2026-12-08"));
    QCOMPARE(ui().cmbGu()->count(), 2);
    QCOMPARE(ui().cmbGu()->itemText(0), QStringLiteral("판매처"));
    QCOMPARE(ui().cmbGu()->itemText(1), QStringLiteral("매입처"));
    QCOMPARE(ui().cmbGroup()->itemText(0), QString());
    QCOMPARE(ui().cmbGroup()->itemText(1), QStringLiteral("가전"));
}

void tst_FrmMain::defaultQueryShowsThisMonthWithEntryRowLast()
{
    LedgerModel &m = m_w->model();
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(m.row(0).proName, QStringLiteral("이번달냉장고"));
    QCOMPARE(m.row(1).proName, QStringLiteral("이번달TV"));
    QCOMPARE(m.entryRow(), 2);
    QCOMPARE(m.data(m.index(2, LedgerModel::ColMaeipDate)).toString(), day(today()));
    QCOMPARE(m.data(m.index(2, LedgerModel::ColMaechulDate)).toString(), day(today()));
    QCOMPARE(ui().spList()->currentIndex(), m.index(2, LedgerModel::ColGroup));
    // 100,000 sale less 5,000 expense less 80,000 purchase.
    QCOMPARE(m.data(m.index(0, LedgerModel::ColMargin)).toString(), QStringLiteral("15,000"));
    QCOMPARE(m.totals().margin, 30000);
    QVERIFY(ui().spList()->isColumnHidden(LedgerModel::ColTotalId));
    QVERIFY(ui().spList()->isColumnHidden(LedgerModel::ColMaeipCode));
    QVERIFY(!ui().spList()->isColumnHidden(LedgerModel::ColMargin));
}

void tst_FrmMain::clientSearchByEnterIgnoresPeriod()
{
    ui().txtCName()->setFocus();
    ui().txtCName()->setText(QStringLiteral("철수"));
    QTest::keyClick(ui().txtCName(), Qt::Key_Return);
    LedgerModel &m = m_w->model();
    QCOMPARE(m.rowCount(), 3);
    QStringList names{m.row(0).proName, m.row(1).proName};
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("이번달TV"), QStringLiteral("지난달세탁기")}));
    QCOMPARE(m_prompt->count(), 0);
}

void tst_FrmMain::focusingClientBoxEmptiesProductBox()
{
    ui().txtCName()->setText(QStringLiteral("김"));
    ui().txtPName()->setText(QStringLiteral("TV"));
    ui().txtPName()->setFocus();
    QTRY_VERIFY(ui().txtPName()->hasFocus());
    QCOMPARE(ui().txtCName()->text(), QStringLiteral("김"));
    ui().txtCName()->setFocus();
    QTRY_VERIFY(ui().txtCName()->hasFocus());
    QCOMPARE(ui().txtPName()->text(), QString());
    QCOMPARE(ui().txtCName()->text(), QStringLiteral("김"));
}

void tst_FrmMain::f3EmptiesBothBoxesAndFocusesClientBox()
{
    ui().txtCName()->setText(QStringLiteral("김"));
    ui().txtPName()->setText(QStringLiteral("TV"));
    ui().spList()->setFocus();
    QTest::keyClick(ui().spList(), Qt::Key_F3);
    QTRY_VERIFY(ui().txtCName()->hasFocus());
    QCOMPARE(ui().txtCName()->text(), QString());
    QCOMPARE(ui().txtPName()->text(), QString());
}

void tst_FrmMain::dateButtonsMoveOneDay()
{
    ui().chkChain()->setChecked(false);
    ui().spDate(0)->setText(QStringLiteral("2024-03-01"));
    ui().spDate(1)->setText(QStringLiteral("2024-03-31"));
    auto *up = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_0_up"));
    auto *down = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_1_down"));
    QVERIFY(up && down);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(ui().spDate(0)->text(), QStringLiteral("2024-02-29"));
    QCOMPARE(ui().spDate(1)->text(), QStringLiteral("2024-03-31"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(ui().spDate(1)->text(), QStringLiteral("2024-04-01"));
    QCOMPARE(ui().spDate(0)->text(), QStringLiteral("2024-02-29"));
}

void tst_FrmMain::chainCopiesIntoTheOtherBox()
{
    ui().spDate(0)->setText(QStringLiteral("2024-03-01"));
    ui().spDate(1)->setText(QStringLiteral("2024-03-31"));
    ui().chkChain()->setChecked(true);
    auto *up = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_0_up"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(ui().spDate(0)->text(), QStringLiteral("2024-02-29"));
    QCOMPARE(ui().spDate(1)->text(), QStringLiteral("2024-02-29"));
    auto *down = m_w->findChild<QToolButton *>(QStringLiteral("udDateCng_1_down"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(ui().spDate(0)->text(), QStringLiteral("2024-03-01"));
    QCOMPARE(ui().spDate(1)->text(), QStringLiteral("2024-03-01"));
    // Changing a date runs no query.
    QCOMPARE(m_w->model().rowCount(), 3);
    QString dates[2] = {QStringLiteral("a"), QStringLiteral("b")};
    m_prompt->ok();
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
    QVERIFY(ui().spList()->geometry().top() > ui().pnlTop()->geometry().bottom());
    QVERIFY(ui().spTotal()->geometry().top() > ui().spList()->geometry().bottom());
    QVERIFY(ui().pnlBottom()->geometry().top() > ui().spTotal()->geometry().bottom());
    QCOMPARE(ui().spList()->width(), ui().pnlTop()->width());
}

void tst_FrmMain::narrowWindowOpensOnTheFirstColumn()
{
    m_w.reset();
    m_db.reset();
    LayoutFile layout(FormIniPath(QStringLiteral("frmMain")));
    QVERIFY(layout.setValue(LayoutIni::positionSection(), QStringLiteral("Width"), QStringLiteral("9000")));
    start();
    const QScrollBar *sideways = ui().spList()->horizontalScrollBar();
    QVERIFY(sideways->maximum() > 0); // the ledger is wider than the window
    QCOMPARE(sideways->value(), 0);
}

void tst_FrmMain::stripFitsA1024ScreenAndNamesTakeTheRoom()
{
    // The search strip's two rows fit a 1024-pixel screen less the window frame.
    QVERIFY2(ui().pnlTop()->minimumSizeHint().width() <= 1010, qPrintable(QString::number(ui().pnlTop()->minimumSizeHint().width())));
    QVERIFY(m_w->width() <= m_w->screen()->availableGeometry().width());
    // An imported group name of four syllables reads whole.
    QVERIFY(m_db->exec(SqlStatement(QStringLiteral("UPDATE total SET group_name = '생활가전'"))).ok());
    m_w->DispList();
    const int g = LedgerModel::ColGroup;
    QVERIFY(ui().spList()->columnWidth(g) > ui().spList()->fontMetrics().horizontalAdvance(QStringLiteral("생활가전")));
    // A wide window: the name columns share the free width, and a width the user set stays.
    const int c = LedgerModel::ColMaechulName;
    m_w->resize(1600, 900);
    QTRY_COMPARE(m_w->width(), 1600);
    int used = 0;
    for (int col = 0; col < LedgerModel::ColumnCount; ++col)
        used += ui().spList()->isColumnHidden(col) ? 0 : ui().spList()->columnWidth(col);
    QVERIFY(qAbs(used - ui().spList()->viewport()->width()) <= 3);
    const int wide = ui().spList()->columnWidth(c);
    ui().spList()->horizontalHeader()->resizeSection(c, 90); // as a border drag
    m_w->resize(1500, 900);
    QTRY_COMPARE(m_w->width(), 1500);
    QCOMPARE(ui().spList()->columnWidth(c), 90);
    QVERIFY(ui().spList()->columnWidth(LedgerModel::ColProName) > wide / 2);
}

void tst_FrmMain::renamedClientShowsInTheGrid()
{
    // The edit window renamed the client in its vouchers as well: the rows shown follow.
    QVERIFY(m_db->exec(SqlStatement(QStringLiteral("UPDATE total SET maechul_code = 3"))).ok());
    m_w->DispList();
    QVERIFY(m_db->exec(SqlStatement(QStringLiteral("UPDATE total SET maechul_name = '새이름' WHERE maechul_code = 3"))).ok());
    m_w->SyncUpdateClient(ClientCode(3), BusiMode::Customer, false);
    QTRY_COMPARE(m_w->model().index(0, LedgerModel::ColMaechulName).data().toString(), QStringLiteral("새이름"));
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
    QCOMPARE(ui().txtPName()->accessibleName(), QStringLiteral("품목명:"));
    // What a screen reader reads: the side box by its label, with its item as the value; the
    // client panels by their captions, with their values.
    QAccessibleInterface *gu = QAccessible::queryAccessibleInterface(ui().cmbGu());
    QCOMPARE(gu->text(QAccessible::Name), QStringLiteral("거래처 구분"));
    QCOMPARE(gu->text(QAccessible::Value), QStringLiteral("판매처"));
    QCOMPARE(gu->childCount(), 1);
    QVERIFY(m_db->exec(SqlStatement(QStringLiteral("INSERT INTO maeip (id, name, tel) VALUES (7, '대한전자', '02-123-4567')"))).ok());
    m_w->entry().editor().DispClientInfo(BusiMode::Supplier, ClientCode(7));
    QAccessibleInterface *tel = QAccessible::queryAccessibleInterface(ui().pnlinfo(1));
    QCOMPARE(tel->text(QAccessible::Name), QStringLiteral("전화번호 :"));
    QCOMPARE(tel->text(QAccessible::Description), QStringLiteral("02-123-4567"));
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

void tst_FrmMain::closeBoxFinishesTheOpenEditFirst()
{
    // The older of the two rows: its change is confirmed, on screen, before the window goes.
    typeIntoCell(0, LedgerModel::ColMaeipCost, QStringLiteral("90000"));
    m_prompt->yes();
    QVERIFY(m_w->close());
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().lines(), QStringLiteral("정말 수정하시겠습니까?\n이전 데이터: 80000"));
    QCOMPARE(storedMaeipCost(QStringLiteral("이번달냉장고")), 90000);
    QVERIFY(!m_w->isVisible());
    QTest::qWait(20);
    QCOMPARE(m_prompt->count(), 1);
}

void tst_FrmMain::searchFinishesTheOpenEditFirst()
{
    typeIntoCell(0, LedgerModel::ColMaeipCost, QStringLiteral("90000"));
    m_prompt->yes();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
    QTRY_COMPARE(storedMaeipCost(QStringLiteral("이번달냉장고")), 90000);
    QTRY_VERIFY(!ui().spList()->isEditing());
    QCOMPARE(m_prompt->count(), 1);
    // The search ran after the write: the refilled grid shows the new value.
    QTRY_COMPARE(m_w->model().row(0).maeipCost, 90000);
    QCOMPARE(ui().spList()->currentIndex(), m_w->model().index(2, LedgerModel::ColGroup));
}

void tst_FrmMain::passwordButtonFinishesTheOpenEditFirst()
{
    typeIntoCell(0, LedgerModel::ColMaeipCost, QStringLiteral("90000"));
    m_prompt->yes();
    qint64 costWhenOpened = -1;
    ModalWatch<frmpass> watch([&](frmpass *w) {
        costWhenOpened = storedMaeipCost(QStringLiteral("이번달냉장고"));
        w->reject();
    });
    ui().btnPasswd()->click();
    QTRY_VERIFY(watch.shown());
    QCOMPARE(costWhenOpened, 90000);
}

void tst_FrmMain::destroyingWithAFocusedDateBoxRunsNoHandler()
{
    QApplication::setActiveWindow(m_w.get());
    ui().spDate(0)->setFocus();
    QTRY_VERIFY(ui().spDate(0)->hasFocus());
    ui().spDate(0)->selectAll();
    QTest::keyClicks(ui().spDate(0), QStringLiteral("abc"));
    m_w.reset();
    QCOMPARE(m_prompt->count(), 0);
}

void tst_FrmMain::altXEndsTheProgramAfterTheRefusal()
{
    // An amount on the entry row before its product: refused, nothing written, then the end.
    typeIntoCell(2, LedgerModel::ColMaeipCost, QStringLiteral("5000"));
    m_prompt->ok();
    QTimer::singleShot(0, m_w.get(), [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().text, QStringLiteral("상품명을 먼저 입력하세요."));
    QCOMPARE(m_onScreen, QList<bool>{true}); // never a box without its window
    QVERIFY(!m_w->isVisible());
    auto r = m_db->exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toInt(), 3);
}

void tst_FrmMain::damagedLedgerGivesOneBox()
{
    const QString file = m_db->path();
    m_w.reset();
    m_db.reset();
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'x'));
    }
    m_db = std::make_unique<Database>();
    m_prompt->clear();
    m_prompt->ok();
    frmMain w(*m_settings, *m_db, *m_prompt);
    const auto login = admitLogin();
    QVERIFY(w.Form_Load());
    QCOMPARE(m_prompt->count(), 1);
    QVERIFY2(m_prompt->last().text.contains(QStringLiteral("file is not a database")), qPrintable(m_prompt->last().text));
    QCOMPARE(QFileInfo(file).size(), 4096); // never touched
}

void tst_FrmMain::graphButtonOpensSalesAndShiftClickPurchases()
{
    const auto shown = [this] {
        QStringList titles;
        for (QWidget *w : m_w->findChildren<FrmTradeGraph *>())
            if (w->isVisible())
                titles << w->windowTitle();
        return titles;
    };
    QTest::mouseClick(ui().btnGraph(), Qt::LeftButton);
    QCOMPARE(shown(), QStringList{QStringLiteral("매출 분석 그래프")});
    QTest::mouseClick(ui().btnGraph(), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(shown(), (QStringList{QStringLiteral("매출 분석 그래프"), QStringLiteral("매입 분석 그래프")}));
    auto *sales = m_w->findChild<FrmTradeGraph *>();
    QCOMPARE(sales->cmbPName->itemText(1), QStringLiteral("이번달TV"));
}

void tst_FrmMain::clientPanelsShowBalanceAndOpenTheMoneyWindows()
{
    // Customer 7 bought for 100,000 and paid 30,000; supplier 3 delivered for 80,000.
    for (const auto &[table, id, name] : {std::tuple{QStringLiteral("maechul"), 7, QStringLiteral("이민호")},
                                          std::tuple{QStringLiteral("maeip"), 3, QStringLiteral("대한전자")}}) {
        SqlStatement st(QStringLiteral("INSERT INTO %1 (id, name, tel, phone, zipcode, address, memo) "
                                       "VALUES (:id, :n, '', '', '', '', '')").arg(table));
        st.bind(QStringLiteral("id"), id).bind(QStringLiteral("n"), name).into(table);
        QVERIFY(m_db->exec(st).ok());
    }
    SqlStatement v(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_code, maeip_name, maeip_cost, "
                                  "maechul_date, maechul_code, maechul_name, maechul_cost, maechul_usecost, group_name) "
                                  "VALUES (:d, '세탁기', 3, '대한전자', 80000, :d, 7, '이민호', 100000, 0, '가전'), "
                                  "(:d, '건조기', 3, '대한전자', 80000, :d, NULL, '현금손님', 90000, 0, '가전')"));
    v.bind(QStringLiteral("d"), day(today()));
    QVERIFY(m_db->exec(v).ok());
    PaymentStore payments(*m_db);
    QVERIFY(payments.insert({0, BusiMode::Customer, 7, day(today()), 30000, QStringLiteral("현금"), {}}).ok());
    m_w->DispList();
    const auto rowOf = [this](const QString &product) {
        for (int r = 0; r < m_w->model().rowCount(); ++r)
            if (m_w->model().row(r).proName == product)
                return r;
        return -1;
    };
    ui().spList()->setCurrentIndex(m_w->model().index(rowOf(QStringLiteral("세탁기")), LedgerModel::ColProName));
    QCOMPARE(ui().pnlBalance(1)->text(), QStringLiteral("미수금 70,000원"));
    QCOMPARE(ui().pnlBalance(0)->text(), QStringLiteral("미지급금 160,000원"));
    QCOMPARE(ui().pnlBalance(1)->accessibleName(), QStringLiteral("잔     액 :"));

    // 입금 opens the payments on the panel's customer; what was paid there shows once it closes.
    AccountClient opened;
    ModalWatch<FrmPayment> pay([&](FrmPayment *w) {
        opened = {w->mode(), w->clientCode()};
        payments.insert({0, BusiMode::Customer, 7, day(today()), 50000, QStringLiteral("현금"), {}});
        w->btnClose->click();
    });
    QTest::mouseClick(ui().btnPayment(1), Qt::LeftButton);
    QVERIFY(pay.shown());
    QCOMPARE(opened.mode, BusiMode::Customer);
    QCOMPARE(opened.code, 7);
    QCOMPARE(ui().pnlBalance(1)->text(), QStringLiteral("미수금 20,000원"));

    // A double-click on the supplier's panel opens their ledger.
    const auto closeLedger = [&](FrmClientLedger *w) {
        opened = {w->mode(), w->clientCode()};
        w->btnClose->click();
    };
    opened = {};
    ModalWatch<FrmClientLedger> ledger(closeLedger);
    QTest::mouseDClick(ui().fraClient(0), Qt::LeftButton);
    QVERIFY(ledger.shown());
    QCOMPARE(opened.mode, BusiMode::Supplier);
    QCOMPARE(opened.code, 3);

    // The 도구 거래처원장 takes the active row's customer, else its supplier.
    QAction *command = nullptr;
    for (QAction *a : ui().mnuTools()->actions())
        if (a->text() == QStringLiteral("거래처원장(&O)"))
            command = a;
    QVERIFY(command);
    ui().spList()->setCurrentIndex(m_w->model().index(rowOf(QStringLiteral("건조기")), LedgerModel::ColProName));
    opened = {};
    ModalWatch<FrmClientLedger> byRow(closeLedger);
    command->trigger();
    QVERIFY(byRow.shown());
    QCOMPARE(opened.mode, BusiMode::Supplier);
    QCOMPARE(opened.code, 3);
}

void tst_FrmMain::statementKeysAskForASavedSaleFirst()
{
    // On the entry row F9 and the day statement say what to choose and print nothing.
    const int entry = m_w->model().rowCount() - 1;
    ui().spList()->clearSelection();
    ui().spList()->setCurrentIndex(m_w->model().index(entry, LedgerModel::ColProName));
    m_prompt->ok();
    QTest::keyClick(ui().spList(), Qt::Key_F9);
    QTRY_COMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().lines(), QStringLiteral("거래명세표로 인쇄할 저장된 행을 먼저 선택하세요."));
    m_prompt->ok();
    printDayStatementOfRow(*m_w, *ui().spList(), m_w->model(), *m_db, *m_prompt, QString());
    QCOMPARE(m_prompt->count(), 2);
    QCOMPARE(m_prompt->last().lines(), QStringLiteral("거래명세표로 인쇄할 판매처와 판매일자가 있는 행을 먼저 선택하세요."));
}

QTEST_MAIN(tst_FrmMain)
#include "tst_frmmain.moc"
