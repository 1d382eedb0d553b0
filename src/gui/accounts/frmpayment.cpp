// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmpayment.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accountdelegate.h"
#include "clientchooser.h"
#include "commitgrid.h"
#include "core/accounts/accountchanges.h"
#include "core/accounts/balances.h"
#include "core/accounts/payment.h"
#include "core/accounts/paymentsmodel.h"
#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "gui/masterdata/seldata.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/formini.h"
#include "gui/ui/spreadhelpers.h"

namespace {

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

FrmPayment::FrmPayment(Database &db, UserPrompt &prompt, VoucherLookups &lookups, QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_model(new PaymentsModel(db, prompt, this)),
      m_client(new ClientChooser(db, prompt, lookups, {QStringLiteral("매입처 지급"), QStringLiteral("매출처 입금")}, this))
{
    setObjectName(QStringLiteral("frmPayment"));
    setWindowTitle(caption());
    setAccessibleName(caption());
    auto *layout = new QVBoxLayout(this);

    auto *top = new QGridLayout;
    cmbMode = m_client->cmbMode;
    txtClient = m_client->txtClient;
    lblBalance = named(new QLabel(this), QStringLiteral("lblBalance"), QStringLiteral("잔액"));
    lblBalance->setMinimumWidth(220);
    top->addWidget(label(QStringLiteral("구분(&K)"), cmbMode, this), 0, 0);
    top->addWidget(cmbMode, 0, 1);
    top->addWidget(label(QStringLiteral("거래처(&N)"), txtClient, this), 0, 2);
    top->addWidget(txtClient, 0, 3);
    top->addWidget(lblBalance, 0, 4, 1, 3);

    txtDate = named(new QLineEdit(this), QStringLiteral("txtDate"), QStringLiteral("일자"));
    InitDateBox(txtDate, false);
    btnDate = named(new QPushButton(QStringLiteral("달력"), this), QStringLiteral("btnDate"), QStringLiteral("달력"));
    btnDate->setAutoDefault(false);
    txtAmount = named(new QLineEdit(this), QStringLiteral("txtAmount"), QStringLiteral("금액"));
    txtAmount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cmbMethod = named(new QComboBox(this), QStringLiteral("cmbMethod"), QStringLiteral("방법"));
    cmbMethod->addItems(PaymentRules::methods());
    txtMemo = named(new QLineEdit(this), QStringLiteral("txtMemo"), QStringLiteral("메모"));
    btnSave = named(new QPushButton(QStringLiteral("저장(&S)"), this), QStringLiteral("btnSave"), QStringLiteral("저장"));
    btnSave->setAutoDefault(false);
    top->addWidget(label(QStringLiteral("일자(&D)"), txtDate, this), 1, 0);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(txtDate);
    dateRow->addWidget(btnDate);
    top->addLayout(dateRow, 1, 1);
    top->addWidget(label(QStringLiteral("금액(&A)"), txtAmount, this), 1, 2);
    top->addWidget(txtAmount, 1, 3);
    top->addWidget(label(QStringLiteral("방법(&M)"), cmbMethod, this), 1, 4);
    top->addWidget(cmbMethod, 1, 5);
    top->addWidget(label(QStringLiteral("메모(&E)"), txtMemo, this), 2, 0);
    top->addWidget(txtMemo, 2, 1, 1, 5);
    top->addWidget(btnSave, 2, 6);

    txtOpeningDate = named(new QLineEdit(this), QStringLiteral("txtOpeningDate"), QStringLiteral("이월 일자"));
    txtOpeningAmount = named(new QLineEdit(this), QStringLiteral("txtOpeningAmount"), QStringLiteral("이월 잔액"));
    txtOpeningAmount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnOpening = named(new QPushButton(QStringLiteral("이월 저장(&O)"), this), QStringLiteral("btnOpening"),
                       QStringLiteral("이월 저장"));
    btnOpening->setAutoDefault(false);
    top->addWidget(label(QStringLiteral("이월 일자(&I)"), txtOpeningDate, this), 3, 0);
    top->addWidget(txtOpeningDate, 3, 1);
    top->addWidget(label(QStringLiteral("이월 잔액(&B)"), txtOpeningAmount, this), 3, 2);
    top->addWidget(txtOpeningAmount, 3, 3);
    top->addWidget(btnOpening, 3, 6);
    layout->addLayout(top);

    spList = named(new CommitGrid(this), QStringLiteral("spList"), QStringLiteral("입금·지급 내역"));
    spList->setModel(m_model);
    auto *delegate = new AccountDelegate({PaymentsModel::ColAmount}, spList);
    delegate->setChoices(PaymentsModel::ColMethod, PaymentRules::methods());
    spList->setItemDelegate(delegate);
    spList->horizontalHeader()->setStretchLastSection(true);
    spList->setColumnWidth(PaymentsModel::ColDate, 100);
    spList->setColumnWidth(PaymentsModel::ColAmount, 120);
    spList->setColumnWidth(PaymentsModel::ColMethod, 90);
    spList->setCommit([this](const QModelIndex &index, const QString &typed) {
        m_model->commitCell(index.row(), index.column(), typed);
        showBalance();
    });
    connect(spList, &CommitGrid::editEnded, this, [this] {
        if (m_reloadPending)
            reloadPayments();
    });
    spList->installEventFilter(this);
    layout->addWidget(spList, 1);

    auto *buttons = new QHBoxLayout;
    btnDelete = named(new QPushButton(QStringLiteral("삭제(&R)"), this), QStringLiteral("btnDelete"), QStringLiteral("삭제"));
    btnClose = named(new QPushButton(QStringLiteral("닫기(&X)"), this), QStringLiteral("btnClose"), QStringLiteral("닫기"));
    btnDelete->setAutoDefault(false);
    btnClose->setAutoDefault(false);
    buttons->addWidget(btnDelete);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(m_client, &ClientChooser::chosen, this, [this] {
        m_model->setClient(mode(), clientCode());
        showClient();
        if (clientCode() > 0 && txtClient->hasFocus())
            txtDate->setFocus();
    });
    connect(btnDate, &QPushButton::clicked, this, [this] {
        if (const auto picked = m_prompt.pickDate(txtDate->text(), txtDate))
            txtDate->setText(*picked);
        txtDate->setFocus();
    });
    connect(btnSave, &QPushButton::clicked, this, [this] { runCommand([this] { btnSave_Click(); }); });
    connect(btnOpening, &QPushButton::clicked, this, [this] { runCommand([this] { btnOpening_Click(); }); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { runCommand([this] { btnDelete_Click(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    // Enter moves on through the boxes of a new payment; in the memo it saves.
    for (QWidget *w : {static_cast<QWidget *>(txtDate), static_cast<QWidget *>(txtAmount),
                       static_cast<QWidget *>(cmbMethod), static_cast<QWidget *>(txtMemo),
                       static_cast<QWidget *>(txtOpeningDate), static_cast<QWidget *>(txtOpeningAmount)})
        w->installEventFilter(this);
    setTabOrder(cmbMode, txtClient);
    setTabOrder(txtClient, txtDate);
    setTabOrder(txtDate, btnDate);
    setTabOrder(btnDate, txtAmount);
    setTabOrder(txtAmount, cmbMethod);
    setTabOrder(cmbMethod, txtMemo);
    setTabOrder(txtMemo, btnSave);
    setTabOrder(btnSave, txtOpeningDate);
    setTabOrder(txtOpeningDate, txtOpeningAmount);
    setTabOrder(txtOpeningAmount, btnOpening);
    setTabOrder(btnOpening, spList);
    setTabOrder(spList, btnDelete);
    setTabOrder(btnDelete, btnClose);
    resize(760, 520);
    LoadFormIni(this);
    showClient();
}

FrmPayment::~FrmPayment() = default;

BusiMode FrmPayment::mode() const
{
    return m_client->mode();
}

qint64 FrmPayment::clientCode() const
{
    return m_client->code();
}

void FrmPayment::setClient(BusiMode mode, qint64 code)
{
    m_client->setClient(mode, code);
}

void FrmPayment::followChanges(AccountChanges &changes)
{
    connect(&changes, &AccountChanges::accountChanged, this, [this](BusiMode changedMode, qint64 code) {
        if (changedMode == mode() && code == clientCode())
            reloadPayments();
    });
    connect(&changes, &AccountChanges::vouchersChanged, this, [this] { showBalance(); });
    connect(&changes, &AccountChanges::reconnected, this, [this] { reloadPayments(); });
}

void FrmPayment::reloadPayments()
{
    // Rows stay put while a cell is edited or written; the list is read once that is over.
    m_reloadPending = spList->isBusy();
    if (m_reloadPending)
        return;
    m_model->reload();
    showBalance();
}

void FrmPayment::showClient()
{
    const bool chosen = clientCode() > 0;
    for (QWidget *w : {static_cast<QWidget *>(btnSave), static_cast<QWidget *>(btnOpening),
                       static_cast<QWidget *>(btnDelete), static_cast<QWidget *>(txtOpeningDate),
                       static_cast<QWidget *>(txtOpeningAmount)})
        w->setEnabled(chosen);
    txtOpeningDate->clear();
    txtOpeningAmount->clear();
    if (chosen) {
        if (const auto opening = OpeningBalance::read(m_db, mode(), clientCode(), m_prompt)) {
            txtOpeningDate->setText(opening->date);
            txtOpeningAmount->setText(opening->amount != 0 || !opening->date.isEmpty() ? formatMoney(opening->amount)
                                                                                        : QString());
        }
    }
    showBalance();
}

void FrmPayment::showBalance()
{
    lblBalance->clear();
    if (clientCode() <= 0)
        return;
    SqlError error;
    const auto balance = Balances::balanceAt(m_db, mode(), clientCode(), QDate::currentDate().toString(Qt::ISODate), &error);
    if (balance) {
        lblBalance->setText(PaymentRules::balanceText(mode(), *balance));
        lblBalance->setStyleSheet(*balance < 0 ? QStringLiteral("color: red;") : QString());
    }
    lblBalance->setAccessibleDescription(lblBalance->text());
}

void FrmPayment::runCommand(const std::function<void()> &command)
{
    if (spList->finishEdit() && m_client->commit())
        command();
}

void FrmPayment::btnSave_Click()
{
    if (clientCode() <= 0) {
        m_prompt.MsgInfo(QStringLiteral("거래처를 먼저 고르세요."), caption());
        txtClient->setFocus();
        return;
    }
    const auto id = m_model->addPayment(txtDate->text(), txtAmount->text(), cmbMethod->currentText(), txtMemo->text());
    if (!id) {
        txtAmount->setFocus();
        return;
    }
    // The next payment is typed at once; the date usually stays.
    if (const int row = m_model->rowOf(*id); row >= 0)
        txtDate->setText(m_model->payment(row).date);
    txtAmount->clear();
    txtMemo->clear();
    cmbMethod->setCurrentIndex(0);
    txtAmount->setFocus();
    showBalance();
}

void FrmPayment::btnOpening_Click()
{
    if (clientCode() <= 0)
        return;
    if (OpeningBalance::set(m_db, mode(), clientCode(), txtOpeningDate->text(), txtOpeningAmount->text(), m_prompt))
        showClient();
}

void FrmPayment::btnDelete_Click()
{
    const QModelIndex at = spList->currentIndex();
    if (!at.isValid()) {
        m_prompt.MsgInfo(QStringLiteral("삭제할 입금·지급 자료를 선택하세요."), caption());
        spList->setFocus();
        return;
    }
    if (m_model->removePayment(at.row()))
        showBalance();
    spList->setFocus();
}

void FrmPayment::closeEvent(QCloseEvent *event)
{
    // The open cell is written (or refused) before the window goes.
    if (!spList->finishEdit()) {
        event->ignore();
        return;
    }
    m_client->commit();
    SaveFormIni(this);
    QDialog::closeEvent(event);
}

void FrmPayment::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FrmPayment::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == spList) {
        if (key == Qt::Key_F4) { // as a voucher is deleted
            runCommand([this] { btnDelete_Click(); });
            return true;
        }
        return false;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return QDialog::eventFilter(watched, event);
    if (watched == txtMemo) {
        runCommand([this] { btnSave_Click(); });
        return true;
    }
    if (watched == txtOpeningAmount) {
        runCommand([this] { btnOpening_Click(); });
        return true;
    }
    if (watched == txtDate) {
        // The date rules' short forms become the stored date on leaving the box.
        if (const auto date = PaymentRules::parseDate(txtDate->text(), m_prompt, QDate::currentDate()))
            txtDate->setText(*date);
        else
            return true;
    }
    KeyToTab(key, static_cast<QWidget *>(watched));
    return true;
}

void openPayments(QWidget *parent, Database &db, UserPrompt &prompt, const QString &postFile, BusiMode mode,
                  qint64 clientCode, AccountChanges *changes)
{
    SelData lookups(db, prompt, postFile, parent);
    FrmPayment window(db, prompt, lookups, parent);
    if (changes)
        window.followChanges(*changes);
    window.setClient(mode, clientCode);
    window.exec();
}
