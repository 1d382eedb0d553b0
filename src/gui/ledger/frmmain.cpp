// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/accounts/accountchanges.h"
#include "core/accounts/balances.h"
#include "core/accounts/payment.h"
#include "core/base/textutil.h"
#include "core/data/database.h"
#include "core/base/userprompt.h"
#include "core/ledger/ledgerselection.h"
#include "core/ledger/liveledger.h"
#include "core/callerid/calleriddesk.h"
#include "core/shell/settingkeys.h"
#include "core/layout/layoutini.h"
#include "core/layout/twips.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/accounts/frmpayment.h"
#include "gui/analysis/frmtradegraph.h"
#include "gui/callerid/frmtelvoxlist.h"
#include "gui/callerid/frmtelvoxstanbylist.h"
#include "gui/masterdata/frmclient_write.h"
#include "gui/masterdata/frmgroup_sel.h"
#include "gui/masterdata/seldata.h"
#include "gui/report/ledgerprinting.h"
#include "gui/shell/frminitmsg.h"
#include "gui/shell/frmpass.h"
#include "gui/shell/frmsplash.h"
#include "gui/ui/accessibility.h"
#include "gui/ui/combohelpers.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/formini.h"
#include "gui/ui/frmfloatmsg.h"
#include "gui/ui/spreadhelpers.h"
#include "ledgerentry.h"
#include "ledgergrid.h"
#include "accountcommands.h"
#include "documentcommands.h"
#include "safetycommands.h"

namespace {

// Long enough to be read; the banner never takes the focus.
constexpr qint16 CaughtUpNoticeMs = 4000;

QLabel *labelFor(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAccessibleName(text);
    return l;
}

const char *const kIndexProperty = "controlIndex";

} // namespace

frmMain::frmMain(AppSettings &settings, Database &db, UserPrompt &prompt, QWidget *parent, VoucherLookups *lookups)
    : QWidget(parent), m_settings(settings), m_db(db), m_prompt(prompt), m_filter(prompt), m_totalsModel(m_model), m_lookups(lookups)
{
    setObjectName(QStringLiteral("frmMain"));
    setAccessibleName(caption());
    installAccessibility();
    m_ledger = std::make_unique<Ledger>(m_db, m_prompt, m_model);
    m_callerId = std::make_unique<CallerIdDesk>(m_settings, m_db, m_prompt, *this);
    m_accountChanges = new AccountChanges(m_db, this);
    buildControls();
    addCallerIdCommands();
    addSafetyCommands(*this, *this, *this, m_settings, m_db, m_prompt);
    addAccountCommands(*this, *this, m_db, m_prompt, [this] { return activeClient(); }, m_accountChanges);
    // Payments and vouchers of other PCs move the shown balances.
    connect(m_accountChanges, &AccountChanges::accountChanged, this, [this] { showBalances(); });
    connect(m_accountChanges, &AccountChanges::vouchersChanged, this, [this] { showBalances(); });
    connect(m_accountChanges, &AccountChanges::reconnected, this, [this] { showBalances(); });
    // And so do this PC's voucher edits, deletions and restorations.
    connect(&m_model, &QAbstractItemModel::dataChanged, this, [this] { showBalances(); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] { showBalances(); });
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, [this] { showBalances(); });
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, [this] { showBalances(); });
    addDocumentCommands(*this, *this, m_db, m_prompt);
    const int minimum = Twips::toPixels(MinimumTwips, logicalDpiX());
    setMinimumSize(minimum, Twips::toPixels(MinimumTwips, logicalDpiY()));
    // The designed size, within the screen (a 1024x768 one keeps room for the title bar).
    const QRect room = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(std::min(1280, room.width()), std::min(800, room.height() - 32));
}

