// SPDX-License-Identifier: GPL-3.0-or-later
#include "frminitmsg.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/shell/appfolders.h"
#include "core/shell/settingkeys.h"
#include "core/shell/ledgerlocation.h"

FrmInitMsg::FrmInitMsg(AppSettings &settings, const AppPaths &paths, QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("FrmInitMsg"));
    setWindowTitle(QStringLiteral("안내 메세지"));
    setAccessibleName(QStringLiteral("안내 메세지"));
    auto *layout = new QVBoxLayout(this);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("안내 그림"));
    const QString picture = AppFolders::programFile(QStringLiteral("Image/SoftwareInfoMsg.jpg"));
    if (!picture.isEmpty())
        Picture1->setPixmap(QPixmap(picture));
    else
        Picture1->hide();
    layout->addWidget(Picture1);

    lblMessage = new QLabel(welcomeText(paths, LedgerLocation::read(settings)), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setAccessibleName(QStringLiteral("안내 메세지"));
    lblMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMessage->setWordWrap(true);
    lblMessage->setMinimumWidth(460);
    layout->addWidget(lblMessage);

    auto *row = new QHBoxLayout;
    ChkCheck = new QCheckBox(QStringLiteral("다음부터 이 화면을 띄우지 않음."), this);
    ChkCheck->setObjectName(QStringLiteral("ChkCheck"));
    ChkCheck->setAccessibleName(ChkCheck->text());
    Command1 = new QPushButton(QStringLiteral("닫기(&C)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("닫기"));
    Command1->setDefault(true);
    row->addWidget(ChkCheck);
    row->addStretch(1);
    row->addWidget(Command1);
    layout->addLayout(row);

    // Only the check box writes the setting, at once, on every click.
    connect(ChkCheck, &QCheckBox::clicked, this, [this](bool checked) {
        m_settings.set(Settings::noMsg, checked);
        m_settings.sync();
    });
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

QString FrmInitMsg::welcomeText(const AppPaths &paths, const LedgerLocation &location)
{
    // Where the books are, and how they are kept safe, differ between a file and a server.
    const QString where =
        location.kind == LedgerLocation::Kind::Server
            ? QStringLiteral("장부 서버: %1\n"
                             "이 서버의 장부 하나를 여러 PC가 함께 씁니다. 도구 메뉴의 백업은 서버의 장부를 이 PC에 복사합니다.")
                  .arg(location.describe())
            : QStringLiteral("장부 파일: %1\n"
                             "이 파일 하나에 모든 전표와 거래처가 저장됩니다. 백업할 때는 이 파일을 복사하십시오.")
                  .arg(QDir::toNativeSeparators(paths.gDbFile));
    return QStringLiteral(
               "솔빛셈에 오신 것을 환영합니다.\n\n"
               "%1\n\n"
               "처음 쓰실 때 알아 두실 키\n"
               "  · 맨 아래 빈 줄에 전표를 입력합니다. 품명을 입력하면 전표가 저장됩니다.\n"
               "  · Enter: 다음 칸으로,  Esc: 입력 취소\n"
               "  · F3: 거래처명 검색,  F4: 선택한 전표 삭제\n"
               "  · Alt+F 검색,  Alt+G 그래프,  Alt+W 암호설정,  Alt+P 인쇄,  Alt+X 종료")
        .arg(where);
}
