// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtelvoxstanbylist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "core/callerid/waitingcalls.h"
#include "core/shell/appfolders.h"
#include "core/shell/settingkeys.h"
#include "core/layout/twips.h"
#include "gui/ui/formhelpers.h"

namespace {
const QString kHelpFile = QStringLiteral("doc/발신번호안내.txt");
}

FrmTelvoxStanbyList::FrmTelvoxStanbyList(AppSettings &settings, UserPrompt &prompt, WaitingCalls &calls,
                                         std::function<void()> showAllList, QWidget *parent)
    : HidingWindow(parent), m_settings(settings), m_prompt(prompt), m_calls(calls)
{
    setObjectName(QStringLiteral("FrmTelvoxStanbyList"));
    setWindowTitle(QStringLiteral("수신전화 처리대기"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    auto *heading = named(new QLabel(QStringLiteral("수신전화 처리대기 목록"), this), QStringLiteral("pnlTitle"),
                          QStringLiteral("수신전화 처리대기 목록"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setFrameShape(QFrame::StyledPanel);
    heading->setMinimumHeight(26);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    List1 = named(new QListView(this), QStringLiteral("List1"), QStringLiteral("수신전화 처리대기 목록"));
    List1->setModel(&m_calls);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(List1, 1);
    auto *buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString &name, const QString &text, const QString &accessible) {
        auto *b = named(new QPushButton(text, this), name, accessible);
        buttons->addWidget(b);
        return b;
    };
    btnDel = button(QStringLiteral("btnDel"), QStringLiteral("삭제(&E)"), QStringLiteral("삭제"));
    btnAllDel = button(QStringLiteral("btnAllDel"), QStringLiteral("전체삭제(&A)"), QStringLiteral("전체삭제"));
    btnAllList = button(QStringLiteral("btnAllList"), QStringLiteral("전체수신List"), QStringLiteral("전체수신List"));
    buttons->addStretch(1);
    cmdHelp = button(QStringLiteral("cmdHelp"), QStringLiteral("?"), QStringLiteral("도움말"));
    cmdHelp->setFixedWidth(32);
    layout->addLayout(buttons);
    connect(btnDel, &QPushButton::clicked, this, &FrmTelvoxStanbyList::btnDel_Click);
    connect(btnAllDel, &QPushButton::clicked, this, [this] { m_calls.setStringList({}); });
    connect(btnAllList, &QPushButton::clicked, this, [showAllList = std::move(showAllList)] { showAllList(); });
    connect(cmdHelp, &QPushButton::clicked, this, &FrmTelvoxStanbyList::cmdHelp_Click);
    resize(360, 300);

    const int left = m_settings.get(Settings::waitingListX);
    const int top = m_settings.get(Settings::waitingListY);
    // A value that is not a number reads as -1 and leaves the window where it was designed.
    if (left > 0 && top > 0)
        move(Twips::toPixels(left, logicalDpiX()), Twips::toPixels(top, logicalDpiY()));
    m_helpPath = AppFolders::programFile(kHelpFile);
    if (m_helpPath.isEmpty())
        cmdHelp->hide();
}

void FrmTelvoxStanbyList::btnDel_Click()
{
    QList<int> rows;
    for (const QModelIndex &i : List1->selectionModel()->selectedIndexes())
        rows << i.row();
    if (rows.isEmpty()) {
        m_prompt.MsgInfo(QStringLiteral("삭제할 항목을 선택해 주세요."));
        return;
    }
    m_calls.removeItems(rows);
}

void FrmTelvoxStanbyList::cmdHelp_Click()
{
    const QString path = m_helpPath.isEmpty()
                             ? QDir(QCoreApplication::applicationDirPath()).filePath(kHelpFile)
                             : m_helpPath;
    if (QFileInfo::exists(path))
        OpenFile(this, path);
    else
        m_prompt.MsgInfo(QStringLiteral("도움말 파일을 찾을 수 없습니다.") + QStringLiteral("\r\n")
                         + QDir::toNativeSeparators(path));
}

void FrmTelvoxStanbyList::unload()
{
    hide();
    const int left = Twips::fromPixels(x(), logicalDpiX());
    const int top = Twips::fromPixels(y(), logicalDpiY());
    if (left > 0 && top > 0 && !isMinimized()) {
        m_settings.set(Settings::waitingListX, left);
        m_settings.set(Settings::waitingListY, top);
    }
}
