// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QTableView>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "admitlogin.h"
#include "core/data/database.h"
#include "core/ledger/liveledger.h"
#include "core/shell/appfolders.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "core/ledger/checkdate.h"
#include "core/layout/layoutini.h"
#include "core/layout/twips.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/ledger/ledgergrid.h"
#include "gui/ui/formini.h"
#include "gui/ui/spreaddelegate.h"
#include "gui/ui/spreadhelpers.h"
#include "keyboard.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {
// The text each cell was drawn with.
class DrawnTexts final : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (const auto *cell = qstyleoption_cast<const QStyleOptionViewItem *>(option); cell && element == CE_ItemViewItem)
            texts[{cell->index.row(), cell->index.column()}] = cell->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QMap<std::pair<int, int>, QString> texts;
};

void sendMouse(QWidget *to, QEvent::Type type, Qt::MouseButton button, const QPoint &at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}
} // namespace

// The ledger window's grids, date boxes and layout file, on a ledger with two vouchers.
class tst_LedgerGrid final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init();
    void cleanup();
    void designOfBothGrids();
    void totalsFollowEdits();
    void widthIsSavedOnceWhenTheDragEnds();
    void gridMenuFromTheHeaders();
    void figuresTooWideAreNeverCut();
    void sortKeepsEntryRowLast();
    void headerClickFinishesTheEditFirst();
    void otherPcChangesWaitForTheOpenCell();
    void dateBoxesCheckTheirDates();
    void closeSavesOnlyChangedRectangle();

private:
    void start();
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<frmMain> m_w;
    FrmMainControls ui() const { return FrmMainControls(m_w.get()); }
};

void tst_LedgerGrid::init()
{
    TestEnvironment::instance().reset();
    start();
}

void tst_LedgerGrid::cleanup()
{
    m_w.reset();
    m_db.reset();
}

void tst_LedgerGrid::start()
{
    m_settings = std::make_unique<AppSettings>();
    m_settings->setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    m_db = std::make_unique<Database>();
    m_prompt = std::make_unique<ScriptedPrompt>();
    {
        ScriptedPrompt quiet;
        quiet.ok(); // the first-start notice of the new ledger
        Database seedDb;
        InitApp(*m_settings, seedDb, quiet);
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        const auto add = [&](const QString &name, qint64 buy, qint64 sell, qint64 cost) {
            SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, "
                                           "maechul_cost, maechul_usecost) VALUES (:d, :p, :b, :d, :s, :c)"));
            st.bind(QStringLiteral("d"), today).bind(QStringLiteral("p"), name).bind(QStringLiteral("b"), buy)
                .bind(QStringLiteral("s"), sell).bind(QStringLiteral("c"), cost);
            QVERIFY(seedDb.exec(st).ok());
        };
        add(QStringLiteral("세탁기"), 80000, 100000, 5000);
        add(QStringLiteral("TV"), 50000, 70000, 0);
    }
    m_w = std::make_unique<frmMain>(*m_settings, *m_db, *m_prompt);
    const auto login = admitLogin();
    QVERIFY(m_w->Form_Load());
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void tst_LedgerGrid::designOfBothGrids()
{
    QTableView *l = ui().spList();
    QTableView *t = ui().spTotal();
    for (int c = 0; c < LedgerModel::ColumnCount; ++c) {
        QCOMPARE(l->isColumnHidden(c), LedgerModel::isHiddenColumn(c));
        QCOMPARE(t->isColumnHidden(c), l->isColumnHidden(c));
        if (!l->isColumnHidden(c)) {
            QCOMPARE(l->columnWidth(c), GridUnits::charsToPixels(LedgerModel::designWidth(c), l->logicalDpiX()));
            QCOMPARE(t->columnWidth(c), l->columnWidth(c));
        }
    }
    auto *margin = qobject_cast<SpreadDelegate *>(l->itemDelegateForColumn(LedgerModel::ColMargin));
    QVERIFY(margin && margin->isLocked());
    auto *amount = qobject_cast<SpreadDelegate *>(l->itemDelegateForColumn(LedgerModel::ColMaeipCost));
    QVERIFY(amount && amount->isNumber() && amount->maximum() == LedgerModel::AmountLimit);
    QCOMPARE(GetCellText(t, 0, 0), QStringLiteral("[합 계]"));
    QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(t->palette().color(QPalette::Base), QColor(224, 240, 224));
    QCOMPARE(l->palette().color(QPalette::Highlight), QColor(254, 254, 186));
    QCOMPARE(t->verticalHeader()->width(), l->verticalHeader()->width());
    QCOMPARE(ui().spDate(0)->palette().color(QPalette::Text), QColor(0, 0, 255));
    QVERIFY(ui().spDate(0)->font().bold());
}

