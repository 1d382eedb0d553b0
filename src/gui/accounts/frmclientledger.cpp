// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmclientledger.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "accountdelegate.h"
#include "accountprinting.h"
#include "core/accounts/accountreports.h"
#include "core/accounts/clientledger.h"
#include "core/accounts/payment.h"
#include "core/base/userprompt.h"
#include "core/data/recordset.h"
#include "core/masterdata/clientregister.h"
#include "core/ui/checkdate.h"
#include "gui/masterdata/seldata.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/formini.h"
#include "gui/ui/spreadhelpers.h"

FrmClientLedger::FrmClientLedger(Database &db, UserPrompt &prompt, VoucherLookups &lookups, QString reportFolder,
                                 QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_lookups(lookups), m_reportFolder(std::move(reportFolder)),
      m_model(new ClientLedgerModel(this))
{
    setObjectName(QStringLiteral("frmClientLedger"));
    setWindowTitle(caption());
    setAccessibleName(caption());
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    const auto label = [this, top](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        top->addWidget(l);
        top->addWidget(buddy);
    };
    cmbMode = named(new QComboBox(this), QStringLiteral("cmbMode"), QStringLiteral("구분"));
    // In the order of BusiMode's numbers.
    cmbMode->addItems({QStringLiteral("매입처"), QStringLiteral("매출처")});
    cmbMode->setCurrentIndex(toInt(BusiMode::Customer));
    txtClient = named(new QLineEdit(this), QStringLiteral("txtClient"), QStringLiteral("거래처"));
    txtClient->setMinimumWidth(160);
    txtFrom = named(new QLineEdit(this), QStringLiteral("txtFrom"), QStringLiteral("시작 일자"));
    txtTo = named(new QLineEdit(this), QStringLiteral("txtTo"), QStringLiteral("끝 일자"));
    InitDateBox(txtFrom, true);
    InitDateBox(txtTo, false);
    for (QLineEdit *box : {txtFrom, txtTo})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 14);
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
    spList->setItemDelegate(new AccountDelegate(
        {ClientLedgerModel::ColTraded, ClientLedgerModel::ColPaid, ClientLedgerModel::ColBalance}, spList));
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
    btnPrint = named(new QPushButton(QStringLiteral("인쇄(&P)"), this), QStringLiteral("btnPrint"), QStringLiteral("인쇄"));
    btnExport = named(new QPushButton(QStringLiteral("저장(&S)"), this), QStringLiteral("btnExport"),
                      QStringLiteral("엑셀·CSV로 저장"));
    btnClose = named(new QPushButton(QStringLiteral("닫기(&X)"), this), QStringLiteral("btnClose"), QStringLiteral("닫기"));
    for (QPushButton *b : {btnSearch, btnPrint, btnExport, btnClose}) {
        b->setAutoDefault(false);
        if (b != btnSearch)
            buttons->addWidget(b);
        if (b == btnExport)
            buttons->addStretch();
    }
    layout->addLayout(buttons);

    connect(cmbMode, &QComboBox::activated, this, [this] { setClient(mode(), 0); });
    connect(txtClient, &QLineEdit::editingFinished, this, [this] { commitClient(); });
    connect(btnSearch, &QPushButton::clicked, this, [this] { btnSearch_Click(); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrint_Click(); });
    connect(btnExport, &QPushButton::clicked, this, [this] { btnExport_Click(); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    for (QLineEdit *box : {txtFrom, txtTo})
        box->installEventFilter(this);
    takePeriod();
    resize(820, 560);
    LoadFormIni(this);
}

FrmClientLedger::~FrmClientLedger() = default;

void FrmClientLedger::done(int result)
{
    SaveFormIni(this);
    QDialog::done(result);
}

BusiMode FrmClientLedger::mode() const
{
    return busiModeOf(cmbMode->currentIndex()).value_or(BusiMode::Customer);
}

QString FrmClientLedger::heading() const
{
    return AccountReports::clientHeading(mode(), m_code, m_name, m_from, m_to);
}

void FrmClientLedger::setClient(BusiMode mode, qint64 code)
{
    cmbMode->setCurrentIndex(toInt(mode));
    m_code = code;
    m_name.clear();
    if (code > 0) {
        const ClientRegister clients(m_db, m_prompt, mode);
        const auto record = clients.find(static_cast<qint32>(code));
        m_name = record ? record->name : PaymentRules::deletedClientName();
    }
    txtClient->setText(m_name);
    txtClient->setModified(false);
    btnSearch_Click();
}

bool FrmClientLedger::setPeriod(const QString &from, const QString &to)
{
    txtFrom->setText(from);
    txtTo->setText(to);
    return takePeriod();
}

bool FrmClientLedger::takePeriod()
{
    const QDate today = QDate::currentDate();
    for (QLineEdit *box : {txtFrom, txtTo}) {
        QString text = box->text();
        if (!CheckDate(text, m_prompt, today)) {
            box->setFocus();
            return false;
        }
        box->setText(text);
    }
    m_from = txtFrom->text();
    m_to = txtTo->text();
    return true;
}

void FrmClientLedger::commitClient()
{
    if (m_lookingUp || txtClient->text() == m_name)
        return;
    const QString typed = txtClient->text().trimmed();
    if (typed.isEmpty()) {
        txtClient->setText(m_name);
        return;
    }
    m_lookingUp = true;
    const auto picked = m_lookups.SelClient(mode(), typed, txtClient, FormRules::AlignLeft, true);
    m_lookingUp = false;
    if (picked && picked->code > 0) {
        setClient(mode(), picked->code);
    } else {
        txtClient->setText(m_name);
        txtClient->setFocus();
    }
}

void FrmClientLedger::btnSearch_Click()
{
    commitClient();
    if (!takePeriod())
        return;
    if (m_code <= 0) {
        m_model->load(m_db, mode(), 0, m_from, m_to);
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SqlError error = m_model->load(m_db, mode(), m_code, m_from, m_to);
    QGuiApplication::restoreOverrideCursor();
    if (error.isError())
        reportQueryError(error, m_prompt);
    spList->scrollToTop();
    setWindowTitle(m_name.isEmpty() ? caption() : caption() + QStringLiteral(" - ") + m_name);
}

void FrmClientLedger::btnPrint_Click()
{
    commitClient();
    if (m_code <= 0) {
        m_prompt.MsgInfo(QStringLiteral("거래처를 먼저 고르세요."), caption());
        txtClient->setFocus();
        return;
    }
    const ClientLedgerTable table(*m_model, heading(), QDate::currentDate());
    printAccountReport(this, m_prompt, table, AccountReports::clientLedgerForm(), m_reportFolder);
}

void FrmClientLedger::btnExport_Click()
{
    commitClient();
    if (m_code <= 0) {
        m_prompt.MsgInfo(QStringLiteral("거래처를 먼저 고르세요."), caption());
        txtClient->setFocus();
        return;
    }
    exportAccountTable(this, m_prompt, m_reportFolder, caption() + QLatin1Char('_') + m_name, [this](const QString &path) {
        return TableExport::write(AccountReports::clientLedgerExport(*m_model), path, heading());
    });
}

bool FrmClientLedger::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnSearch_Click();
            return true;
        }
        if (key == Qt::Key_F2 || (key == Qt::Key_Down && (static_cast<QKeyEvent *>(event)->modifiers() & Qt::AltModifier))) {
            auto *box = static_cast<QLineEdit *>(watched);
            if (const auto picked = m_prompt.pickDate(box->text(), box))
                box->setText(*picked);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void openClientLedger(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile,
                      const QString &reportFolder, BusiMode mode, qint64 clientCode)
{
    SelData lookups(db, prompt, postFile, parent);
    FrmClientLedger window(db, prompt, lookups, reportFolder, parent);
    window.setClient(mode, clientCode);
    window.exec();
}
