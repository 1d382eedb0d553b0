// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "core/shell/settingkeys.h"
#include "hidingwindow.h"

class AppSettings;
class QLabel;
class QListView;
class QPushButton;
class UserPrompt;
class WaitingCalls;

// "수신전화 처리대기": the calls that came without a number. Its list is the waiting-call queue,
// which lives on while the window is hidden.
class FrmTelvoxStanbyList final : public HidingWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmTelvoxStanbyList)

public:
    // showAllList: what "전체수신List" shows (the call history window).
    FrmTelvoxStanbyList(AppSettings &settings, UserPrompt &prompt, WaitingCalls &calls,
                        std::function<void()> showAllList, QWidget *parent = nullptr);

    static QString xKey() { return Settings::waitingListX.name; }
    static QString yKey() { return Settings::waitingListY.name; }

    // Hides the window and stores its position, as the program's end does.
    void unload();

    QListView *List1 = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnAllDel = nullptr;
    QPushButton *btnAllList = nullptr;
    QPushButton *cmdHelp = nullptr;

private:
    void btnDel_Click();
    void cmdHelp_Click();

    AppSettings &m_settings;
    UserPrompt &m_prompt;
    WaitingCalls &m_calls;
    QString m_helpPath;
};
