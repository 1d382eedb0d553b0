// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerlocation.h"

#include "core/base/userprompt.h"
#include "settingkeys.h"

LedgerLocation LedgerLocation::read(const AppSettings &settings)
{
    LedgerLocation l;
    l.kind = settings.get(Settings::ledgerKind) == serverWord() ? Kind::Server : Kind::File;
    l.host = settings.get(Settings::serverHost);
    const int port = settings.get(Settings::serverPort);
    l.port = port >= 1 && port <= 65535 ? port : DefaultPort;
    l.database = settings.get(Settings::serverDatabase);
    l.user = settings.get(Settings::serverUser);
    return l;
}

void LedgerLocation::write(AppSettings &settings) const
{
    settings.set(Settings::ledgerKind, kind == Kind::Server ? serverWord() : fileWord());
    settings.set(Settings::serverHost, host);
    settings.set(Settings::serverPort, port);
    settings.set(Settings::serverDatabase, database);
    settings.set(Settings::serverUser, user);
    settings.sync();
}

int LedgerLocation::parsePort(const QString &text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

QString LedgerLocation::problem() const
{
    if (kind == Kind::File)
        return {};
    if (host.trimmed().isEmpty())
        return QStringLiteral("서버 주소를 입력하세요.");
    if (port < 1 || port > 65535)
        return QStringLiteral("포트는 1부터 65535까지의 숫자입니다.");
    if (database.trimmed().isEmpty())
        return QStringLiteral("데이터베이스 이름을 입력하세요.");
    if (user.trimmed().isEmpty())
        return QStringLiteral("사용자 이름을 입력하세요.");
    return {};
}

QString LedgerLocation::describe() const
{
    return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

namespace ServerLogin {

QString passwordPrompt(const LedgerLocation &location)
{
    return QStringLiteral("장부 서버의 비밀번호를 입력하세요.\r\n") + location.describe();
}

QString wrongPasswordText()
{
    return QStringLiteral("장부 서버가 비밀번호를 받아들이지 않았습니다.");
}

QString gaveUpText()
{
    return QStringLiteral("장부 서버에 접속하지 않았습니다. 장부 없이 계속합니다.");
}

Attempt run(const LedgerLocation &location, UserPrompt &prompt, const Connect &connect)
{
    Attempt a = connect(QString());
    bool cancelled = false;
    for (int tries = 0; a.outcome == Outcome::WrongPassword && tries < MaxTries; ++tries) {
        if (tries > 0)
            prompt.MsgWarn(wrongPasswordText() + QStringLiteral("\r\n") + a.error);
        std::optional<QString> password = prompt.inputSecret(passwordPrompt(location), LedgerLocation::serverCaption());
        if (!password) {
            cancelled = true;
            break;
        }
        a = connect(*password);
        password->fill(QLatin1Char(' ')); // not left behind in freed memory
    }
    if (a.outcome == Outcome::WrongPassword)
        prompt.MsgWarn(cancelled ? gaveUpText() : wrongPasswordText() + QStringLiteral("\r\n") + gaveUpText());
    return a;
}

} // namespace ServerLogin
