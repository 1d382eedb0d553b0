// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/userprompt.h"

class QWidget;

// Answers the program's questions with real message and input boxes.
class MessageBoxPrompt final : public UserPrompt
{
public:
    explicit MessageBoxPrompt(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(Icon icon, const QString &text, const QString &title, Buttons buttons,
                   Answer defaultButton) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &defaultText) override;
    std::optional<QString> inputSecret(const QString &prompt, const QString &title) override;
    std::optional<QString> pickDate(const QString &text, const QObject *anchor) override;
    std::optional<QString> pickFile(const QString &title, const QString &folder, const QString &filter) override;

private:
    QWidget *m_parent;
};
