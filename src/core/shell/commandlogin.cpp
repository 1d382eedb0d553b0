// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandlogin.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "core/base/consoleprompt.h"
#include "core/data/schemamaint.h"
#include "userpassword.h"

namespace {
// The window's login gives three tries too.
constexpr int kTerminalTries = 3;

std::optional<QString> firstLineOfStdin()
{
    std::string line;
    bool any = false;
    for (int c; (c = std::fgetc(stdin)) != EOF;) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(char(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::optional<QString> out;
    if (any)
        out = QString::fromLocal8Bit(line);
    std::fill(line.begin(), line.end(), '\0');
    return out;
}

QString wrongText()
{
    return QStringLiteral("암호가 일치하지 않습니다. 장부를 읽지 않았습니다.");
}
} // namespace

namespace CommandLogin {

bool takeStdinOption(QStringList &args)
{
    return args.removeAll(stdinOption()) > 0;
}

QString admit(Database &db, bool fromStdin)
{
    // A file with no ledger in it is said by the reading that follows.
    if (!HoldsLedger(db))
        return {};
    ConsolePrompt prompt;
    UserPassword user(db, prompt);
    if (!user.read())
        return QStringLiteral("장부의 암호 정보를 읽을 수 없어 장부를 읽지 않았습니다.");
    if (!user.hasPassword())
        return {};
    if (fromStdin) {
        const std::optional<QString> given = firstLineOfStdin();
        if (!given)
            return QStringLiteral("--password-stdin: 표준 입력에 암호가 없습니다. 장부를 읽지 않았습니다.");
        return user.matches(*given) ? QString() : wrongText();
    }
    for (int i = 0; i < kTerminalTries; ++i) {
        const std::optional<QString> typed = prompt.inputSecret(QStringLiteral("장부 암호"), programTitle());
        if (!typed)
            return QStringLiteral("이 장부에는 암호가 걸려 있습니다.\n"
                                  "터미널에서 실행하여 암호를 입력하거나, 암호를 표준 입력의 첫 줄로 주고 "
                                  "--password-stdin을 붙이십시오.");
        if (user.matches(*typed))
            return {};
        if (i + 1 < kTerminalTries)
            ConsolePrompt::print(stderr, QStringLiteral("암호가 일치하지 않습니다. 다시 입력하십시오.\n"));
    }
    return wrongText();
}

} // namespace CommandLogin

CommandApp::CommandApp(int &argc, char **argv) : QCoreApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("솔빛셈"));
    setApplicationName(QStringLiteral("솔빛셈"));
    args = arguments().mid(2);
    passwordFromStdin = CommandLogin::takeStdinOption(args);
}

bool CommandApp::names(int argc, char **argv, const QString &command)
{
    return argc >= 2 && QString::fromLocal8Bit(argv[1]) == command;
}

