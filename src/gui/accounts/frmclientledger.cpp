// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmclientledger.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "accountdelegate.h"
#include "accountprinting.h"
#include "clientchooser.h"
#include "periodboxes.h"
#include "core/accounts/accountchanges.h"
#include "core/accounts/accountreports.h"
#include "core/accounts/clientledger.h"
#include "core/base/userprompt.h"
#include "core/data/recordset.h"
#include "gui/masterdata/seldata.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/formini.h"
#include "gui/ui/spreadhelpers.h"

namespace {

DayStatement &dayStatementHandler()
{
    static DayStatement handler;
    return handler;
}

} // namespace

FrmClientLedger::FrmClientLedger(Database &db, UserPrompt &prompt, VoucherLookups &lookups, QString reportFolder,
                                 QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_reportFolder(std::move(reportFolder)),
      m_model(new ClientLedgerModel(this)),
      m_client(new ClientChooser(db, prompt, lookups, {QStringLiteral("매입처"), QStringLiteral("매출처")}, this)),
      m_period(new PeriodBoxes(prompt, [this] { btnSearch_Click(); }, this))
{
    setObjectName(QStringLiteral("frmClientLedger"));
    setWindowTitle(caption());
    setAccessibleName(caption());
    cmbMode = m_client->cmbMode;
    txtClient = m_client->txtClient;
    txtFrom = m_period->txtFrom;
    txtTo = m_period->txtTo;
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    const auto label = [this, top](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        top->addWidget(l);
        top->addWidget(buddy);
    };
    btnSearch = named(new QPushButton(QStringLiteral("조회(&F)"), this), QStringLiteral("btnSearch"), QStringLiteral("조회"));
    label(QStringLiteral("구분(&K)"), cmbMode);
    label(QStringLiteral("거래처(&N)"), txtClient);
    label(QStringLiteral("기간(&D)"), txtFrom);
    top->addWidget(new QLabel(QStringLiteral("~"), this));
    top->addWidget(txtTo);
    top->addWidget(btnSearch);
    top->addStretch();
    layout->addLayout(top);

    spList = named(new QTableView(this), QStringLiteral("spList"), caption());
    spList->setModel(m_model);
    CommonSpreadDesign(spList, SpreadOption::ReadOnly | SpreadOption::RowMode | SpreadOption::Alternating);
    auto *delegate = new AccountDelegate(
        {ClientLedgerModel::ColTraded, ClientLedgerModel::ColPaid, ClientLedgerModel::ColBalance}, spList);
    delegate->setBoldRows([this](int row) {
        const auto kind = m_model->lines()[size_t(row)].kind;
        return kind != ClientLedger::Row::Kind::Voucher && kind != ClientLedger::Row::Kind::Payment;
    });
    spList->setItemDelegate(delegate);
    // Every row one line high: the view never measures 10,000 rows to paint the first screen.
    spList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    spList->verticalHeader()->setDefaultSectionSize(22);
    spList->verticalHeader()->hide();
    spList->setColumnWidth(ClientLedgerModel::ColDate, 100);
    spList->setColumnWidth(ClientLedgerModel::ColText, 260);
    for (int c : {ClientLedgerModel::ColTraded, ClientLedgerModel::ColPaid, ClientLedgerModel::ColBalance})
        spList->setColumnWidth(c, 120);
    spList->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(spList, 1);

    auto *buttons = new QHBoxLayout;
    btnSearch->setAutoDefault(false);
    const ReportButtons commands = addReportButtons(this, buttons);
    btnPrint = commands.print;
    btnExport = commands.save;
    btnClose = commands.close;
    layout->addLayout(buttons);

    connect(m_client, &ClientChooser::chosen, this, [this] { btnSearch_Click(); });
    connect(btnSearch, &QPushButton::clicked, this, [this] { btnSearch_Click(); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrint_Click(); });
    connect(btnExport, &QPushButton::clicked, this, [this] { btnExport_Click(); });
    connect(spList, &QTableView::activated, this, [this](const QModelIndex &index) {
        const auto &lines = m_model->lines();
        if (mode() != BusiMode::Customer || index.row() >= int(lines.size()) || !dayStatementHandler())
            return;
        if (const ClientLedger::Row &line = lines[size_t(index.row())]; line.kind == ClientLedger::Row::Kind::Voucher)
            dayStatementHandler()(this, clientCode(), line.date);
    });
    resize(820, 560);
    LoadFormIni(this);
}

FrmClientLedger::~FrmClientLedger() = default;

void setDayStatement(DayStatement open)
{
    dayStatementHandler() = std::move(open);
}

void FrmClientLedger::done(int result)
{
    SaveFormIni(this);
    QDialog::done(result);
}

BusiMode FrmClientLedger::mode() const
{
    return m_client->mode();
}

qint64 FrmClientLedger::clientCode() const
{
    return m_client->code();
}

QString FrmClientLedger::heading() const
{
    return AccountReports::clientHeading(mode(), clientCode(), m_client->name(), m_period->from(), m_period->to());
}

void FrmClientLedger::setClient(BusiMode mode, qint64 code)
{
    m_client->setClient(mode, code);
}

bool FrmClientLedger::setPeriod(const QString &from, const QString &to)
{
    return m_period->set(from, to);
}

void FrmClientLedger::btnSearch_Click()
{
    m_client->commit();
    if (m_period->take())
        reload();
}

void FrmClientLedger::reload()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SqlError error = m_model->load(m_db, mode(), clientCode(), m_period->from(), m_period->to());
    QGuiApplication::restoreOverrideCursor();
    if (error.isError())
        m_prompt.show(queryError(error));
    spList->scrollToTop();
    setWindowTitle(m_client->name().isEmpty() ? caption() : caption() + QStringLiteral(" - ") + m_client->name());
}

void FrmClientLedger::followChanges(AccountChanges &changes)
{
    connect(&changes, &AccountChanges::accountChanged, this, [this](BusiMode changedMode, qint64 code) {
        if (changedMode == mode() && code == clientCode())
            reload();
    });
    connect(&changes, &AccountChanges::vouchersChanged, this, [this] { reload(); });
    connect(&changes, &AccountChanges::reconnected, this, [this] { reload(); });
}

bool FrmClientLedger::haveClient()
{
    if (!m_client->commit())
        return false;
    if (clientCode() > 0)
        return true;
    m_prompt.MsgInfo(QStringLiteral("거래처를 먼저 고르세요."), caption());
    txtClient->setFocus();
    return false;
}

void FrmClientLedger::btnPrint_Click()
{
    if (!haveClient())
        return;
    const ClientLedgerTable table(*m_model, heading(), QDate::currentDate());
    printAccountReport(this, m_prompt, table, AccountReports::clientLedgerForm(), m_reportFolder);
}

void FrmClientLedger::btnExport_Click()
{
    if (!haveClient())
        return;
    exportAccountTable(this, m_prompt, m_reportFolder, caption() + QLatin1Char('_') + m_client->name(),
                       [this](const QString &path) {
                           return LedgerExport::write(AccountReports::clientLedgerExport(*m_model), path, heading());
                       });
}

void openClientLedger(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile,
                      const QString &reportFolder, BusiMode mode, qint64 clientCode, AccountChanges *changes)
{
    SelData lookups(db, prompt, postFile, parent);
    FrmClientLedger window(db, prompt, lookups, reportFolder, parent);
    if (changes)
        window.followChanges(*changes);
    window.setClient(mode, clientCode);
    window.exec();
}
