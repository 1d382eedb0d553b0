// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmbalances.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "accountdelegate.h"
#include "accountprinting.h"
#include "periodboxes.h"
#include "core/accounts/accountchanges.h"
#include "core/accounts/accountreports.h"
#include "core/accounts/balances.h"
#include "core/accounts/balancesexport.h"
#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/recordset.h"
#include "frmclientledger.h"
#include "gui/masterdata/seldata.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/formini.h"
#include "gui/ui/spreadhelpers.h"

FrmBalances::FrmBalances(Database &db, UserPrompt &prompt, BusiMode mode, QString reportFolder, QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_mode(mode), m_reportFolder(std::move(reportFolder)),
      m_model(new BalancesModel(this)), m_sorted(new QSortFilterProxyModel(this)),
      m_period(new PeriodBoxes(prompt, [this] { btnSearch_Click(); }, this))
{
    setObjectName(mode == BusiMode::Customer ? QStringLiteral("frmReceivables") : QStringLiteral("frmPayables"));
    setWindowTitle(BalancesModel::title(mode));
    setAccessibleName(BalancesModel::title(mode));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    txtFrom = m_period->txtFrom;
    txtTo = m_period->txtTo;
    auto *period = new QLabel(QStringLiteral("기간(&D)"), this);
    period->setBuddy(txtFrom);
    chkNonZero = named(new QCheckBox(QStringLiteral("잔액 있는 거래처만(&Z)"), this), QStringLiteral("chkNonZero"),
                       QStringLiteral("잔액 있는 거래처만"));
    btnSearch = named(new QPushButton(QStringLiteral("조회(&F)"), this), QStringLiteral("btnSearch"), QStringLiteral("조회"));
    top->addWidget(period);
    top->addWidget(txtFrom);
    top->addWidget(new QLabel(QStringLiteral("~"), this));
    top->addWidget(txtTo);
    top->addWidget(chkNonZero);
    top->addWidget(btnSearch);
    top->addStretch();
    layout->addLayout(top);

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(BalancesModel::SortRole);
    spList = named(new QTableView(this), QStringLiteral("spList"), BalancesModel::title(mode));
    spList->setModel(m_sorted);
    CommonSpreadDesign(spList, SpreadOption::ReadOnly | SpreadOption::RowMode | SpreadOption::Alternating);
    spList->setSortingEnabled(true);
    spList->sortByColumn(BalancesModel::ColCode, Qt::AscendingOrder);
    spList->setItemDelegate(new AccountDelegate({BalancesModel::ColCarried, BalancesModel::ColTraded,
                                                 BalancesModel::ColPaid, BalancesModel::ColBalance},
                                                spList));
    spList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    spList->verticalHeader()->setDefaultSectionSize(22);
    spList->verticalHeader()->hide();
    spList->setColumnWidth(BalancesModel::ColCode, 60);
    spList->setColumnWidth(BalancesModel::ColName, 200);
    for (int c = BalancesModel::ColCarried; c < BalancesModel::ColumnCount; ++c)
        spList->setColumnWidth(c, 120);
    spList->installEventFilter(this);
    layout->addWidget(spList, 1);
    lblTotals = named(new QLabel(this), QStringLiteral("lblTotals"), BalancesModel::totalsLabel());
    lblTotals->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(lblTotals);

    auto *buttons = new QHBoxLayout;
    btnSearch->setAutoDefault(false);
    btnLedger = named(new QPushButton(QStringLiteral("거래처원장(&L)"), this), QStringLiteral("btnLedger"),
                      QStringLiteral("거래처원장"));
    btnLedger->setAutoDefault(false);
    buttons->addWidget(btnLedger);
    const ReportButtons commands = addReportButtons(this, buttons);
    btnPrint = commands.print;
    btnExport = commands.save;
    btnClose = commands.close;
    layout->addLayout(buttons);

    connect(btnSearch, &QPushButton::clicked, this, [this] { btnSearch_Click(); });
    connect(chkNonZero, &QCheckBox::toggled, this, [this](bool on) {
        m_model->setNonZeroOnly(on);
        showTotals();
    });
    connect(spList, &QTableView::doubleClicked, this, [this] { btnLedger_Click(); });
    connect(btnLedger, &QPushButton::clicked, this, [this] { btnLedger_Click(); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrint_Click(); });
    connect(btnExport, &QPushButton::clicked, this, [this] { btnExport_Click(); });
    resize(820, 560);
    LoadFormIni(this);
    btnSearch_Click();
}

FrmBalances::~FrmBalances() = default;

void FrmBalances::done(int result)
{
    SaveFormIni(this);
    QDialog::done(result);
}

QString FrmBalances::heading() const
{
    return AccountReports::periodText(m_period->from(), m_period->to());
}

bool FrmBalances::setPeriod(const QString &from, const QString &to)
{
    if (!m_period->set(from, to))
        return false;
    btnSearch_Click();
    return true;
}

void FrmBalances::btnSearch_Click()
{
    if (m_period->take())
        reload();
}

void FrmBalances::reload()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SqlError error = m_model->load(m_db, m_mode, m_period->from(), m_period->to());
    QGuiApplication::restoreOverrideCursor();
    if (error.isError())
        reportQueryError(error, m_prompt);
    showTotals();
}