frmMain::~frmMain()
{
    // Deleting the children moves the focus and ends their edits; none of the window's
    // handlers may run on a window that is being destroyed.
    for (QObject *child : findChildren<QObject *>()) {
        disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
}

QString frmMain::caption()
{
    return QStringLiteral("제품매입/판매관리 ") + programTitle() + QStringLiteral(" Ver.")
           + QStringLiteral(SOLBITSEM_VERSION);
}

void frmMain::buildControls()
{
    pnlTop = named(new QWidget(this), QStringLiteral("pnlTop"), QStringLiteral("검색 조건"));
    auto *top = new QVBoxLayout(pnlTop);
    top->setContentsMargins(6, 4, 6, 4);
    top->setSpacing(4);
    // Two rows that fit a 1024-pixel screen: the period, group and caller ID above, the
    // searches and the commands below.
    buildPeriodStrip(top);
    buildSearchStrip(top);
    buildLedgerGrid();
    buildTotals();
    buildClientStrip();

    setTabOrder(spDate[0], spDate[1]);
    setTabOrder(spDate[1], chkChain);
    setTabOrder(chkChain, cmbGroup);
    setTabOrder(cmbGroup, txtPName);
    setTabOrder(txtPName, cmbGu);
    setTabOrder(cmbGu, txtCName);
    setTabOrder(txtCName, chkNoSale);
    setTabOrder(chkNoSale, btnRefresh);

    auto *f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    f3->setContext(Qt::WindowShortcut);
    connect(f3, &QShortcut::activated, this, [this] { runCommand([this] { F3(); }); });
    // One key for the 거래명세표 of the selected rows, as the grid menu's first entry prints it.
    auto *f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    f9->setContext(Qt::WindowShortcut);
    connect(f9, &QShortcut::activated, this,
            [this] { runCommand([this] { printStatementOfSelection(*this, *spList, m_model, m_db, m_prompt, m_paths.gRptPath); }); });
}

void frmMain::buildPeriodStrip(QVBoxLayout *top)
{
    auto *filters = new QHBoxLayout;
    filters->setSpacing(4);
    top->addLayout(filters);

    filters->addWidget(labelFor(QStringLiteral("검색기간:"), pnlTop));
    const QString dateNames[2] = {QStringLiteral("검색기간 시작일"), QStringLiteral("검색기간 종료일")};
    for (int i = 0; i < 2; ++i) {
        spDate[i] = named(new QLineEdit(pnlTop), QStringLiteral("spDate_%1").arg(i), dateNames[i]);
        QFont f = spDate[i]->font();
        f.setBold(true);
        f.setPointSize(10);
        spDate[i]->setFont(f);
        spDate[i]->setFixedWidth(spDate[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 14);
        spDate[i]->setProperty(kIndexProperty, i);
        spDate[i]->installEventFilter(this);
        connect(spDate[i], &QLineEdit::textChanged, this, [this, i](const QString &text) { m_filter.setDate(i, text); });
        connect(spDate[i], &QLineEdit::editingFinished, this, [this, i] { spDate_Commit(i); });
        filters->addWidget(spDate[i]);

        udDateCng[i] = named(new QWidget(pnlTop), QStringLiteral("udDateCng_%1").arg(i),
                             dateNames[i] + QStringLiteral(" 하루 이동"));
        auto *ud = new QVBoxLayout(udDateCng[i]);
        ud->setContentsMargins(0, 0, 0, 0);
        ud->setSpacing(0);
        auto *up = named(new QToolButton(udDateCng[i]), QStringLiteral("udDateCng_%1_up").arg(i),
                         QStringLiteral("하루 전"));
        up->setArrowType(Qt::UpArrow);
        up->setFixedSize(18, 11);
        auto *down = named(new QToolButton(udDateCng[i]), QStringLiteral("udDateCng_%1_down").arg(i),
                           QStringLiteral("하루 후"));
        down->setArrowType(Qt::DownArrow);
        down->setFixedSize(18, 11);
        ud->addWidget(up);
        ud->addWidget(down);
        connect(up, &QToolButton::clicked, this, [this, i] { udDateCng_Change(i, -1); });
        connect(down, &QToolButton::clicked, this, [this, i] { udDateCng_Change(i, +1); });
        filters->addWidget(udDateCng[i]);

        btnMonthView[i] = named(new QToolButton(pnlTop), QStringLiteral("btnMonthView_%1").arg(i),
                                dateNames[i] + QStringLiteral(" 달력"));
        btnMonthView[i]->setText(QStringLiteral("▼"));
        btnMonthView[i]->setToolTip(QStringLiteral("달력"));
        connect(btnMonthView[i], &QToolButton::clicked, this, [this, i] { btnMonthView_Click(i); });
        filters->addWidget(btnMonthView[i]);
        if (i == 0)
            filters->addWidget(labelFor(QStringLiteral("~"), pnlTop));
    }
    chkChain = named(new QCheckBox(QStringLiteral("양쪽 날짜 동시에 변경"), pnlTop), QStringLiteral("chkChain"),
                     QStringLiteral("양쪽 날짜 동시에 변경"));
    connect(chkChain, &QCheckBox::toggled, this, [this](bool on) { m_filter.setChained(on); });
    filters->addWidget(chkChain);
    filters->addSpacing(10);

    filters->addWidget(labelFor(QStringLiteral("그룹:"), pnlTop));
    cmbGroup = named(new QComboBox(pnlTop), QStringLiteral("cmbGroup"), QStringLiteral("그룹:"));
    cmbGroup->setMinimumWidth(110);
    cmbGroup->installEventFilter(this);
    CmbFollowListEnter(cmbGroup);
    connect(cmbGroup, &QComboBox::currentTextChanged, this, [this](const QString &text) { m_filter.setGroup(text); });
    filters->addWidget(cmbGroup);

    filters->addStretch(1);
    buildCallerIdControls(filters);
}

void frmMain::buildSearchStrip(QVBoxLayout *top)
{
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    top->addLayout(buttons);
    buttons->addWidget(labelFor(QStringLiteral("품목명:"), pnlTop));
    txtPName = named(new QLineEdit(pnlTop), QStringLiteral("txtPName"), QStringLiteral("품목명:"));
    txtPName->setMinimumWidth(120);
    txtPName->setMaxLength(VoucherFilter::MaxSearchLength);
    txtPName->installEventFilter(this);
    connect(txtPName, &QLineEdit::textChanged, this, [this](const QString &text) { m_filter.setProductName(text); });
    buttons->addWidget(txtPName);

    cmbGu = named(new QComboBox(pnlTop), QStringLiteral("cmbGu"), QStringLiteral("거래처 구분"));
    connect(cmbGu, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_filter.setClientSide(VoucherFilter::sideOfCmbGu(index));
    });
    buttons->addWidget(cmbGu);
    txtCName = named(new QLineEdit(pnlTop), QStringLiteral("txtCName"), QStringLiteral("거래처명"));
    txtCName->setMinimumWidth(110);
    txtCName->setMaxLength(VoucherFilter::MaxSearchLength);
    txtCName->installEventFilter(this);
    connect(txtCName, &QLineEdit::textChanged, this, [this](const QString &text) { m_filter.setClientName(text); });
    buttons->addWidget(txtCName);
    chkNoSale = named(new QCheckBox(QStringLiteral("미판매"), pnlTop), QStringLiteral("chkNoSale"),
                      QStringLiteral("미판매"));
    connect(chkNoSale, &QCheckBox::toggled, this, [this](bool on) { m_filter.setNoSale(on); });
    buttons->addWidget(chkNoSale);
    connect(&m_filter, &LedgerFilter::changed, this, &frmMain::showFilter);
    buttons->addStretch(1);
    const auto button = [this, buttons](QPushButton *&b, const QString &name, const QString &text) {
        b = named(new QPushButton(text, pnlTop), name, QString(text).remove(QLatin1Char('&')));
        b->setMinimumWidth(84);
        buttons->addWidget(b);
    };
    button(btnRefresh, QStringLiteral("btnRefresh"), QStringLiteral("검색(&F)"));
    button(btnGraph, QStringLiteral("btnGraph"), QStringLiteral("그래프(&G)"));
    button(btnPasswd, QStringLiteral("btnPasswd"), QStringLiteral("암호설정(&W)"));
    button(btnPrint, QStringLiteral("btnPrint"), QStringLiteral("인  쇄(&P)"));
    button(btnTools, QStringLiteral("btnTools"), QStringLiteral("도  구(&T)"));
    // Commands beyond the ledger's own buttons (backups, caller-ID windows, export…) hang here,
    // so the strip keeps its buttons and a shop user finds the rest in one place.
    mnuTools = new QMenu(btnTools);
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuTools->setAccessibleName(QStringLiteral("도구"));
    btnTools->setMenu(mnuTools);
    button(btnExit, QStringLiteral("btnExit"), QStringLiteral("종  료(&X)"));
    connectCommand(btnRefresh, [this] { DispList(); });
    connectCommand(btnGraph, [this] { btnGraph_Click(); });
    FrmTradeGraph::offerBothModes(btnGraph, [this](quint8 gubun) {
        runCommand([this, gubun] { FrmTradeGraph::open(this, m_db, m_prompt, gubun); });
    });
    addToolCommand(QStringLiteral("매입 분석 그래프(&B)"),
                   [this] { FrmTradeGraph::open(this, m_db, m_prompt, 0); });
    // Where a long group name of an older ledger is shortened; the vouchers follow the rename.
    addToolCommand(QStringLiteral("그룹 이름(&G)"), [this] {
        FrmGroup_sel w(m_db, m_prompt, this);
        w.FindRecords(QString());
        w.exec();
        FillGroupCombo();
        DispList();
    });
    connectCommand(btnPasswd, [this] { btnPasswd_Click(); });
    connectCommand(btnPrint, [this] { btnPrint_Click(); });
    // Closing ends the open edit itself (closeEvent), whichever way the window is closed.
    connect(btnExit, &QPushButton::clicked, this, &QWidget::close);
}

void frmMain::buildLedgerGrid()
{
    spList = named(new LedgerGrid(this), QStringLiteral("spList"), QStringLiteral("장부"));
    spList->setModel(&m_model);
    for (int c = 0; c < LedgerModel::ColumnCount; ++c)
        spList->setColumnHidden(c, LedgerModel::isHiddenColumn(c));
    spList->verticalHeader()->setDefaultSectionSize(22);
    // The designed widths; the user's own come from the layout file.
    for (int c = 0; c < LedgerModel::ColumnCount; ++c)
        if (LedgerModel::designWidth(c) > 0)
            setGridColumnWidth(spList, c, LedgerModel::designWidth(c));
    // The grid menu opens over the cells and over the headers.
    spList->viewport()->installEventFilter(this);
    spList->horizontalHeader()->viewport()->installEventFilter(this);
    spList->verticalHeader()->viewport()->installEventFilter(this);
}

void frmMain::buildTotals()
{
    spTotal = named(new QTableView(this), QStringLiteral("spTotal"), QStringLiteral("합계"));
    spTotal->setModel(&m_totalsModel);
    spTotal->horizontalHeader()->hide();
    spTotal->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    spTotal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    spTotal->setFixedHeight(26);
    spTotal->verticalHeader()->setDefaultSectionSize(24);
    // The totals follow the ledger's column widths (a user's change is saved when the border is
    // let go) and its horizontal scrolling.
    connect(spList->horizontalHeader(), &QHeaderView::sectionResized, this, &frmMain::spList_ColWidthChange);
    connect(spList->horizontalScrollBar(), &QScrollBar::valueChanged, spTotal->horizontalScrollBar(),
            &QScrollBar::setValue);
}

void frmMain::buildClientStrip()
{
    pnlBottom = named(new QWidget(this), QStringLiteral("pnlBottom"), QStringLiteral("거래처 정보"));
    auto *bottom = new QGridLayout(pnlBottom);
    bottom->setContentsMargins(4, 2, 4, 2);
    bottom->setHorizontalSpacing(6);
    bottom->setVerticalSpacing(2);
    bottom->addWidget(buildClientPanel(0, pnlinfo), 0, 0);
    bottom->addWidget(buildClientPanel(1, pnlinfo2), 0, 1);
    auto *salesRow = new QHBoxLayout;
    salesRow->addWidget(labelFor(QStringLiteral("제     품 :"), pnlBottom));
    pnlinfoSales = named(new QLabel(pnlBottom), QStringLiteral("pnlinfoSales"), QStringLiteral("제     품 :"));
    pnlinfoSales->setFrameShape(QFrame::StyledPanel);
    pnlinfoSales->setFrameShadow(QFrame::Sunken);
    pnlinfoSales->setMinimumHeight(22);
    salesRow->addWidget(pnlinfoSales, 1);
    bottom->addLayout(salesRow, 1, 0, 1, 2);
    pnlBottom->setFixedHeight(pnlBottom->sizeHint().height());

    // Receivers of codes, never typed into.
    for (int i = 0; i < 2; ++i) {
        txtCurClient[i] = named(new QLineEdit(this), QStringLiteral("txtCurClient_%1").arg(i),
                                i == 0 ? QStringLiteral("매입처 코드") : QStringLiteral("매출처 코드"));
        txtCurClient[i]->hide();
        connect(txtCurClient[i], &QLineEdit::textChanged, this, [this, i] { showBalance(i); });
    }
}

QWidget *frmMain::buildClientPanel(int side, QLabel *values[6])
{
    auto *box = named(new QGroupBox(side == 0 ? QStringLiteral("매입처정보") : QStringLiteral("매출처정보"), pnlBottom),
                      side == 0 ? QStringLiteral("fraMaeip") : QStringLiteral("fraMaechul"),
                      side == 0 ? QStringLiteral("매입처정보") : QStringLiteral("매출처정보"));
    auto *g = new QGridLayout(box);
    g->setContentsMargins(6, 2, 6, 4);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(2);
    const QString labels[6] = {QStringLiteral("상     호 :"), QStringLiteral("전화번호 :"), QStringLiteral("우     편 :"),
                               QStringLiteral("휴대전화 :"), QStringLiteral("주     소 :"), QStringLiteral("메     모 :")};
    // Name, telephone and postcode on the left, mobile, address and note on the right.
    for (int i = 0; i < 6; ++i) {
        const int row = i % 3;
        const int col = (i / 3) * 2;
        g->addWidget(labelFor(labels[i], box), row, col);
        values[i] = named(new QLabel(box), QStringLiteral("%1_%2").arg(side == 0 ? QStringLiteral("pnlinfo") : QStringLiteral("pnlinfo2")).arg(i),
                          labels[i]);
        values[i]->setFrameShape(QFrame::StyledPanel);
        values[i]->setFrameShadow(QFrame::Sunken);
        values[i]->setMinimumHeight(20);
        g->addWidget(values[i], row, col + 1);
    }
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 2);
    btnClientEdit[side] = named(new QPushButton(QStringLiteral("수정"), box),
                                QStringLiteral("btnClientEdit_%1").arg(side),
                                side == 0 ? QStringLiteral("매입처 수정") : QStringLiteral("매출처 수정"));
    g->addWidget(btnClientEdit[side], 0, 4, 3, 1);

    const QString sideName = side == 0 ? QStringLiteral("매입처") : QStringLiteral("매출처");
    const QString balanceLabel = QStringLiteral("잔     액 :");
    g->addWidget(labelFor(balanceLabel, box), 3, 0);
    pnlBalance[side] = named(new QLabel(box), QStringLiteral("pnlBalance_%1").arg(side), balanceLabel);
    pnlBalance[side]->setFrameShape(QFrame::StyledPanel);
    pnlBalance[side]->setFrameShadow(QFrame::Sunken);
    pnlBalance[side]->setMinimumHeight(20);
    g->addWidget(pnlBalance[side], 3, 1);
    const QString payText = side == 0 ? QStringLiteral("지급") : QStringLiteral("입금");
    btnPayment[side] = named(new QPushButton(payText, box), QStringLiteral("btnPayment_%1").arg(side),
                             sideName + QLatin1Char(' ') + payText);
    btnClientLedger[side] = named(new QPushButton(QStringLiteral("원장"), box),
                                  QStringLiteral("btnClientLedger_%1").arg(side), sideName + QStringLiteral(" 원장"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPayment[side]);
    buttons->addWidget(btnClientLedger[side]);
    g->addLayout(buttons, 3, 2, 1, 3);
    connectCommand(btnPayment[side], [this, side] { btnPayment_Click(side); });
    connectCommand(btnClientLedger[side], [this, side] { btnClientLedger_Click(side); });
    // A double-click on the panel opens the client's ledger, as the 원장 button does.
    box->installEventFilter(this);
    fraClient[side] = box;
    return box;
}

void frmMain::showBalance(int side)
{
    const qint64 code = txtCurClient[side]->text().toLongLong();
    QString text;
    if (code > 0 && m_db.isOpen()) {
        const BusiMode mode = side == 0 ? BusiMode::Supplier : BusiMode::Customer;
        // An unreadable balance is left blank: asking at every row change would stop the work.
        if (const auto balance = Balances::balanceAt(m_db, mode, code, today().toString(QStringLiteral("yyyy-MM-dd"))))
            text = PaymentRules::balanceText(mode, *balance);
    }
    LedgerEntry::setPanelText(pnlBalance[side], text);
}

void frmMain::showBalances()
{
    showBalance(0);
    showBalance(1);
}

void frmMain::btnPayment_Click(int side)
{
    const qint64 code = txtCurClient[side]->text().toLongLong();
    openPayments(this, m_db, m_prompt, m_paths.gPostFile, side == 0 ? BusiMode::Supplier : BusiMode::Customer, code,
                 m_accountChanges);
    showBalances();
}

void frmMain::btnClientLedger_Click(int side)
{
    const qint64 code = txtCurClient[side]->text().toLongLong();
    openClientLedger(this, m_db, m_prompt, m_paths.gPostFile, m_paths.gRptPath,
                     side == 0 ? BusiMode::Supplier : BusiMode::Customer, code, m_accountChanges);
    showBalances();
}

AccountClient frmMain::activeClient() const
{
    const int row = spList->currentIndex().row();
    if (row >= 0 && row < m_model.rowCount()) {
        const LedgerRow &r = m_model.row(row);
        if (r.maechulCode.isValid())
            return {BusiMode::Customer, r.maechulCode.value()};
        if (r.maeipCode.isValid())
            return {BusiMode::Supplier, r.maeipCode.value()};
    }
    return {};
}

bool frmMain::Form_Load()
{
    return StartupSequence(m_settings, m_db, m_prompt).run(*this);
}

void frmMain::setCaption()
{
    setWindowTitle(caption());
}

void frmMain::ledgerOpened(const AppPaths &paths)
{
    m_paths = paths;
    if (!m_lookups) {
        m_ownLookups = std::make_unique<SelData>(m_db, m_prompt, m_paths.gPostFile, this);
        m_lookups = m_ownLookups.get();
    }
    LedgerEntry::Controls controls;
    controls.window = this;
    controls.grid = spList;
    controls.clientAnchor = pnlTop;
    for (std::size_t i = 0; i < 6; ++i) {
        controls.panels[0][i] = pnlinfo[i];
        controls.panels[1][i] = pnlinfo2[i];
    }
    for (std::size_t side = 0; side < 2; ++side) {
        controls.codes[side] = txtCurClient[side];
        controls.editButtons[side] = btnClientEdit[side];
    }
    controls.connectCommand = [this](QAbstractButton *button, std::function<void()> command) {
        connectCommand(button, std::move(command));
    };
    m_entry = std::make_unique<LedgerEntry>(controls, m_model, *m_ledger, m_db, m_prompt, *m_lookups);
    // On a server the grid follows other PCs' writes; the selection and the current cell stay
    // with their rows, an open edit is left alone until it ends.
    m_live = std::make_unique<LiveLedger>(m_db, *m_ledger, m_model);
    m_live->setGuard(spList);
    m_live->start();
    m_accountChanges->listen();
    // A connection that came back after a loss: the grid was read again, and the user is told.
    connect(m_live.get(), &LiveLedger::caughtUp, this,
            [this] { ShowFloatMsg(LiveLedger::caughtUpText(), CaughtUpNoticeMs, 0, FloatMsgCyan, this); });
    m_entry->setClientEditOpener([this](BusiMode side, ClientCode code) {
        FrmClient_write edit(m_db, m_prompt, m_paths.gPostFile, this);
        edit.setAddEditMode(ClientEditor::EditMode::Edit);
        edit.setBusiMode(side);
        edit.setCCode(code);
        edit.setCallForm(
            [this](ClientCode nCode, BusiMode nBusiMode, bool bAdd) { SyncUpdateClient(nCode, nBusiMode, bAdd); });
        // The code boxes are not shown, so the window opens over the client's panel.
        PlaceForm(&edit, btnClientEdit[toInt(side)]->parentWidget(), FormRules::AlignLeft, FormRules::Above);
        edit.exec();
    });
}

void frmMain::applyLayout()
{
    LoadFormIni();
    m_loadRect = QRect(Twips::fromPixels(x()), Twips::fromPixels(y()), Twips::fromPixels(width()),
                       Twips::fromPixels(height()));
}

void frmMain::prepareControls()
{
    prepareCallerId();
    txtCurClient[0]->clear();
    txtCurClient[1]->clear();
    cmbGu->clear();
    cmbGu->addItems({QStringLiteral("판매처"), QStringLiteral("매입처")});
    cmbGu->setCurrentIndex(0);
    m_ledger->setDefaultDate(today().toString(QStringLiteral("yyyy-MM-dd")));
    if (m_today.isValid())
        m_entry->editor().setToday(m_today);
    FirstActivate = true;
}

void frmMain::showNotice()
{
    FrmInitMsg notice(m_settings, m_paths, this);
    notice.exec();
}

void frmMain::InitListGrid()
{
    {
        const QDate day = today();
        const QSignalBlocker from(spDate[0]);
        const QSignalBlocker to(spDate[1]);
        InitDateBox(spDate[0], false, day);
        InitDateBox(spDate[1], false, day);
    }
    m_filter.resetPeriod();

    CommonSpreadDesign(spList, SpreadOption::ClearRows | SpreadOption::HeaderSort | SpreadOption::RowMode
                                   | SpreadOption::Alternating);
    LockCol(spList, LedgerModel::ColMargin, false);
    SetColBackColor(spList, LedgerModel::ColMargin, SpreadColors::totalsBack());
    for (int c = 0; c < LedgerModel::ColumnCount; ++c) {
        spList->setColumnHidden(c, LedgerModel::isHiddenColumn(c));
        if (LedgerModel::isAmountColumn(c))
            SetNumberCol(spList, c, -LedgerModel::AmountLimit, LedgerModel::AmountLimit);
    }
    InitTotalGrid(spTotal, spList);
    for (int c : {LedgerModel::ColMaeipCost, LedgerModel::ColMaechulCost, LedgerModel::ColUsecost, LedgerModel::ColMargin})
        SetMoneyCol(spTotal, c, false);
}

void frmMain::showPeriod(const QDate &from, const QDate &to)
{
    m_filter.setPeriod(from, to);
}

void frmMain::spList_ColWidthChange(int column, int, int size)
{
    spTotal->setColumnWidth(column, size);
    if (!spList->isVisible() || m_applyingLayout)
        return;
    markUserSized(spList, column);
    // A border drag changes the width at every mouse step: it is written once, when let go.
    if (!m_changedWidths.contains(column))
        m_changedWidths.append(column);
    if (!m_headerPressed)
        saveChangedWidths();
}

void frmMain::saveChangedWidths()
{
    for (int column : std::as_const(m_changedWidths))
        SaveSpreadIni_Col(this, spList, column, m_formIniDir);
    m_changedWidths.clear();
}

void frmMain::DispList()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    spList->setUpdatesEnabled(false);
    const bool ok = m_ledger->DispList(m_filter.voucherFilter());
    spList->setUpdatesEnabled(true);
    if (ok) {
        fitColumns();
        const QModelIndex entry = m_model.index(m_model.entryRow(), LedgerModel::ColGroup);
        spList->setCurrentIndex(entry);
        if (spList->isVisible()) {
            spList->scrollTo(entry);
            spList->setFocus();
        } else {
            // Before the window is shown the grid has no size of its own: a sideways scroll made
            // then would hide the first column of a window narrower than the ledger.
            spList->scrollToBottom();
        }
    }
    QApplication::restoreOverrideCursor();
}

