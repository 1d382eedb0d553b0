// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmledgerlocation.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerlocation.h"
#include "gui/ui/formhelpers.h"

FrmLedgerLocation::FrmLedgerLocation(AppSettings &settings, UserPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_prompt(prompt)
{
    setObjectName(QStringLiteral("FrmLedgerLocation"));
    setWindowTitle(QStringLiteral("장부 위치"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    optFile = named(new QRadioButton(LedgerLocation::fileCaption() + QStringLiteral("(&F)"), this), QStringLiteral("optFile"),
                    LedgerLocation::fileCaption());
    optServer = named(new QRadioButton(LedgerLocation::serverCaption() + QStringLiteral("(&S)"), this),
                      QStringLiteral("optServer"), LedgerLocation::serverCaption());
    layout->addWidget(optFile);
    layout->addWidget(optServer);

    auto *form = new QFormLayout;
    const auto field = [&](QLineEdit *&edit, const char *name, const QString &label) {
        edit = named(new QLineEdit(this), QString::fromLatin1(name), label);
        edit->setMaxLength(255);
        form->addRow(label, edit);
    };
    field(txtHost, "txtHost", QStringLiteral("서버 주소:"));
    field(txtPort, "txtPort", QStringLiteral("포트:"));
    field(txtDatabase, "txtDatabase", QStringLiteral("데이터베이스:"));
    field(txtUser, "txtUser", QStringLiteral("사용자:"));
    txtPort->setMaxLength(5);
    layout->addLayout(form);
    const QString noteText = QStringLiteral("※비밀번호는 저장하지 않고 시작할 때 묻습니다.\n※바꾼 위치는 프로그램을 다시 시작하면 쓰입니다.");
    layout->addWidget(named(new QLabel(noteText, this), QStringLiteral("lblNote"), noteText));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK = named(new QPushButton(QStringLiteral("확인(&O)"), this), QStringLiteral("cmdOK"), QStringLiteral("확인"));
    cmdCancel = named(new QPushButton(QStringLiteral("취소(&C)"), this), QStringLiteral("cmdCancel"), QStringLiteral("취소"));
    cmdOK->setDefault(true);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    const LedgerLocation l = LedgerLocation::read(m_settings);
    (l.kind == LedgerLocation::Kind::Server ? optServer : optFile)->setChecked(true);
    txtHost->setText(l.host);
    txtPort->setText(QString::number(l.port));
    txtDatabase->setText(l.database);
    txtUser->setText(l.user);
    showKind();
    connect(optServer, &QRadioButton::toggled, this, &FrmLedgerLocation::showKind);
    connect(cmdOK, &QPushButton::clicked, this, &FrmLedgerLocation::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmLedgerLocation::showKind()
{
    for (QLineEdit *e : {txtHost, txtPort, txtDatabase, txtUser})
        e->setEnabled(optServer->isChecked());
}

void FrmLedgerLocation::cmdOK_Click()
{
    LedgerLocation l;
    l.kind = optServer->isChecked() ? LedgerLocation::Kind::Server : LedgerLocation::Kind::File;
    l.host = txtHost->text().trimmed();
    l.port = LedgerLocation::parsePort(txtPort->text());
    l.database = txtDatabase->text().trimmed();
    l.user = txtUser->text().trimmed();
    if (const QString problem = l.problem(); !problem.isEmpty()) {
        m_prompt.MsgWarn(problem, windowTitle());
        QLineEdit *at = l.host.isEmpty() ? txtHost : l.port == 0 ? txtPort : l.database.isEmpty() ? txtDatabase : txtUser;
        at->setFocus();
        at->selectAll();
        return;
    }
    if (l.kind == LedgerLocation::Kind::File) {
        // The server's fields are kept for a later switch back.
        LedgerLocation stored = LedgerLocation::read(m_settings);
        stored.kind = l.kind;
        l = stored;
    }
    const LedgerLocation before = LedgerLocation::read(m_settings);
    l.write(m_settings);
    if (before.kind != l.kind || (l.kind == LedgerLocation::Kind::Server && before.describe() != l.describe()))
        m_prompt.MsgInfo(QStringLiteral("장부 위치를 바꾸었습니다. 프로그램을 다시 시작하면 새 위치의 장부를 엽니다."), windowTitle());
    accept();
}
