// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <utility>

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include "notice.h"

// Every question the program puts to the user goes through this interface, so that the
// logic behind a window runs under tests with a scripted answerer. The gui answers it with
// QMessageBox/QInputDialog; nothing in the core ever opens a dialog itself.
class UserPrompt
{
public:
    using Icon = Notice::Icon;
    enum class Buttons { Ok, YesNo, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~UserPrompt() = default;

    // An empty title stands for the program title. CR and CR LF in the text are line breaks.
    virtual Answer message(Icon icon, const QString &text, const QString &title, Buttons buttons,
                           Answer defaultButton) = 0;
    // An input box; nullopt when the user cancels.
    virtual std::optional<QString> inputText(const QString &prompt, const QString &title,
                                             const QString &defaultText) = 0;
    // An input box whose text is not shown (a password); nullopt when the user cancels.
    virtual std::optional<QString> inputSecret(const QString &prompt, const QString &title) = 0;
    // The calendar picker, placed below anchor (a widget, opaque to the core) and preset to
    // text; nullopt when the user closes it without choosing.
    virtual std::optional<QString> pickDate(const QString &text, const QObject *anchor) = 0;
    // The file dialog for opening one file, starting in folder and showing the files of filter
    // ("Access 장부 (*.mdb)"); nullopt when the user cancels.
    virtual std::optional<QString> pickFile(const QString &title, const QString &folder, const QString &filter) = 0;

    // A box handed back by storage or a register, as it describes itself.
    void show(const Notice &notice) { message(notice.icon, notice.text, notice.title, Buttons::Ok, Answer::Ok); }
    void show(const Notices &notices)
    {
        for (const Notice &n : notices)
            show(n);
    }

    // The fixed kinds of box every window uses.
    void MsgInfo(const QString &text, const QString &title = {}) { show(Notice::info(text, title)); }
    void MsgWarn(const QString &text, const QString &title = {}) { show(Notice::warn(text, title)); }
    void MsgPlain(const QString &text, const QString &title = {}) { show(Notice::plain(text, title)); }
    bool MsgYesNo(const QString &text, const QString &title, bool defaultYes)
    {
        return message(Icon::Question, text, title, Buttons::YesNo,
                       defaultYes ? Answer::Yes : Answer::No)
            == Answer::Yes;
    }
    // A failed save: the caption, then the engine's error number and text.
    void ShowErrBox(const QString &caption, int number, const QString &description)
    {
        show(Notice::errBox(caption, number, description));
    }
    // "Error N (description) in procedure P of Module M" for a guarded routine.
    void ShowRunError(int number, const QString &description, const QString &procedure,
                      const QString &owner, bool isForm)
    {
        show(Notice::runError(number, description, procedure, owner, isForm));
    }
};

// The value of result, or nullopt after its failure was shown through prompt.
template <typename T>
std::optional<T> shownOnFailure(Fallible<T> result, UserPrompt &prompt)
{
    if (!result)
        prompt.show(result.failure());
    return std::move(result.value());
}

// The program title: application name of the settings store, the default folders' name and
// the title of every box whose caller gives none.
inline QString programTitle()
{
    return QStringLiteral("솔빛셈");
}