void frmMain::FillGroupCombo()
{
    cmbGroup->clear();
    cmbGroup->addItems(m_ledger->FillGroupCombo());
    cmbGroup->setCurrentIndex(0);
}

void frmMain::showFilter()
{
    const auto show = [](QLineEdit *box, const QString &text) {
        if (box->text() == text)
            return;
        const QSignalBlocker hold(box);
        if (text.isEmpty())
            box->clear(); // as the user's own clearing: it can be undone
        else
            box->setText(text);
    };
    show(spDate[0], m_filter.date(0));
    show(spDate[1], m_filter.date(1));
    show(txtPName, m_filter.productName());
    show(txtCName, m_filter.clientName());
}

void frmMain::spDate_Commit(int index)
{
    // A search date matters only to a window on screen: closing leaves no box behind it.
    if (isVisible())
        m_filter.commitDate(index);
}

void frmMain::udDateCng_Change(int index, int days)
{
    m_filter.shiftDay(index, days);
}

void frmMain::btnMonthView_Click(int index)
{
    m_filter.pickDate(index, spDate[index]);
    spDate[index]->setFocus();
}

void frmMain::runCommand(const std::function<void()> &command)
{
    if (spList->finishEdit())
        command();
}

void frmMain::connectCommand(QAbstractButton *button, std::function<void()> command)
{
    connect(button, &QAbstractButton::clicked, this, [this, command = std::move(command)] { runCommand(command); });
}

