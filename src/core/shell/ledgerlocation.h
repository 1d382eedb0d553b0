// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

#include "settingkeys.h"

class AppSettings;
class UserPrompt;

// Where the ledger lives: this PC's file (the default) or a ledger server several PCs share.
// Kept in section "환경설정"; the server's password is never among them.
struct LedgerLocation
{
    enum class Kind { File, Server };
    Kind kind = Kind::File;
    QString host;
    int port = DefaultPort;
    QString database;
    QString user;

    static constexpr int DefaultPort = 5432;
    static QString kindKey() { return Settings::ledgerKind.name; }
    static QString hostKey() { return Settings::serverHost.name; }
    static QString portKey() { return Settings::serverPort.name; }
    static QString databaseKey() { return Settings::serverDatabase.name; }
    static QString userKey() { return Settings::serverUser.name; }
    // The stored words for the two kinds, and the choices' captions.
    static QString fileWord() { return QStringLiteral("파일"); }
    static QString serverWord() { return QStringLiteral("서버"); }
    static QString fileCaption() { return QStringLiteral("이 PC의 장부 파일"); }
    static QString serverCaption() { return QStringLiteral("장부 서버"); }

    // A missing or unknown kind is the file; a port that is not a number in range the default.
    static LedgerLocation read(const AppSettings &settings);
    void write(AppSettings &settings) const;
    // What is wrong with a server location as typed, in Korean; empty when it is usable (the
    // file needs nothing).
    QString problem() const;
    // "user@host:port/database", for titles and messages.
    QString describe() const;

    // The port as typed: a whole number from 1 to 65535, else 0.
    static int parsePort(const QString &text);
};

// Opening a server ledger: first with no password (the server's own password file, ~/.pgpass,
// may hold it), then, while the server refuses the password, asking for it, three times at most.
// The password lives only in memory for the attempt; nothing of it is stored.
namespace ServerLogin {

enum class Outcome { Connected, WrongPassword, Failed };
struct Attempt
{
    Outcome outcome = Outcome::Failed;
    QString error; // the engine's text when not connected
};
using Connect = std::function<Attempt(const QString &password)>;

inline constexpr int MaxTries = 3;

// Connected, or the last attempt's outcome after the user gave up, ran out of tries, or the
// server could not be reached; the caller shows the box for the latter (the 91 box). The
// wrong-password box and the questions go through prompt.
Attempt run(const LedgerLocation &location, UserPrompt &prompt, const Connect &connect);

QString passwordPrompt(const LedgerLocation &location);
QString wrongPasswordText();
QString gaveUpText();

} // namespace ServerLogin