void tst_LedgerGrid::totalsFollowEdits()
{
    QTableView *t = ui().spTotal();
    QCOMPARE(GetCellText(t, LedgerModel::ColMaeipCost, 0), QStringLiteral("130,000"));
    QCOMPARE(GetCellText(t, LedgerModel::ColMargin, 0), QStringLiteral("35,000"));
    LedgerModel &m = m_w->model();
    int washer = m.row(0).proName == QStringLiteral("세탁기") ? 0 : 1;
    QCOMPARE(GetCellText(ui().spList(), LedgerModel::ColMargin, washer), QStringLiteral("15,000"));
    QVERIFY(m.setData(m.index(washer, LedgerModel::ColMaechulCost), 0)); // unsold: margin 0
    QCOMPARE(GetCellText(ui().spList(), LedgerModel::ColMargin, washer), QStringLiteral("0"));
    QCOMPARE(GetCellText(t, LedgerModel::ColMargin, 0), QStringLiteral("20,000"));
    QCOMPARE(GetCellText(t, LedgerModel::ColMaechulCost, 0), QStringLiteral("70,000"));
    // Leaving the totals grid leaves no current cell there.
    t->setFocus();
    t->setCurrentIndex(t->model()->index(0, LedgerModel::ColMargin));
    ui().spList()->setFocus();
    QTRY_VERIFY(!t->currentIndex().isValid());
}

void tst_LedgerGrid::widthIsSavedOnceWhenTheDragEnds()
{
    QTableView *l = ui().spList();
    QWidget *header = l->horizontalHeader()->viewport();
    const int c = LedgerModel::ColProName;
    const int before = l->columnWidth(c);
    const QPoint border(l->horizontalHeader()->sectionViewportPosition(c) + before - 1, 5);
    const QString path = FormIniPath(QStringLiteral("frmMain"));
    const auto savedWidth = [&]() -> std::optional<int> {
        const auto chars = LayoutFile(path).number(LayoutIni::colsWidthSection(QStringLiteral("spList")), QStringLiteral("3"));
        return chars ? std::optional<int>(GridUnits::charsToPixels(*chars, l->logicalDpiX())) : std::nullopt;
    };
    sendMouse(header, QEvent::MouseButtonPress, Qt::LeftButton, border);
    for (int step = 1; step <= 40; ++step) {
        sendMouse(header, QEvent::MouseMove, Qt::LeftButton, border + QPoint(step, 0));
        QCOMPARE(ui().spTotal()->columnWidth(c), l->columnWidth(c)); // the totals follow every step
    }
    QCOMPARE(l->columnWidth(c), before + 40);
    QVERIFY(!savedWidth()); // nothing written while the border is held
    sendMouse(header, QEvent::MouseButtonRelease, Qt::LeftButton, border + QPoint(40, 0));
    QCOMPARE(savedWidth().value_or(-1), before + 40);
    // A restart shows the user's width.
    m_w.reset();
    start();
    QCOMPARE(ui().spList()->columnWidth(c), before + 40);
    QCOMPARE(ui().spTotal()->columnWidth(c), before + 40);
}

void tst_LedgerGrid::gridMenuFromTheHeaders()
{
    QTableView *l = ui().spList();
    for (QWidget *header : {l->horizontalHeader()->viewport(), l->verticalHeader()->viewport()}) {
        QString opened;
        QTimer::singleShot(50, this, [&opened] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                opened = menu->objectName();
                menu->close();
            }
        });
        QTest::mouseClick(header, Qt::RightButton, {}, QPoint(8, 8));
        QTRY_COMPARE(opened, QStringLiteral("mnuGrid"));
    }
    QCOMPARE(m_prompt->count(), 0);
}

