// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QCalendarWidget;

// The date picker "일자 선택": a click on a day or Enter takes the date and closes; Esc closes
// and keeps Text as it was.
class FrmCalendar final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmCalendar)

public:
    explicit FrmCalendar(QWidget *parent = nullptr);

    // The chosen date as "YYYY-MM-DD"; empty until a valid date is set or picked.
    QString Text() const { return m_text; }
    // A valid "YYYY-MM-DD" date is stored and shown; anything else changes nothing.
    void setText(const QString &text);

    QCalendarWidget *MonthView1 = nullptr;

    static QString caption() { return QStringLiteral("일자 선택"); }

private:
    void take(const QDate &date);

    QString m_text;
};

// Shows a new FrmCalendar below anchor (left edges aligned), preset to text, modally, and
// returns its Text: the picked date, or text itself when it was a valid date and the user
// pressed Esc, or empty. accepted (when given) tells whether a date was picked.
QString PickDate(const QString &text, const QWidget *anchor, QWidget *parent = nullptr, bool *accepted = nullptr);
