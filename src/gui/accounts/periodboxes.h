// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QLineEdit;
class QWidget;
class UserPrompt;

// The two date boxes of a period (this month's first day to today at first), read by the
// ledger's date rules (short forms allowed); F2 opens the calendar, Enter runs the search.
class PeriodBoxes final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PeriodBoxes)

public:
    PeriodBoxes(UserPrompt &prompt, std::function<void()> search, QWidget *parent);

    QLineEdit *txtFrom = nullptr;
    QLineEdit *txtTo = nullptr;

    // The boxes' dates in the stored form; false after the date box (the wrong box has the focus).
    bool take();
    bool set(const QString &from, const QString &to);
    QString from() const { return m_from; }
    QString to() const { return m_to; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    UserPrompt &m_prompt;
    std::function<void()> m_search;
    QString m_from, m_to;
};
