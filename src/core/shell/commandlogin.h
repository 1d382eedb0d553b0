// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class Database;

// The login of the command forms and the tools that read a ledger: a ledger with a password is
// read only by one who gives it, typed on the terminal (no echo) or, for scripts, as the first
// line of standard input (--password-stdin); never on the command line, where others see it.
namespace CommandLogin {
inline QString stdinOption() { return QStringLiteral("--password-stdin"); }
inline QString optionUsage() { return QStringLiteral("[--password-stdin]"); }
// Takes every --password-stdin out of args; true when there was one.
bool takeStdinOption(QStringList &args);
// Empty when the open ledger has no password or the one given matches; else why not, in
// Korean (the command then ends with 1).
QString admit(Database &db, bool fromStdin);
} // namespace CommandLogin

// A command form's application without a display: the settings' names of the program, the
// arguments after the command's name, and the password's --password-stdin taken out of them.
class CommandApp final : public QCoreApplication
{
public:
    CommandApp(int &argc, char **argv);
    // Whether argv[1] names the command form command.
    static bool names(int argc, char **argv, const QString &command);

    QStringList args;
    bool passwordFromStdin = false;
};

