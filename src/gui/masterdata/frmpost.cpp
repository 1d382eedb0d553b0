// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmpost.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "core/masterdata/texttablemodel.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/spreadhelpers.h"

namespace {
enum Column { Zipcode, Sido, Gugun, Dong, Bunji };
} // namespace

FrmPost::FrmPost(const QString &postFile, UserPrompt &prompt, QWidget *parent)
    : QDialog(parent),
      m_prompt(prompt),
      m_model(new TextTableModel({QStringLiteral("우편번호"), QStringLiteral("시 / 도"), QStringLiteral("구 / 군"),
                                  QStringLiteral("동 / 면"), QStringLiteral("번   지")},
                                 this))
{
    setObjectName(QStringLiteral("FrmPost"));
    setWindowTitle(QStringLiteral("우편번호 검색"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    lblInput = new QLabel(QStringLiteral("검  색"), this);
    txtinput = named(new QLineEdit(this), QStringLiteral("txtinput"), QStringLiteral("검  색"));
    lblInput->setBuddy(txtinput);
    btnFind = named(new QPushButton(QStringLiteral("검색(&F)"), this), QStringLiteral("btnFind"),
                    QStringLiteral("검색"));
    btnQuit = named(new QPushButton(QStringLiteral("닫기(&Q)"), this), QStringLiteral("btnQuit"),
                    QStringLiteral("닫기"));
    for (QPushButton *b : {btnFind, btnQuit})
        b->setAutoDefault(false);
    pnlCaption = new QLabel(this);
    pnlCaption->setObjectName(QStringLiteral("pnlCaption"));
    pnlCaption->setFrameShape(QFrame::StyledPanel);
    pnlCaption->setFrameShadow(QFrame::Sunken);
    grdList = named(new QTableView(this), QStringLiteral("grdList"), QStringLiteral("우편번호 목록"));
    grdList->setModel(m_model);
    CommonSpreadDesign(grdList, SpreadOption::ReadOnly | SpreadOption::RowMode | SpreadOption::Alternating);
    grdList->verticalHeader()->hide();
    grdList->verticalHeader()->setDefaultSectionSize(grdList->fontMetrics().height() + 6);
    const int ch = grdList->fontMetrics().averageCharWidth();
    const int widths[] = {9, 7, 14, 20, 12};
    for (int c = 0; c < 5; ++c)
        grdList->setColumnWidth(c, widths[c] * ch + 8);
    grdList->horizontalHeader()->setStretchLastSection(true);
    KeepColumnsFitted(grdList);

    auto *top = new QHBoxLayout;
    top->addWidget(lblInput);
    top->addWidget(txtinput, 1);
    top->addWidget(btnFind);
    top->addWidget(btnQuit);
    auto *v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(pnlCaption);
    v->addWidget(grdList, 1);
    resize(70 * ch + 60, 380);

    connect(btnFind, &QPushButton::clicked, this, [this] { InitForm(txtinput->text().trimmed()); });
    connect(btnQuit, &QPushButton::clicked, this, &QDialog::reject);
    connect(grdList, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        if (i.isValid())
            Choose();
    });
    txtinput->installEventFilter(this);
    grdList->installEventFilter(this);

    m_post.open(postFile);
}

FrmPost::~FrmPost() = default;

void FrmPost::SetObject(QLineEdit *objParam1, QLineEdit *objParam2)
{
    if (!m_zipTarget)
        m_zipTarget = objParam1;
    if (!m_addressTarget)
        m_addressTarget = objParam2;
}

quint8 FrmPost::InitForm(const QString &sData)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<QStringList> rows;
    if (const auto found = m_post.search(sData, m_prompt)) {
        rows.reserve(static_cast<qsizetype>(found->size()));
        for (const PostalRow &r : *found)
            rows.append({r.zipcode, r.sido, r.gugun, r.dong, r.bunji});
    }
    m_model->setRows(std::move(rows));
    quint8 result = 2;
    if (m_model->rowCount() == 0) {
        result = 0;
    } else if (m_model->rowCount() == 1) {
        fill(*PostalSearch::pick(rowAt(0), PostalSearch::PickedBy::SingleMatch));
        result = 1;
    }
    if (m_model->rowCount() > 0)
        grdList->setCurrentIndex(m_model->index(0, 0));
    QApplication::restoreOverrideCursor();
    return result;
}

void FrmPost::Choose()
{
    const QModelIndex i = grdList->currentIndex();
    if (!i.isValid())
        return;
    const auto picked = PostalSearch::pick(rowAt(i.row()), PostalSearch::PickedBy::List);
    if (!picked)
        return;
    fill(*picked);
    accept();
}

PostalRow FrmPost::rowAt(int r) const
{
    return {m_model->text(r, Zipcode), m_model->text(r, Sido), m_model->text(r, Gugun), m_model->text(r, Dong),
            m_model->text(r, Bunji)};
}

void FrmPost::fill(const PostalPick &pick)
{
    if (m_zipTarget)
        m_zipTarget->setText(pick.zipcode);
    if (m_addressTarget)
        m_addressTarget->setText(pick.address);
}

void FrmPost::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    grdList->setFocus();
    pnlCaption->setText(QStringLiteral("읍/면/동으로 검색하세요. [전체검색 : 빈칸]"));
}

bool FrmPost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtinput)
                InitForm(txtinput->text().trimmed());
            else if (watched == grdList)
                Choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
