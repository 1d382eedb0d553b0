// SPDX-License-Identifier: GPL-3.0-or-later
#include "messageboxprompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "frmcalendar.h"
#include "filedialogs.h"

namespace {
QString lines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
QString titleOr(const QString &title) { return title.isEmpty() ? programTitle() : title; }
} // namespace

UserPrompt::Answer MessageBoxPrompt::message(Icon icon, const QString &text, const QString &title,
                                             Buttons buttons, Answer defaultButton)
{
    QMessageBox box(m_parent ? m_parent : QApplication::activeWindow());
    box.setWindowTitle(titleOr(title));
    box.setText(lines(text));
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QPushButton *yes = nullptr;
    QPushButton *no = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        ok = box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
        break;
    case Buttons::YesNo:
        yes = box.addButton(QStringLiteral("예(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("아니요(&N)"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        break;
    case Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
        break;
    }
    switch (defaultButton) {
    case Answer::Yes: if (yes) box.setDefaultButton(yes); break;
    case Answer::No: if (no) box.setDefaultButton(no); break;
    case Answer::Ok: if (ok) box.setDefaultButton(ok); break;
    case Answer::Cancel: if (cancel) box.setDefaultButton(cancel); break;
    }
    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    if (clicked && clicked == yes)
        return Answer::Yes;
    if (clicked && clicked == no)
        return Answer::No;
    if (clicked && clicked == cancel)
        return Answer::Cancel;
    if (buttons == Buttons::YesNo)
        return Answer::No;
    return clicked == ok ? Answer::Ok : (buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
}

std::optional<QString> MessageBoxPrompt::inputText(const QString &prompt, const QString &title,
                                                   const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent ? m_parent : QApplication::activeWindow(),
                                               titleOr(title), lines(prompt), QLineEdit::Normal,
                                               defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> MessageBoxPrompt::inputSecret(const QString &prompt, const QString &title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent ? m_parent : QApplication::activeWindow(),
                                               titleOr(title), lines(prompt), QLineEdit::Password, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> MessageBoxPrompt::pickDate(const QString &text, const QObject *anchor)
{
    bool picked = false;
    const QString date = PickDate(text, qobject_cast<const QWidget *>(anchor),
                                  m_parent ? m_parent : QApplication::activeWindow(), &picked);
    if (!picked)
        return std::nullopt;
    return date;
}

std::optional<QString> MessageBoxPrompt::pickFile(const QString &title, const QString &folder, const QString &filter)
{
    const QString file = openFileName(m_parent ? m_parent : QApplication::activeWindow(), title,
                                                      folder, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}
