// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

#include "userprompt.h"

// The answerer of the command forms (printing, export, import from a shell or a script): every
// box is written to standard error, and no question is answered yes, since nobody is there to
// weigh it. A warning or an error box counts as a problem, so the command can end non-zero.
class ConsolePrompt final : public UserPrompt
{
public:
    Answer message(Icon icon, const QString &text, const QString &title, Buttons buttons,
                   Answer defaultButton) override;
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    // Read from the terminal with its echo off; nullopt when no terminal is there.
    std::optional<QString> inputSecret(const QString &prompt, const QString &title) override;
    std::optional<QString> pickDate(const QString &, const QObject *) override { return std::nullopt; }
    std::optional<QString> pickFile(const QString &, const QString &, const QString &) override { return std::nullopt; }

    int problems() const { return m_problems; }

    // A command's own output in the terminal's encoding, CR LF as a line end; a lone CR stays,
    // so a progress line can be written over.
    static void print(FILE *to, QString text);

private:
    int m_problems = 0;
};
