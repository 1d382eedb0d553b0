// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <utility>

#include <QList>
#include <QString>

// A box as the user is to see it (icon, text, title), handed back by code that may not show one
// itself: storage and the registers return it, the flow that called them shows it.
struct Notice
{
    enum class Icon { None, Information, Warning, Critical, Question };
    Icon icon = Icon::None;
    QString text;
    QString title; // empty: the program title

    static Notice info(const QString &text, const QString &title = {}) { return {Icon::Information, text, title}; }
    static Notice warn(const QString &text, const QString &title = {}) { return {Icon::Warning, text, title}; }
    static Notice plain(const QString &text, const QString &title = {}) { return {Icon::None, text, title}; }
    // A failed save: the caption, then the engine's error number and text.
    static Notice errBox(const QString &caption, int number, const QString &description)
    {
        return warn(caption + QStringLiteral("\r\n오류번호 : ") + QString::number(number)
                        + QStringLiteral("\r\n오류내용 : ") + description,
                    QStringLiteral("오류"));
    }
    // "Error N (description) in procedure P of Module M" for a guarded routine.
    static Notice runError(int number, const QString &description, const QString &procedure, const QString &owner,
                           bool isForm)
    {
        return plain(QStringLiteral("Error ") + QString::number(number) + QStringLiteral(" (") + description
                     + QStringLiteral(") in procedure ") + procedure
                     + (isForm ? QStringLiteral(" of Form ") : QStringLiteral(" of Module ")) + owner);
    }

    bool operator==(const Notice &) const = default;
};
using Notices = QList<Notice>;

// A value, or the boxes (mostly one) that say why there is none.
template <typename T>
class Fallible
{
public:
    Fallible(T value) : m_value(std::move(value)) {}
    Fallible(Notice failure) : m_failure{std::move(failure)} {}
    Fallible(Notices failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    T &operator*() { return *m_value; }
    const T &operator*() const { return *m_value; }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    // Empty when ok().
    const Notices &failure() const { return m_failure; }
    // The value for code that has shown (or may ignore) the failure.
    std::optional<T> &value() { return m_value; }

private:
    std::optional<T> m_value;
    Notices m_failure;
};
