// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmbusinessinfo.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "core/documents/businessnumber.h"
#include "core/documents/businessstore.h"
#include "gui/masterdata/businessfields.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/frmfloatmsg.h"

namespace {
const QString kTitle = QStringLiteral("사업자 정보");
}

FrmBusinessInfo::FrmBusinessInfo(Database &db, UserPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt)
{
    setObjectName(QStringLiteral("FrmBusinessInfo"));
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    const QString captions[FieldCount] = {QStringLiteral("상호"),   QStringLiteral("대표자"),      QStringLiteral("사업자등록번호"),
                                          QStringLiteral("업태"),   QStringLiteral("종목"),        QStringLiteral("사업장 주소"),
                                          QStringLiteral("전화"),   QStringLiteral("이메일")};
    auto *v = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    v->addLayout(grid);
    grid->setHorizontalSpacing(4);
    for (int i = 0; i < FieldCount; ++i) {
        txtShop[i] = addBusinessField(grid, i, captions[i], QStringLiteral("txtShop_%1").arg(i));
        txtShop[i]->setMinimumWidth(i == Address ? 360 : 200);
    }
    checkBusinessNumberOnLeave(txtShop[Number], prompt);
    chkVatIncluded = named(new QCheckBox(QStringLiteral("부가세포함 (판매 금액에 부가세가 들어 있음)"), this),
                           QStringLiteral("chkVatIncluded"), QStringLiteral("부가세포함"));
    btnSave = named(new QPushButton(QStringLiteral("저  장(&S)"), this), QStringLiteral("btnSave"), QStringLiteral("저장"));
    btnCancel = named(new QPushButton(QStringLiteral("취  소(&C)"), this), QStringLiteral("btnCancel"), QStringLiteral("취소"));
    for (QPushButton *b : {btnSave, btnCancel})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    v->addWidget(chkVatIncluded);
    v->addLayout(buttons);
    connect(btnSave, &QPushButton::clicked, this, &FrmBusinessInfo::btnSave_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool FrmBusinessInfo::load()
{
    ShopDetails shop;
    if (const SqlError e = BusinessStore(m_db).readShop(shop); e.isError()) {
        m_prompt.ShowErrBox(QStringLiteral("사업자 정보를 읽지 못했습니다."), e.code, e.text);
        return false;
    }
    const BusinessNumber n = BusinessNumber::parse(shop.number);
    const QString values[FieldCount] = {shop.name,     shop.owner,   n.ok() ? n.formatted() : shop.number,
                                        shop.busiType, shop.busiItem, shop.address, shop.tel, shop.email};
    for (int i = 0; i < FieldCount; ++i)
        txtShop[i]->setText(values[i]);
    chkVatIncluded->setChecked(shop.vatIncluded);
    return true;
}

void FrmBusinessInfo::btnSave_Click()
{
    if (!refuseWrongBusinessNumber(txtShop[Number], m_prompt).isEmpty())
        return;
    ShopDetails shop;
    QString *fields[FieldCount] = {&shop.name,     &shop.owner,   &shop.number, &shop.busiType,
                                   &shop.busiItem, &shop.address, &shop.tel,    &shop.email};
    for (int i = 0; i < FieldCount; ++i)
        *fields[i] = txtShop[i]->text().trimmed();
    shop.vatIncluded = chkVatIncluded->isChecked();
    const BusinessSave saved = BusinessStore(m_db).saveShop(shop);
    if (!saved.refused.isEmpty()) {
        m_prompt.MsgWarn(saved.refused, kTitle);
        return;
    }
    if (saved.error.isError()) {
        m_prompt.ShowErrBox(QStringLiteral("자료를 저장하는 중 오류가 발생했습니다."), saved.error.code, saved.error.text);
        return;
    }
    ShowFloatMsg(FloatMsg::saved(), FloatMsg::Delay, 1, FloatMsgCyan, this);
    accept();
}
