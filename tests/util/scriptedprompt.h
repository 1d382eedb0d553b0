// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QQueue>
#include <QString>

#include "core/base/userprompt.h"

// A UserPrompt for tests: records every question and answers from a script. Every box needs
// its scripted answer, an OK box too (ok()); a question without one fails the running test.
// Clearing strictOk lets OK boxes pass unscripted, for tests that only count or read them.
class ScriptedPrompt final : public UserPrompt
{
public:
    enum class Kind { Message, Input, Secret, Date, File };
    struct Asked
    {
        Kind kind = Kind::Message;
        Icon icon = Icon::None;
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Answer defaultButton = Answer::Ok;
        // Text with CR LF and CR turned into "\n", for comparisons against multi-line texts.
        QString lines() const;
    };

    Answer message(Icon icon, const QString &text, const QString &title, Buttons buttons,
                   Answer defaultButton) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &defaultText) override;
    // Answered from the same queue as inputText().
    std::optional<QString> inputSecret(const QString &prompt, const QString &title) override;
    std::optional<QString> pickDate(const QString &text, const QObject *anchor) override;
    // Recorded with the dialog's title as text and its filter as title.
    std::optional<QString> pickFile(const QString &title, const QString &folder, const QString &filter) override;

    // Script the next answers, in order.
    ScriptedPrompt &answer(Answer a);
    ScriptedPrompt &ok() { return answer(Answer::Ok); }
    ScriptedPrompt &yes() { return answer(Answer::Yes); }
    ScriptedPrompt &no() { return answer(Answer::No); }
    ScriptedPrompt &input(std::optional<QString> text);
    ScriptedPrompt &date(std::optional<QString> date);
    ScriptedPrompt &file(std::optional<QString> path);

    QList<Asked> asked;
    bool strictOk = true;

    int count() const { return static_cast<int>(asked.size()); }
    const Asked &last() const { return asked.last(); }
    bool scriptDone() const { return m_answers.isEmpty() && m_inputs.isEmpty() && m_dates.isEmpty() && m_files.isEmpty(); }
    void clear();

private:
    QQueue<Answer> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<std::optional<QString>> m_dates;
    QQueue<std::optional<QString>> m_files;
};