void FrmBalances::followChanges(AccountChanges &changes)
{
    for (auto signal : {&AccountChanges::vouchersChanged, &AccountChanges::reconnected})
        connect(&changes, signal, this, [this] { reload(); });
    connect(&changes, &AccountChanges::accountChanged, this, [this](BusiMode changedMode) {
        if (changedMode == m_mode)
            reload();
    });
}

void FrmBalances::showTotals()
{
    const Balances::Row &t = m_model->totals();
    const QStringList headers = BalancesModel::headers(m_mode);
    QString text = BalancesModel::totalsLabel() + QStringLiteral(" (%1곳)").arg(m_model->rowCount());
    const qint64 values[] = {t.carried, t.traded, t.paid, t.balance};
    for (int i = 0; i < 4; ++i)
        text += QStringLiteral("   %1 %2").arg(headers.value(BalancesModel::ColCarried + i), formatMoney(values[i]));
    lblTotals->setText(text);
    lblTotals->setAccessibleDescription(text);
}

void FrmBalances::btnLedger_Click()
{
    const QModelIndex at = m_sorted->mapToSource(spList->currentIndex());
    if (!at.isValid()) {
        m_prompt.MsgInfo(QStringLiteral("거래처를 선택하세요."), windowTitle());
        return;
    }
    if (m_openLedger)
        m_openLedger(m_mode, m_model->balanceRow(at.row()).code, m_period->from(), m_period->to());
    // A payment typed meanwhile moves the balances.
    reload();
}

void FrmBalances::btnPrint_Click()
{
    // Printed in the order shown.
    std::vector<int> order;
    for (int r = 0; r < m_sorted->rowCount(); ++r)
        order.push_back(m_sorted->mapToSource(m_sorted->index(r, 0)).row());
    const BalancesTable table(*m_model, heading(), QDate::currentDate(), std::move(order));
    printAccountReport(this, m_prompt, table, AccountReports::balancesForm(), m_reportFolder);
}

void FrmBalances::btnExport_Click()
{
    exportAccountTable(this, m_prompt, m_reportFolder, BalancesModel::title(m_mode),
                       [this](const QString &path) { return BalancesExport::write(*m_model, path); });
}

bool FrmBalances::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == spList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnLedger_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void openBalances(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile,
                  const QString &reportFolder, BusiMode mode, AccountChanges *changes)
{
    FrmBalances window(db, prompt, mode, reportFolder, parent);
    if (changes)
        window.followChanges(*changes);
    window.setOpenLedger([&](BusiMode m, qint64 code, const QString &from, const QString &to) {
        SelData lookups(db, prompt, postFile, &window);
        FrmClientLedger ledger(db, prompt, lookups, reportFolder, &window);
        if (changes)
            ledger.followChanges(*changes);
        ledger.setPeriod(from, to);
        ledger.setClient(m, code);
        ledger.exec();
    });
    window.exec();
}
