// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmclient_write.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/documents/businessstore.h"
#include "core/layout/twips.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/frmfloatmsg.h"
#include "businessfields.h"
#include "frmpost.h"

namespace {
constexpr int FieldWidthTwips[ClientEditor::FieldCount] = {1635, 1635, 1635, 1170, 4500, 4500};
} // namespace

FrmClient_write::FrmClient_write(Database &db, UserPrompt &prompt, const QString &postFile, QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_postFile(postFile), m_editor(db, prompt)
{
    setObjectName(QStringLiteral("FrmClient_write"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    const double dpi = logicalDpiX();
    for (int i = 0; i < ClientEditor::FieldCount; ++i) {
        const QString caption = ClientEditor::fieldCaption(i);
        pnlTitle[i] = new QLabel(caption, this);
        pnlTitle[i]->setObjectName(QStringLiteral("pnlTitle_%1").arg(i));
        pnlTitle[i]->setFrameShape(QFrame::StyledPanel);
        pnlTitle[i]->setAlignment(Qt::AlignCenter);
        pnlTitle[i]->setMinimumWidth(Twips::toPixels(1000, dpi));
        txtInput[i] = named(new QLineEdit(this), QStringLiteral("txtInput_%1").arg(i), caption);
        txtInput[i]->setFixedWidth(Twips::toPixels(FieldWidthTwips[i], dpi));
        txtInput[i]->installEventFilter(this);
        pnlTitle[i]->setBuddy(txtInput[i]);
        grid->addWidget(pnlTitle[i], i, 0);
        if (i == ClientEditor::Zipcode) {
            btnPost = named(new QPushButton(QStringLiteral("주소검색"), this), QStringLiteral("btnPost"),
                            QStringLiteral("주소검색"));
            btnPost->setAutoDefault(false);
            btnPost->setFocusPolicy(Qt::ClickFocus);
            auto *row = new QHBoxLayout;
            row->addWidget(txtInput[i]);
            row->addWidget(btnPost);
            row->addStretch(1);
            grid->addLayout(row, i, 1);
        } else {
            grid->addWidget(txtInput[i], i, 1, Qt::AlignLeft);
        }
    }
    // Made before the buttons, so that the tab order runs through it after the fields above.
    grpBusiness = new ClientBusinessBox(prompt, this);
    ChkContinueAdd = named(new QCheckBox(QStringLiteral("계속 등록하기(&N)"), this), QStringLiteral("ChkContinueAdd"),
                           QStringLiteral("계속 등록하기"));
    btnSave = named(new QPushButton(QStringLiteral("저  장(&S)"), this), QStringLiteral("btnSave"),
                    QStringLiteral("저장"));
    btnCancel = named(new QPushButton(QStringLiteral("취  소(&C)"), this), QStringLiteral("btnCancel"),
                      QStringLiteral("취소"));
    for (QPushButton *b : {btnSave, btnCancel})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ChkContinueAdd);
    buttons->addStretch(1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    auto *v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(grpBusiness);
    v->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(btnSave, &QPushButton::clicked, this, &FrmClient_write::btnSave_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnPost, &QPushButton::clicked, this, &FrmClient_write::btnPost_Click);
    ClearInput();
}

FrmClient_write::~FrmClient_write() = default;

void FrmClient_write::setAddEditMode(ClientEditor::EditMode eEditMode)
{
    m_editor.setAddEditMode(eEditMode);
    setWindowTitle(m_editor.caption());
}

void FrmClient_write::setBusiMode(BusiMode iBusiMode)
{
    m_editor.setBusiMode(iBusiMode);
    setWindowTitle(m_editor.caption());
}

void FrmClient_write::setCCode(ClientCode code)
{
    ChkContinueAdd->hide();
    ChkContinueAdd->setChecked(false);
    if (const auto c = m_editor.LoadClient(code)) {
        showFields(*c);
        ClientBusiness details;
        if (const SqlError e = BusinessStore(m_db).readClient(m_editor.busiMode(), code, details); !e.isError())
            grpBusiness->showDetails(details);
    }
}

void FrmClient_write::setDefaultName(const QString &sName)
{
    ChkContinueAdd->hide();
    ChkContinueAdd->setChecked(false);
    txtInput[ClientEditor::Name]->setText(sName);
}

void FrmClient_write::showFields(const ClientRecord &c)
{
    const QString values[ClientEditor::FieldCount] = {c.name, c.tel, c.phone, c.zipcode, c.address, c.memo};
    for (int i = 0; i < ClientEditor::FieldCount; ++i)
        txtInput[i]->setText(values[i]);
}

ClientRecord FrmClient_write::fields() const
{
    ClientRecord c;
    c.name = txtInput[ClientEditor::Name]->text();
    c.tel = txtInput[ClientEditor::Tel]->text();
    c.phone = txtInput[ClientEditor::Phone]->text();
    c.zipcode = txtInput[ClientEditor::Zipcode]->text();
    c.address = txtInput[ClientEditor::Address]->text();
    c.memo = txtInput[ClientEditor::Memo]->text();
    return c;
}

void FrmClient_write::ClearInput()
{
    for (QLineEdit *e : txtInput)
        e->clear();
    grpBusiness->clear();
    m_editor.clear();
    m_keepAddressCaret = false;
    if (isVisible())
        txtInput[ClientEditor::Name]->setFocus();
}

void FrmClient_write::btnSave_Click()
{
    ClientEditor::Hooks hooks;
    hooks.syncUpdateClient = m_callForm;
    // A wrong number is refused before anything is written.
    if (!refuseWrongBusinessNumber(grpBusiness->txtBusi[ClientBusinessBox::Number], m_prompt).isEmpty())
        return;
    hooks.notice = [this] { ShowFloatMsg(FloatMsg::saved(), FloatMsg::Delay, 1, FloatMsgCyan, this); };
    switch (m_editor.Save(fields(), hooks)) {
    case ClientEditor::SaveResult::Refused:
        txtInput[ClientEditor::Name]->setFocus();
        return;
    case ClientEditor::SaveResult::Failed:
        return;
    case ClientEditor::SaveResult::Saved:
        if (!saveBusiness())
            return;
        if (ChkContinueAdd->isChecked())
            ClearInput();
        else
            accept();
        return;
    }
}

bool FrmClient_write::saveBusiness()
{
    const BusinessSave saved = BusinessStore(m_db).saveClient(m_editor.busiMode(), m_editor.CCode(), grpBusiness->details());
    if (!saved.refused.isEmpty())
        m_prompt.MsgWarn(saved.refused);
    else if (saved.error.isError())
        m_prompt.ShowErrBox(QStringLiteral("자료를 저장하는 중 오류가 발생했습니다."), saved.error.code, saved.error.text);
    return saved.ok();
}

void FrmClient_write::btnPost_Click()
{
    QLineEdit *zip = txtInput[ClientEditor::Zipcode];
    QLineEdit *address = txtInput[ClientEditor::Address];
    FrmPost post(m_postFile, m_prompt, this);
    if (!post.isAvailable()) {
        m_prompt.MsgWarn(post.errorText());
        return;
    }
    post.SetObject(zip, address);
    const quint8 found = post.InitForm(zip->text().trimmed());
    if (found == 0) {
        m_prompt.MsgPlain(QStringLiteral("해당하는 주소가 검색되지 않습니다."));
        zip->clear();
        zip->setFocus();
        return;
    }
    if (found == 2) {
        post.adjustSize();
        PlaceForm(&post, pnlTitle[ClientEditor::Name], 0, 0);
        post.exec();
    }
    // The user goes on with the detailed address: the caret, not a selection, ends the
    // address, also when the focus arrives later with the window coming back from the list.
    m_keepAddressCaret = !address->text().isEmpty();
    address->setFocus();
    if (m_keepAddressCaret) {
        address->setText(address->text() + QLatin1Char(' '));
        address->deselect();
        address->end(false);
    }
}

bool FrmClient_write::eventFilter(QObject *watched, QEvent *event)
{
    int index = -1;
    for (int i = 0; i < ClientEditor::FieldCount; ++i)
        if (watched == txtInput[i])
            index = i;
    if (index < 0)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (index != ClientEditor::Address || !m_keepAddressCaret)
            SelectAllText(txtInput[index]);
        break;
    case QEvent::FocusOut: {
        // Another window or a menu taking the focus for a while is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (index == ClientEditor::Address && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_keepAddressCaret = false;
        if (index == ClientEditor::Tel || index == ClientEditor::Phone)
            txtInput[index]->setText(FormatTel(txtInput[index]->text()));
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && index == ClientEditor::Zipcode && !txtInput[index]->text().isEmpty()) {
            btnPost_Click();
            return true;
        }
        if (KeyToTab(key, txtInput[index]))
            return true;
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
