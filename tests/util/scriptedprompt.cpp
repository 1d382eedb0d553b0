// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedprompt.h"

#include <QTest>

QString ScriptedPrompt::Asked::lines() const
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

UserPrompt::Answer ScriptedPrompt::message(Icon icon, const QString &text, const QString &title,
                                           Buttons buttons, Answer defaultButton)
{
    asked.append({Kind::Message, icon, text, title, buttons, defaultButton});
    if (buttons == Buttons::Ok && !strictOk)
        return Answer::Ok;
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question [%1]: %2").arg(title, text)), __FILE__, __LINE__);
        return defaultButton;
    }
    return m_answers.dequeue();
}

std::optional<QString> ScriptedPrompt::inputText(const QString &prompt, const QString &title,
                                                 const QString &defaultText)
{
    asked.append({Kind::Input, Icon::None, prompt, title, Buttons::OkCancel, Answer::Ok});
    if (m_inputs.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected input box [%1]: %2").arg(title, prompt)), __FILE__, __LINE__);
        return defaultText;
    }
    return m_inputs.dequeue();
}

std::optional<QString> ScriptedPrompt::inputSecret(const QString &prompt, const QString &title)
{
    asked.append({Kind::Secret, Icon::None, prompt, title, Buttons::OkCancel, Answer::Ok});
    if (m_inputs.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected password box [%1]: %2").arg(title, prompt)), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_inputs.dequeue();
}

std::optional<QString> ScriptedPrompt::pickDate(const QString &text, const QObject *)
{
    asked.append({Kind::Date, Icon::None, text, QString(), Buttons::Ok, Answer::Ok});
    if (m_dates.isEmpty()) {
        QTest::qFail("unexpected date picker", __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_dates.dequeue();
}

std::optional<QString> ScriptedPrompt::pickFile(const QString &title, const QString &, const QString &filter)
{
    asked.append({Kind::File, Icon::None, title, filter, Buttons::OkCancel, Answer::Ok});
    if (m_files.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + title), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_files.dequeue();
}

ScriptedPrompt &ScriptedPrompt::answer(Answer a)
{
    m_answers.enqueue(a);
    return *this;
}

ScriptedPrompt &ScriptedPrompt::input(std::optional<QString> text)
{
    m_inputs.enqueue(std::move(text));
    return *this;
}

ScriptedPrompt &ScriptedPrompt::date(std::optional<QString> d)
{
    m_dates.enqueue(std::move(d));
    return *this;
}

ScriptedPrompt &ScriptedPrompt::file(std::optional<QString> path)
{
    m_files.enqueue(std::move(path));
    return *this;
}

void ScriptedPrompt::clear()
{
    asked.clear();
    m_answers.clear();
    m_inputs.clear();
    m_dates.clear();
    m_files.clear();
}