QAction *frmMain::addToolCommand(const QString &text, std::function<void()> command)
{
    QAction *action = mnuTools->addAction(text);
    // Any of its windows may move the shown balances (payments, restored vouchers, a restore).
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        runCommand([this, &command] {
            command();
            showBalances();
        });
    });
    return action;
}

void frmMain::showGridMenu(const QPoint &globalPos)
{
    const int item = GridMenuChoice(this, globalPos, {statementMenuItem(), dayStatementMenuItem()});
    if (item == GridMenu::Extra)
        runCommand([this] { printStatementOfSelection(*this, *spList, m_model, m_db, m_prompt, m_paths.gRptPath); });
    else if (item == GridMenu::Extra + 1)
        runCommand([this] { printDayStatementOfRow(*this, *spList, m_model, m_db, m_prompt, m_paths.gRptPath); });
    else
        RunGridMenuItem(item, this, spList, m_prompt, m_formIniDir);
}

void frmMain::F3()
{
    txtCName->setFocus();
    m_filter.clearSearches();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // The grid's own room is known once its viewport has its size.
    if (spList && watched == spList->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    if (event->type() == QEvent::MouseButtonDblClick && (watched == fraClient[0] || watched == fraClient[1])) {
        const int side = watched == fraClient[0] ? 0 : 1;
        runCommand([this, side] { btnClientLedger_Click(side); });
        return true;
    }
    if (watched == txtTelvoxList) {
        if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            txtTelvoxList->hide();
        else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            btnTelvoxList->setFocus();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtCName) {
            m_filter.beginClientSearch();
            SelectAllText(txtCName);
        } else if (watched == txtPName) {
            SelectAllText(txtPName);
        } else if (watched == spDate[0] || watched == spDate[1]) {
            SelectAllText(static_cast<QWidget *>(watched));
        } else if (watched == cmbGroup && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            CmbShowList(cmbGroup);
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == txtCName || watched == txtPName) {
            if (enter) {
                runCommand([this] { DispList(); });
                return true;
            }
            if ((key == Qt::Key_Down || key == Qt::Key_Up) && KeyToTab(key, static_cast<QWidget *>(watched)))
                return true;
        } else if (watched == cmbGroup) {
            if (CmbKeyMove(key, cmbGroup))
                return true;
        } else if (watched == spDate[0] || watched == spDate[1]) {
            if (enter) {
                spDate_Commit(watched == spDate[0] ? 0 : 1);
                KeyToTab(key, static_cast<QWidget *>(watched));
                return true;
            }
        }
    } else if (!spList) {
        // still being built
    } else if (event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton
               && (watched == spList->viewport() || watched == spList->horizontalHeader()->viewport()
                   || watched == spList->verticalHeader()->viewport())) {
        const QPoint at = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        runCommand([this, at] { showGridMenu(at); });
        return true;
    } else if (watched == spList->horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_headerPressed = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_headerPressed = false;
            saveChangedWidths();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmMain::layoutControls()
{
    if (isMinimized())
        return;
    const int gap = Twips::toPixels(30, logicalDpiY());
    const int w = width();
    const int h = height();
    pnlTop->setGeometry(0, 0, w, pnlTop->sizeHint().height());
    const int listTop = pnlTop->height() + gap;
    const int listHeight = std::max(0, h - listTop - pnlBottom->height() - spTotal->height()
                                           - Twips::toPixels(90, logicalDpiY()));
    spList->setGeometry(0, listTop, w, listHeight);
    spTotal->setGeometry(0, listTop + listHeight + gap, w, spTotal->height());
    // The group list drops as tall as the ledger grid.
    CmbSetSize(cmbGroup, Twips::fromPixels(cmbGroup->width(), logicalDpiX()),
               Twips::fromPixels(spList->height(), logicalDpiY()));
    pnlBottom->setGeometry(0, spTotal->y() + spTotal->height() + gap, w, pnlBottom->height());
}

void frmMain::fitColumns()
{
    // The group column is as wide as its longest shown name (an imported one may have four
    // syllables), and a wide window gives its free width to the name columns, which hold the
    // longest texts, in the proportion of their designed widths. A width the user set (in the
    // layout file, or by dragging a border) stays as it is.
    const QList<int> userSized = userSizedColumns(spList);
    const QScopedValueRollback applying(m_applyingLayout, true);
    if (const int g = LedgerModel::ColGroup; !userSized.contains(g)) {
        setGridColumnWidth(spList, g, LedgerModel::designWidth(g));
        const int wanted = std::min(ColumnTextWidth(spList, g), 3 * spList->columnWidth(g));
        if (wanted > spList->columnWidth(g))
            spList->setColumnWidth(g, wanted);
    }
    QList<int> flexible;
    int fixed = 0;
    for (int c = 0; c < LedgerModel::ColumnCount; ++c) {
        if (spList->isColumnHidden(c))
            continue;
        const bool name = c == LedgerModel::ColProName || c == LedgerModel::ColMaeipName || c == LedgerModel::ColMaechulName;
        if (name && !userSized.contains(c))
            flexible << c;
        else
            fixed += spList->columnWidth(c);
    }
    QList<int> designed;
    int designedTotal = 0;
    for (int c : std::as_const(flexible)) {
        setGridColumnWidth(spList, c, LedgerModel::designWidth(c));
        designed << spList->columnWidth(c);
        designedTotal += designed.last();
    }
    const int extra = std::max(0, spList->viewport()->width() - fixed - designedTotal);
    for (int i = 0; i < flexible.size() && designedTotal > 0; ++i)
        spList->setColumnWidth(flexible[i], designed[i] + extra * designed[i] / designedTotal);
}

bool frmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && FirstActivate)
        onFirstActivate();
    return QWidget::event(event);
}