void tst_LedgerGrid::figuresTooWideAreNeverCut()
{
    QTableView *l = ui().spList();
    const int c = LedgerModel::ColMaechulCost;
    const QModelIndex cell = m_w->model().index(0, c);
    QVERIFY(m_w->model().setData(cell, 200000000));
    l->scrollTo(cell); // the window fits the (small) offscreen screen
    DrawnTexts style;
    l->setStyle(&style);
    const auto drawn = [&] {
        style.texts.clear();
        l->viewport()->grab();
        return style.texts.value({0, c});
    };
    QCOMPARE(drawn(), QStringLiteral("200,000,000"));
    // A little too wide: drawn whole in a smaller size.
    l->setColumnWidth(c, l->fontMetrics().horizontalAdvance(QStringLiteral("200,000,000")) * 85 / 100 + 12);
    QCOMPARE(drawn(), QStringLiteral("200,000,000"));
    l->setColumnWidth(c, l->fontMetrics().horizontalAdvance(QStringLiteral("200,000,")));
    const QString narrow = drawn();
    QVERIFY2(!narrow.isEmpty() && narrow.count(QLatin1Char('#')) == narrow.size(), qPrintable(narrow));
    // The whole figure is in the tooltip.
    const QPoint at = l->visualRect(cell).center();
    QHelpEvent tip(QEvent::ToolTip, at, l->viewport()->mapToGlobal(at));
    QApplication::sendEvent(l->viewport(), &tip);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("200,000,000"));
    // A cell the view's edge cuts: the figure in the part that shows, or #.
    l->setColumnWidth(c, 200);
    QStyleOptionViewItem edge;
    edge.initFrom(l->viewport());
    edge.widget = l;
    edge.rect = QRect(l->viewport()->width() - 30, 0, 200, 20);
    QPixmap canvas(l->viewport()->size());
    QPainter painter(&canvas);
    style.texts.clear();
    l->itemDelegateForIndex(cell)->paint(&painter, edge, cell);
    const QString cut = style.texts.value({0, c});
    QVERIFY2(!cut.isEmpty() && cut.count(QLatin1Char('#')) == cut.size(), qPrintable(cut));
    l->setStyle(nullptr);
}

void tst_LedgerGrid::sortKeepsEntryRowLast()
{
    QTableView *l = ui().spList();
    LedgerModel &m = m_w->model();
    QCOMPARE(m.rowCount(), 3);
    QTest::mouseClick(l->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(l->horizontalHeader()->sectionViewportPosition(LedgerModel::ColProName) + 10, 5));
    QCOMPARE(m.row(0).proName, QStringLiteral("TV"));
    QCOMPARE(m.entryRow(), 2);
    QCOMPARE(m.row(2).maeipDate, m_w->DefaultDate());
    QCOMPARE(m.row(2).maechulDate, m_w->DefaultDate());
    QTest::qWait(QApplication::doubleClickInterval() + 50); // two clicks, not a double click
    QTest::mouseClick(l->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(l->horizontalHeader()->sectionViewportPosition(LedgerModel::ColProName) + 10, 5));
    QCOMPARE(m.row(0).proName, QStringLiteral("세탁기"));
    QCOMPARE(m.entryRow(), 2);
    QCOMPARE(GetCellText(ui().spTotal(), LedgerModel::ColMargin, 0), QStringLiteral("35,000"));
    QCOMPARE(l->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
}

void tst_LedgerGrid::headerClickFinishesTheEditFirst()
{
    LedgerModel &m = m_w->model();
    QTableView *l = ui().spList();
    const int last = m.entryRow() - 1; // the last saved row asks no question
    const QString product = m.row(last).proName;
    QApplication::setActiveWindow(m_w.get());
    l->setCurrentIndex(m.index(last, LedgerModel::ColMaeipCost));
    l->setFocus();
    typeText(QStringLiteral("12345"));
    QVERIFY(ui().spList()->isEditing());
    QTest::mouseClick(l->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(l->horizontalHeader()->sectionViewportPosition(LedgerModel::ColProName) + 10, 5));
    SqlStatement st(QStringLiteral("SELECT maeip_cost FROM total WHERE pro_name = :p"));
    auto r = m_db->exec(st.bind(QStringLiteral("p"), product));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 12345);
    const int row = m.row(0).proName == product ? 0 : 1;
    QCOMPARE(m.row(row).maeipCost, 12345); // sorted with the new value
}

