// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtelvoxoptions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/callerid/telvoxports.h"
#include "core/shell/settingkeys.h"
#include "gui/ui/formhelpers.h"

FrmTelvoxOptions::FrmTelvoxOptions(AppSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("FrmTelvoxOptions"));
    setWindowTitle(QStringLiteral("발신번호 표시기 포트설정"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    const QString labels[2] = {QStringLiteral("사용포트1:"), QStringLiteral("사용포트2:")};
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(labels[i], this);
        txtPortNo[i] = named(new QLineEdit(this), QStringLiteral("txtPortNo_%1").arg(i), labels[i]);
        txtPortNo[i]->setMaxLength(50);
        txtPortNo[i]->installEventFilter(this);
        label->setBuddy(txtPortNo[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(txtPortNo[i], i, 1);
    }
    auto *note = named(new QLabel(QStringLiteral("※포트번호가 0일 경우, 장치사용 안함"), this), QStringLiteral("lblNote"),
                       QStringLiteral("※포트번호가 0일 경우, 장치사용 안함"));
    layout->addWidget(note);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK = named(new QPushButton(QStringLiteral("확인(&O)"), this), QStringLiteral("cmdOK"), QStringLiteral("확인"));
    cmdCancel = named(new QPushButton(QStringLiteral("취소(&C)"), this), QStringLiteral("cmdCancel"), QStringLiteral("취소"));
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    setTabOrder(txtPortNo[0], txtPortNo[1]);
    setTabOrder(txtPortNo[1], cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &FrmTelvoxOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void FrmTelvoxOptions::Form_Load()
{
    m_host = nullptr;
    const QStringList ports = TelvoxPorts::load(m_settings);
    for (int i = 0; i < 2; ++i)
        txtPortNo[i]->setText(ports.at(i));
}

void FrmTelvoxOptions::cmdOK_Click()
{
    // Closed under the numbers stored so far, before they change.
    if (m_host)
        m_host->CloseTelvox();
    for (int i = 0; i < 2; ++i)
        m_settings.set(Settings::telvoxPort(i), TelvoxPorts::storedText(txtPortNo[i]->text()));
    if (m_host)
        m_host->OpenTelvox();
    m_host = nullptr;
    accept();
}

bool FrmTelvoxOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPortNo[0] || watched == txtPortNo[1]) {
        if (event->type() == QEvent::FocusIn)
            SelectAllText(static_cast<QWidget *>(watched));
        else if (event->type() == QEvent::KeyPress
                 && KeyToTab(static_cast<QKeyEvent *>(event)->key(), static_cast<QWidget *>(watched)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
