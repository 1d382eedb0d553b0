// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtaxinvoice.h"

#include <QDate>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/documents/businessnumber.h"
#include "core/documents/hometaxsheet.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/formhelpers.h"

namespace {

const QString kTitle = QStringLiteral("세금계산서 자료");

QTableWidget *table(QWidget *parent, const QString &name, const QString &accessible, const QStringList &headers)
{
    auto *t = named(new QTableWidget(0, int(headers.size()), parent), name, accessible);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    // Fitted to their contents after a query, the columns never shrink below a readable header.
    t->horizontalHeader()->setMinimumSectionSize(90);
    return t;
}

void fillRow(QTableWidget *t, int row, const QStringList &texts, int firstAmount, int lastAmount)
{
    for (int c = 0; c < texts.size(); ++c) {
        auto *item = new QTableWidgetItem(texts[c]);
        if (c >= firstAmount && c <= lastAmount)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(row, c, item);
    }
}

} // namespace

FrmTaxInvoice::FrmTaxInvoice(Database &db, UserPrompt &prompt, QString reportFolder, QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_reportFolder(std::move(reportFolder))
{
    setObjectName(QStringLiteral("FrmTaxInvoice"));
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    // Invoices are issued by the 10th for the month before.
    const QDate lastMonth = QDate::currentDate().addMonths(-1);
    txtMonth = named(new QLineEdit(lastMonth.toString(QStringLiteral("yyyy-MM")), this), QStringLiteral("txtMonth"),
                     QStringLiteral("월"));
    txtMonth->setInputMask(QStringLiteral("9999-99"));
    optPerCustomer = named(new QRadioButton(QStringLiteral("거래처별(&K)"), this), QStringLiteral("optPerCustomer"),
                           QStringLiteral("거래처별"));
    optPerVoucher = named(new QRadioButton(QStringLiteral("전표별(&V)"), this), QStringLiteral("optPerVoucher"),
                          QStringLiteral("전표별"));
    optPerCustomer->setChecked(true);
    btnRefresh = named(new QPushButton(QStringLiteral("조회(&F)"), this), QStringLiteral("btnRefresh"), QStringLiteral("조회"));
    auto *top = new QHBoxLayout;
    auto *monthLabel = new QLabel(QStringLiteral("월(&M):"), this);
    monthLabel->setBuddy(txtMonth);
    top->addWidget(monthLabel);
    top->addWidget(txtMonth);
    top->addWidget(optPerCustomer);
    top->addWidget(optPerVoucher);
    top->addWidget(btnRefresh);
    top->addStretch(1);

    lblIssuable = new QLabel(QStringLiteral("발급할 세금계산서"), this);
    spIssuable = table(this, QStringLiteral("spIssuable"), QStringLiteral("발급할 세금계산서"),
                       {QStringLiteral("상호"), QStringLiteral("사업자등록번호"), QStringLiteral("건수"),
                        QStringLiteral("공급가액"), QStringLiteral("세액"), QStringLiteral("합계")});
    auto *unissuableLabel = new QLabel(QStringLiteral("발급할 수 없는 매출"), this);
    spUnissuable = table(this, QStringLiteral("spUnissuable"), QStringLiteral("발급할 수 없는 매출"),
                         {QStringLiteral("상호"), QStringLiteral("건수"), QStringLiteral("합계"), QStringLiteral("사유")});
    btnSave = named(new QPushButton(QStringLiteral("홈택스 파일 저장(&S)"), this), QStringLiteral("btnSave"),
                    QStringLiteral("홈택스 파일 저장"));
    btnClose = named(new QPushButton(QStringLiteral("닫기(&C)"), this), QStringLiteral("btnClose"), QStringLiteral("닫기"));
    for (QPushButton *b : {btnRefresh, btnSave, btnClose})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto *v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(lblIssuable);
    v->addWidget(spIssuable, 3);
    v->addWidget(unissuableLabel);
    v->addWidget(spUnissuable, 2);
    v->addLayout(buttons);
    resize(760, 560);

    connect(btnRefresh, &QPushButton::clicked, this, &FrmTaxInvoice::btnRefresh_Click);
    connect(btnSave, &QPushButton::clicked, this, &FrmTaxInvoice::btnSave_Click);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtMonth, &QLineEdit::returnPressed, this, &FrmTaxInvoice::btnRefresh_Click);
}

