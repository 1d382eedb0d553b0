// SPDX-License-Identifier: GPL-3.0-or-later
#include "consoleprompt.h"

#include <cstdio>
#include <string>

#include <termios.h>
#include <unistd.h>

UserPrompt::Answer ConsolePrompt::message(Icon icon, const QString &text, const QString &title,
                                          Buttons buttons, Answer)
{
    if (icon == Icon::Warning || icon == Icon::Critical)
        ++m_problems;
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString shownTitle = title.isEmpty() ? programTitle() : title;
    std::fprintf(stderr, "[%s] %s\n", shownTitle.toLocal8Bit().constData(), line.toLocal8Bit().constData());
    std::fflush(stderr);
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::OkCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

std::optional<QString> ConsolePrompt::inputSecret(const QString &prompt, const QString &title)
{
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    QString line = prompt;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "[%s] %s: ", (title.isEmpty() ? programTitle() : title).toLocal8Bit().constData(),
                 line.toLocal8Bit().constData());
    std::fflush(stderr);
    termios old{};
    ::tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string typed;
    bool ended = false;
    for (int c; (c = std::fgetc(stdin)) != EOF;) {
        if (c == '\n') {
            ended = true;
            break;
        }
        typed.push_back(char(c));
    }
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
    std::fputc('\n', stderr);
    std::optional<QString> out;
    if (ended)
        out = QString::fromLocal8Bit(typed);
    std::fill(typed.begin(), typed.end(), '\0');
    return out;
}

void ConsolePrompt::print(FILE *to, QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fputs(text.toLocal8Bit().constData(), to);
}