void frmMain::onFirstActivate()
{
    FirstActivate = false;
    OpenTelvox();
    spList->setFocus();
    // No portable call switches an input method to Hangul; the user's input method keeps its mode.
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The cell being typed is finished first, on screen, as leaving it would; while a commit
    // is still asking its question the window stays.
    if (!spList->finishEdit()) {
        event->ignore();
        return;
    }
    saveChangedWidths(); // a drag whose release never arrived
    const QRect now(Twips::fromPixels(x()), Twips::fromPixels(y()), Twips::fromPixels(width()),
                    Twips::fromPixels(height()));
    if (now != m_loadRect)
        SaveFormIni();
    CloseTelvox();
    if (m_stanbyList)
        m_stanbyList->unload();
    if (m_telvoxList)
        m_telvoxList->hide();
    event->accept();
    // Closing the ledger ends the program, whatever other window is still open. Queued: the
    // window is hidden by then.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool frmMain::runLogin()
{
    // The caller-ID switch is applied from the login's load.
    // Without a parent: a child would make the hidden main window's native window before its
    // saved layout is applied.
    frmSplash login(m_db, m_settings, m_prompt, [this] { ApplyTelvoxUse(); });
    login.Form_Load();
    return login.exec() == QDialog::Accepted;
}

void frmMain::SyncUpdateClient(ClientCode nCode, BusiMode nBusiMode, bool bAdd)
{
    if (m_entry)
        m_entry->editor().SyncUpdateClient(nCode, nBusiMode, bAdd);
    // The edit window may have renamed the client in its vouchers too: the rows shown are read
    // again, so that the grid shows what the ledger holds (unchanged where the user said no).
    if (!m_live)
        return;
    const int codeColumn = nBusiMode == BusiMode::Supplier ? LedgerModel::ColMaeipCode : LedgerModel::ColMaechulCode;
    for (int r = 0; r < m_model.rowCount(); ++r) {
        const qint64 id = m_model.row(r).totalId;
        if (id > 0 && ClientCode::fromVariant(m_model.index(r, codeColumn).data(Qt::EditRole)) == nCode)
            m_live->noteChange(id, VoucherChanges::Op::Update);
    }
}
void frmMain::LoadFormIni()
{
    m_applyingLayout = true;
    ::LoadFormIni(this, m_formIniDir);
    m_applyingLayout = false;
}

void frmMain::SaveFormIni() { ::SaveFormIni(this, m_formIniDir); }

// Sales; Shift+click opens the purchase window.
void frmMain::btnGraph_Click() { FrmTradeGraph::open(this, m_db, m_prompt, FrmTradeGraph::clickedMode()); }
void frmMain::btnPasswd_Click()
{
    frmpass window(m_db, m_prompt, this);
    window.exec();
}
// The shown vouchers in the grid's order (the entry row aside), under the period or search of
// the last query: the strip may have been changed since without a search.
void frmMain::btnPrint_Click()
{
    printLedger(this, m_db, m_prompt, m_model, selectionHeading(m_ledger->shownFilter()), m_paths.gRptPath);
}
// Caller ID

void frmMain::buildCallerIdControls(QHBoxLayout *row)
{
    chkUseTelvox = named(new QCheckBox(QStringLiteral("발신번호사용"), pnlTop), QStringLiteral("chkUseTelvox"),
                         QStringLiteral("발신번호사용"));
    chkUseTelvox->setEnabled(false); // until the login has applied the stored switch
    row->addWidget(chkUseTelvox);
    row->addWidget(labelFor(QStringLiteral("발신번호:"), pnlTop));
    txtGetTelvox = named(new QLineEdit(pnlTop), QStringLiteral("txtGetTelvox"), QStringLiteral("발신번호:"));
    txtGetTelvox->setReadOnly(true);
    txtGetTelvox->setFixedWidth(txtGetTelvox->fontMetrics().horizontalAdvance(QStringLiteral("000-0000-00000")) + 14);
    row->addWidget(txtGetTelvox);
    btnTelvoxList = named(new QToolButton(pnlTop), QStringLiteral("btnTelvoxList"), QStringLiteral("수신 목록"));
    btnTelvoxList->setText(QStringLiteral("▼"));
    btnTelvoxList->setToolTip(QStringLiteral("수신 목록"));
    row->addWidget(btnTelvoxList);

    txtTelvoxList = named(new QPlainTextEdit(this), QStringLiteral("txtTelvoxList"), QStringLiteral("수신 목록"));
    txtTelvoxList->setReadOnly(true);
    // The number is padded to 15 characters: the columns line up only in a fixed-pitch font.
    txtTelvoxList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtTelvoxList->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtTelvoxList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTelvoxList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTelvoxList->hide();
    txtTelvoxList->installEventFilter(this);

    connectCommand(chkUseTelvox, [this] { chkUseTelvox_Click(); });
    connect(btnTelvoxList, &QToolButton::clicked, this, [this] { btnTelvoxList_Click(); });
}

void frmMain::addCallerIdCommands()
{
    // Tab goes from the search strip through the caller-ID controls to the buttons.
    setTabOrder(chkNoSale, chkUseTelvox);
    setTabOrder(chkUseTelvox, txtGetTelvox);
    setTabOrder(txtGetTelvox, btnTelvoxList);
    setTabOrder(btnTelvoxList, btnRefresh);
    addToolCommand(QStringLiteral("발신번호 포트설정(&C)"), [this] { showTelvoxOptions(); });
    addToolCommand(QStringLiteral("수신전화 처리대기(&W)"), [this] {
        FrmTelvoxStanbyList &w = stanbyList();
        w.showNormal();
        w.raise();
        w.activateWindow();
    });
    addToolCommand(QStringLiteral("수신번호 내역(&H)"), [this] {
        FrmTelvoxList &w = telvoxList();
        w.showNormal();
        w.raise();
        w.activateWindow();
    });
}

void frmMain::prepareCallerId()
{
    // The call log is kept for one run only.
    txtTelvoxList->clear();
}

void frmMain::ApplyTelvoxUse()
{
    chkUseTelvox->setEnabled(true);
    const bool use = m_settings.get(Settings::telvoxUse);
    if (use && isVisible())
        OpenTelvox();
    chkUseTelvox->setChecked(use);
    chkUseTelvox_Click();
}

void frmMain::chkUseTelvox_Click()
{
    // Only a window on screen acts: the start-up's own setting of the box stores nothing.
    if (!isVisible())
        return;
    if (chkUseTelvox->isChecked())
        OpenTelvox();
    else
        CloseTelvox();
    m_settings.set(Settings::telvoxUse, chkUseTelvox->isChecked());
    if (!m_settings.isSet(Settings::telvoxPort(0))) {
        for (const SettingKey<QString> &port : {Settings::telvoxPort(0), Settings::telvoxPort(1)})
            m_settings.set(port, port.fallback);
    }
}

void frmMain::OpenTelvox()
{
    if (chkUseTelvox->isChecked())
        m_callerId->OpenTelvox();
}

void frmMain::CloseTelvox()
{
    m_callerId->CloseTelvox();
}

void frmMain::showTelvoxOptions()
{
    FrmTelvoxOptions options(m_settings, this);
    options.SetMainForm(this);
    options.exec();
}

void frmMain::telvox_Received(int index, const CallerReport &report)
{
    m_callerId->telvox_Received(index, report);
}

bool frmMain::InputFromTelvox(const QString &Telno)
{
    return m_callerId->InputFromTelvox(Telno);
}

void frmMain::PushWaitingCall(const QString &number)
{
    m_callerId->PushWaitingCall(number);
}

QString frmMain::PopWaitingCall()
{
    return m_callerId->PopWaitingCall();
}

void frmMain::showNumber(const QString &number)
{
    txtGetTelvox->setText(number);
    txtGetTelvox->setFocus();
}

void frmMain::showCaller(const ClientRecord *caller)
{
    if (m_entry)
        m_entry->showClient(BusiMode::Customer, caller);
    // The same caller again leaves the code as it was; their balance may have moved meanwhile.
    showBalance(1);
}

void frmMain::showProducts(const QString &text)
{
    LedgerEntry::setPanelText(pnlinfoSales, text);
}

void frmMain::addLogLine(const QString &line)
{
    QTextCursor start(txtTelvoxList->document());
    start.movePosition(QTextCursor::Start);
    start.insertText(line + QLatin1Char('\n'));
}

void frmMain::addHistoryLine(const QString &line)
{
    if (m_telvoxList)
        m_telvoxList->AddMsg(line);
}

void frmMain::useWaitingList()
{
    stanbyList();
}

FrmTelvoxStanbyList &frmMain::stanbyList()
{
    if (!m_stanbyList) {
        m_stanbyList = new FrmTelvoxStanbyList(m_settings, m_prompt, m_callerId->waitingCalls(), [this] {
            FrmTelvoxList &w = telvoxList();
            w.showNormal();
            w.raise();
        }, this);
    }
    return *m_stanbyList;
}

FrmTelvoxList &frmMain::telvoxList()
{
    if (!m_telvoxList) {
        m_telvoxList = new FrmTelvoxList(this);
        // The calls of earlier runs first, from the ledger's call history.
        for (const QString &line : m_callerId->earlierCalls(1000))
            m_telvoxList->AddMsg(line);
    }
    return *m_telvoxList;
}

void frmMain::btnTelvoxList_Click()
{
    // Dropped below the strip, left-aligned with the number box, as wide as the window allows.
    const QPoint at = txtGetTelvox->mapTo(this, QPoint(0, 0));
    const int w = std::min(Twips::toPixels(10005, logicalDpiX()), width() - at.x());
    const int h = std::min(Twips::toPixels(6495, logicalDpiY()), height() - pnlTop->height());
    txtTelvoxList->setGeometry(at.x(), pnlTop->height(), std::max(w, 0), std::max(h, 0));
    txtTelvoxList->show();
    txtTelvoxList->raise();
    txtTelvoxList->setFocus();
}