bool FrmTaxInvoice::btnRefresh_Click()
{
    const QDate month = QDate::fromString(txtMonth->text() + QStringLiteral("-01"), Qt::ISODate);
    if (!month.isValid()) {
        m_prompt.MsgWarn(QStringLiteral("월을 2026-11 처럼 입력하세요."), kTitle);
        txtMonth->setFocus();
        return false;
    }
    const auto grouping = optPerVoucher->isChecked() ? TaxInvoiceData::Grouping::PerVoucher : TaxInvoiceData::Grouping::PerCustomer;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SqlError error = TaxInvoiceData::build(m_db, month, grouping, m_data);
    QGuiApplication::restoreOverrideCursor();
    spIssuable->setRowCount(0);
    spUnissuable->setRowCount(0);
    if (error.isError()) {
        m_data = {};
        m_prompt.ShowErrBox(QStringLiteral("장부를 읽지 못했습니다."), error.code, error.text);
        return false;
    }
    spIssuable->setRowCount(int(m_data.invoices.size()));
    VatSplit sum;
    for (int r = 0; r < m_data.invoices.size(); ++r) {
        const TaxInvoice &t = m_data.invoices[r];
        sum += t.total;
        fillRow(spIssuable, r,
                {t.customerName, BusinessNumber::parse(t.business.number).formatted(), QString::number(t.items.size()),
                 formatMoney(t.total.supply), formatMoney(t.total.tax), formatMoney(t.total.total())},
                2, 5);
    }
    lblIssuable->setText(QStringLiteral("발급할 세금계산서: %1장, 합계 %2원 (작성일자 %3)")
                             .arg(m_data.invoices.size())
                             .arg(formatMoney(sum.total()), m_data.issueDate.toString(Qt::ISODate)));
    spUnissuable->setRowCount(int(m_data.unissuable.size()));
    for (int r = 0; r < m_data.unissuable.size(); ++r) {
        const UnissuableSales &u = m_data.unissuable[r];
        fillRow(spUnissuable, r, {u.customerName, QString::number(u.vouchers), formatMoney(u.total.total()), u.reason}, 1, 2);
    }
    spIssuable->resizeColumnsToContents();
    spUnissuable->resizeColumnsToContents();
    return true;
}

QString FrmTaxInvoice::saveTo(const QString &path)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = HometaxSheet::write(m_data, path);
    QGuiApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        m_prompt.MsgWarn(QStringLiteral("저장하지 못했습니다.\r\n") + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + error,
                         kTitle);
    else
        m_prompt.MsgInfo(QStringLiteral("홈택스 일괄발급 파일을 저장했습니다: 세금계산서 %1장\r\n").arg(m_data.invoices.size())
                             + QDir::toNativeSeparators(path),
                         kTitle);
    return error;
}

void FrmTaxInvoice::btnSave_Click()
{
    if (m_data.invoices.isEmpty()) {
        m_prompt.MsgInfo(QStringLiteral("발급할 세금계산서가 없습니다. 먼저 월을 조회하세요."), kTitle);
        return;
    }
    const QString suggested = QDir(m_reportFolder)
                                  .filePath(QStringLiteral("세금계산서_") + m_data.issueDate.toString(QStringLiteral("yyyyMM"))
                                            + QStringLiteral(".xlsx"));
    QString path = saveFileName(this, kTitle + QStringLiteral(" 저장"), suggested, QStringLiteral("엑셀 파일 (*.xlsx)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    saveTo(path);
}
