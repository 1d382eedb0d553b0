// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmcalendar.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "formhelpers.h"

namespace {
const QString kFormat = QStringLiteral("yyyy-MM-dd");
}

FrmCalendar::FrmCalendar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmCalendar"));
    setWindowTitle(caption());
    setAccessibleName(caption());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MonthView1 = new QCalendarWidget(this);
    MonthView1->setObjectName(QStringLiteral("MonthView1"));
    MonthView1->setAccessibleName(caption());
    MonthView1->setGridVisible(true);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthView1->setSelectedDate(QDate::currentDate());
    layout->addWidget(MonthView1);
    // clicked: a mouse click on a day; activated: Enter (and a double click).
    connect(MonthView1, &QCalendarWidget::clicked, this, &FrmCalendar::take);
    connect(MonthView1, &QCalendarWidget::activated, this, &FrmCalendar::take);
    setFixedSize(sizeHint());
}

void FrmCalendar::setText(const QString &text)
{
    const QDate d = QDate::fromString(text, kFormat);
    if (!d.isValid())
        return;
    m_text = d.toString(kFormat);
    MonthView1->setCurrentPage(d.year(), d.month());
    MonthView1->setSelectedDate(d);
}

void FrmCalendar::take(const QDate &date)
{
    if (!date.isValid())
        return;
    m_text = date.toString(kFormat);
    accept();
}

QString PickDate(const QString &text, const QWidget *anchor, QWidget *parent, bool *accepted)
{
    FrmCalendar form(parent ? parent : (anchor ? anchor->window() : nullptr));
    form.setText(text);
    form.adjustSize();
    if (anchor)
        PlaceForm(&form, anchor, 0, 0);
    const bool ok = form.exec() == QDialog::Accepted;
    if (accepted)
        *accepted = ok;
    return form.Text();
}
