// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmdeleted.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "core/base/userprompt.h"
#include "core/data/recordset.h"
#include "core/masterdata/texttablemodel.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/spreadhelpers.h"

FrmDeleted::FrmDeleted(Database &db, UserPrompt &prompt, QWidget *parent)
    : ListWindow(QStringLiteral("frmDeleted"), RecycleBin::title(), RecycleBin::headers(), parent), m_bin(db),
      m_prompt(prompt), m_payments(db), m_paymentsModel(new TextTableModel(PaymentBin::headers(), this))
{
    spList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    model().setRightAligned(RecycleBin::amountColumns());
    cmdRestore = addCommand(QStringLiteral("cmdRestore"), QStringLiteral("복원(&R)"), QStringLiteral("복원"));
    cmdEmpty = addCommand(QStringLiteral("cmdEmpty"), QStringLiteral("비우기(&E)"), QStringLiteral("비우기"));
    connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
    connect(cmdEmpty, &QPushButton::clicked, this, [this] { cmdEmpty_Click(); });
    Refresh_List();

    // The deleted payments under the vouchers, with commands of their own: restoring a voucher
    // and restoring a payment are different decisions.
    auto *section = new QWidget(this);
    auto *box = new QVBoxLayout(section);
    box->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(PaymentBin::title(), section);
    caption->setAccessibleName(PaymentBin::title());
    box->addWidget(caption);
    spPayments = named(new QTableView(section), QStringLiteral("spPayments"), PaymentBin::title());
    spPayments->setModel(m_paymentsModel);
    spPayments->setSelectionBehavior(QAbstractItemView::SelectRows);
    spPayments->setSelectionMode(QAbstractItemView::ExtendedSelection);
    spPayments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spPayments->verticalHeader()->hide();
    spPayments->horizontalHeader()->setStretchLastSection(true);
    spPayments->horizontalHeader()->setDefaultSectionSize(spPayments->horizontalHeader()->minimumSectionSize());
    KeepColumnsFitted(spPayments);
    m_paymentsModel->setRightAligned(PaymentBin::amountColumns());
    box->addWidget(spPayments);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdRestorePayments = named(new QPushButton(QStringLiteral("입금·지급 복원(&P)"), section),
                               QStringLiteral("cmdRestorePayments"), QStringLiteral("입금·지급 복원"));
    cmdEmptyPayments = named(new QPushButton(QStringLiteral("입금·지급 비우기(&A)"), section),
                             QStringLiteral("cmdEmptyPayments"), QStringLiteral("입금·지급 비우기"));
    for (QPushButton *b : {cmdRestorePayments, cmdEmptyPayments}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    box->addLayout(buttons);
    // Between the vouchers' list and the window's command row.
    static_cast<QBoxLayout *>(layout())->insertWidget(1, section);
    connect(cmdRestorePayments, &QPushButton::clicked, this, [this] { cmdRestorePayments_Click(); });
    connect(cmdEmptyPayments, &QPushButton::clicked, this, [this] { cmdEmptyPayments_Click(); });
    Refresh_Payments();
    resize(width(), 560); // room for both lists, within a 768-pixel screen
}

void FrmDeleted::Refresh_Payments()
{
    if (const SqlError e = m_payments.load(m_paymentEntries); e.isError())
        m_prompt.show(queryError(e));
    QList<QStringList> rows;
    for (const PaymentBin::Entry &e : m_paymentEntries)
        rows << PaymentBin::texts(e);
    m_paymentsModel->setRows(rows);
}

void FrmDeleted::cmdRestorePayments_Click()
{
    QList<int> rows;
    for (const QModelIndex &i : spPayments->selectionModel()->selectedRows())
        rows << i.row();
    QList<qint64> ids;
    for (int row : rows)
        ids << m_paymentEntries.at(static_cast<size_t>(row)).deleted.payment.id;
    if (m_payments.restoreSelected(ids, m_prompt))
        Refresh_Payments();
}

void FrmDeleted::cmdEmptyPayments_Click()
{
    if (m_payments.askAndEmpty(static_cast<int>(m_paymentEntries.size()), m_prompt))
        Refresh_Payments();
}

void FrmDeleted::Refresh_List()
{
    if (const SqlError e = m_bin.load(m_entries); e.isError())
        m_prompt.show(queryError(e));
    QList<QStringList> rows;
    for (const RecycleBin::Entry &e : m_entries)
        rows << RecycleBin::texts(e);
    model().setRows(rows);
    if (!rows.isEmpty())
        spList->selectRow(0);
}

void FrmDeleted::cmdRestore_Click()
{
    QList<qint64> ids;
    for (int row : selectedRows())
        ids << m_entries.at(static_cast<size_t>(row)).row.totalId;
    if (m_bin.restoreSelected(ids, m_prompt)) {
        Refresh_List();
        emit restored(ids);
    }
}

void FrmDeleted::cmdEmpty_Click()
{
    if (m_bin.askAndEmpty(static_cast<int>(m_entries.size()), m_prompt))
        Refresh_List();
}
