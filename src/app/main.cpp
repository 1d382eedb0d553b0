// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "data/database.h"
#include "ledger/frmmain.h"
#include "shell/appsettings.h"
#include "ui/formhelpers.h"
#include "ui/messageboxprompt.h"

namespace {

// Without a display Qt would abort with a plugin dump; say plainly what is missing instead.
bool hasDisplay()
{
#if defined(Q_OS_LINUX)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

void chooseKoreanFont()
{
    const QStringList preferred{QStringLiteral("굴림"), QStringLiteral("Gulim"), QStringLiteral("NanumGothic"),
                                QStringLiteral("나눔고딕"), QStringLiteral("Noto Sans CJK KR")};
    const QStringList families = QFontDatabase::families();
    for (const QString &f : preferred) {
        if (families.contains(f)) {
            QFont font(f);
            font.setPointSize(9);
            QApplication::setFont(font);
            return;
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("솔빛셈을 실행하려면 화면(디스플레이)이 필요합니다.\n"
                   "그래픽 데스크톱에서 실행하거나, 화면이 없는 환경에서는 xvfb-run ./solbitsem 처럼 실행하십시오.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("솔빛셈"));
    QApplication::setApplicationName(QStringLiteral("솔빛셈"));
    QApplication::setApplicationVersion(QStringLiteral(SOLBITSEM_VERSION));
    chooseKoreanFont();
    InstallButtonKeys();

    AppSettings settings;
    Database db;
    MessageBoxPrompt prompt;
    frmMain window(settings, db, prompt);
    prompt.setParent(&window);
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