// What another PC wrote reaches the grid at once, but the voucher of the open cell keeps what
// the grid holds until its edit is committed.
void tst_LedgerGrid::otherPcChangesWaitForTheOpenCell()
{
    LedgerModel &m = m_w->model();
    LedgerGrid *l = ui().spList();
    QVERIFY(m_w->live());
    const LedgerRow first = m.row(0);
    const LedgerRow edited = m.row(1); // the last saved row asks no question
    QApplication::setActiveWindow(m_w.get());
    l->setCurrentIndex(m.index(1, LedgerModel::ColMaeipCost));
    l->setFocus();
    typeText(QStringLiteral("12345"));
    QVERIFY(l->isEditing());
    QCOMPARE(l->heldVoucher(), edited.totalId);

    Database other;
    QVERIFY(other.open(m_db->path()));
    QVERIFY(other.exec(SqlStatement(QStringLiteral("UPDATE total SET pro_name = 'X' || pro_name"))).ok());
    m_w->live()->noteChange(first.totalId, VoucherChanges::Op::Update);
    m_w->live()->noteChange(edited.totalId, VoucherChanges::Op::Update);
    QTRY_COMPARE(m.row(0).proName, QStringLiteral("X") + first.proName);
    QTest::qWait(200);
    QCOMPARE(m.row(1).proName, edited.proName);
    QVERIFY(l->isEditing());
    QCOMPARE(l->currentIndex(), m.index(1, LedgerModel::ColMaeipCost));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(m.row(1).proName, QStringLiteral("X") + edited.proName);
    QCOMPARE(m.row(1).maeipCost, Q_INT64_C(12345));
    QCOMPARE(m.totals().maeipCost, first.maeipCost + 12345);
    QCOMPARE(m_prompt->count(), 0);
}

void tst_LedgerGrid::dateBoxesCheckTheirDates()
{
    QLineEdit *from = ui().spDate(0);
    const QString before = from->text();
    from->setFocus();
    QTRY_VERIFY(from->hasFocus());
    from->selectAll();
    QTest::keyClicks(from, QStringLiteral("2004-02-30"));
    m_prompt->ok();
    QTest::keyClick(from, Qt::Key_Return);
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().text, dateFormatMessage(QStringLiteral("2004-02-30")));
    QCOMPARE(from->text(), before); // the box keeps its last date
    from->setFocus();
    from->selectAll();
    QTest::keyClicks(from, QStringLiteral("040229"));
    QTest::keyClick(from, Qt::Key_Return);
    QCOMPARE(from->text(), QStringLiteral("2004-02-29"));
    QCOMPARE(m_prompt->count(), 1);
}

void tst_LedgerGrid::closeSavesOnlyChangedRectangle()
{
    const QString path = FormIniPath(QStringLiteral("frmMain"));
    QFile::remove(path);
    m_w->close();
    QVERIFY(!QFile::exists(path)); // nothing moved, nothing written
    m_w.reset();
    start();
    m_w->resize(700, 560); // the offscreen screen is small: stay within it
    QTRY_COMPARE(m_w->size(), QSize(700, 560));
    const QSize size = m_w->size();
    m_w->close();
    const LayoutFile file(path);
    QCOMPARE(file.number(LayoutIni::positionSection(), QStringLiteral("Width")).value_or(-1),
             double(Twips::fromPixels(size.width(), m_w->logicalDpiX())));
    m_w.reset();
    start();
    QCOMPARE(m_w->size(), size);
}

QTEST_MAIN(tst_LedgerGrid)
#include "tst_ledgergrid.moc"
