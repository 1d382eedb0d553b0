// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <utility>

#include "scriptedprompt.h"

// Answers from a script and runs something first each time a box is asked: what else happens
// while a box is up (the focus leaving a field, a log of the order of events).
class HookedPrompt final : public UserPrompt
{
public:
    HookedPrompt(ScriptedPrompt &script, std::function<void()> beforeBox)
        : m_script(script), m_beforeBox(std::move(beforeBox))
    {
    }
    Answer message(Icon icon, const QString &text, const QString &title, Buttons buttons, Answer def) override
    {
        m_beforeBox();
        return m_script.message(icon, text, title, buttons, def);
    }
    std::optional<QString> inputText(const QString &prompt, const QString &title, const QString &text) override
    {
        return m_script.inputText(prompt, title, text);
    }
    std::optional<QString> inputSecret(const QString &prompt, const QString &title) override
    {
        return m_script.inputSecret(prompt, title);
    }
    std::optional<QString> pickDate(const QString &text, const QObject *anchor) override
    {
        return m_script.pickDate(text, anchor);
    }
    std::optional<QString> pickFile(const QString &title, const QString &folder, const QString &filter) override
    {
        return m_script.pickFile(title, folder, filter);
    }

private:
    ScriptedPrompt &m_script;
    std::function<void()> m_beforeBox;
};
