// SPDX-License-Identifier: GPL-3.0-or-later
#include "periodboxes.h"

#include <QDate>
#include <QKeyEvent>
#include <QLineEdit>

#include "core/base/userprompt.h"
#include "core/ledger/checkdate.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/spreadhelpers.h"

PeriodBoxes::PeriodBoxes(UserPrompt &prompt, std::function<void()> search, QWidget *parent)
    : QObject(parent), m_prompt(prompt), m_search(std::move(search))
{
    txtFrom = named(new QLineEdit(parent), QStringLiteral("txtFrom"), QStringLiteral("시작 일자"));
    txtTo = named(new QLineEdit(parent), QStringLiteral("txtTo"), QStringLiteral("끝 일자"));
    InitDateBox(txtFrom, true);
    InitDateBox(txtTo, false);
    for (QLineEdit *box : {txtFrom, txtTo}) {
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 14);
        box->installEventFilter(this);
    }
    m_from = txtFrom->text();
    m_to = txtTo->text();
}

bool PeriodBoxes::set(const QString &from, const QString &to)
{
    txtFrom->setText(from);
    txtTo->setText(to);
    return take();
}

bool PeriodBoxes::take()
{
    const QDate today = QDate::currentDate();
    for (QLineEdit *box : {txtFrom, txtTo}) {
        QString text = box->text();
        if (!CheckDate(text, m_prompt, today)) {
            box->setFocus();
            return false;
        }
        box->setText(text);
    }
    m_from = txtFrom->text();
    m_to = txtTo->text();
    return true;
}

bool PeriodBoxes::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_search)
                m_search();
            return true;
        }
        if (key == Qt::Key_F2) {
            auto *box = static_cast<QLineEdit *>(watched);
            if (const auto picked = m_prompt.pickDate(box->text(), box))
                box->setText(*picked);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
