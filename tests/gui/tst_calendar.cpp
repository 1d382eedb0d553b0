// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "gui/ui/frmcalendar.h"
#include "gui/ui/messageboxprompt.h"

class tst_Calendar final : public QObject
{
    Q_OBJECT

private slots:
    void textProperty_data();
    void textProperty();
    void pick_data();
    void pick();
    void placedBelowAnchor();
    void promptUsesCalendar();

private:
    // Runs action on the calendar once it is shown.
    static void whenShown(const std::function<void(FrmCalendar *)> &action);
};

void tst_Calendar::whenShown(const std::function<void(FrmCalendar *)> &action)
{
    QTimer::singleShot(50, qApp, [action] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *c = qobject_cast<FrmCalendar *>(w); c && c->isVisible()) {
                action(c);
                return;
            }
        QFAIL("no calendar shown");
    });
}

void tst_Calendar::textProperty_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("valid") << "2004-02-29" << "2004-02-29";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("impossible") << "2005-02-29" << "";
    QTest::newRow("letters") << "날짜" << "";
    QTest::newRow("short form") << "0101" << "";
}

void tst_Calendar::textProperty()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    FrmCalendar f;
    QCOMPARE(f.windowTitle(), QStringLiteral("일자 선택"));
    f.setText(text);
    QCOMPARE(f.Text(), stored);
    const QDate shown = stored.isEmpty() ? QDate::currentDate() : QDate::fromString(stored, Qt::ISODate);
    QCOMPARE(f.MonthView1->selectedDate(), shown);
    QCOMPARE(f.MonthView1->yearShown(), shown.year());
    QCOMPARE(f.MonthView1->monthShown(), shown.month());
}

void tst_Calendar::pick_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("how"); // esc, enter, next-enter, click
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("picked");
    QTest::newRow("Esc with empty text") << "" << "esc" << "" << false;
    QTest::newRow("Esc with invalid text") << "2004-13-01" << "esc" << "" << false;
    QTest::newRow("Esc with valid text") << "2004-05-17" << "esc" << "2004-05-17" << false;
    QTest::newRow("Enter takes the shown date") << "2004-05-17" << "enter" << "2004-05-17" << true;
    QTest::newRow("arrow then Enter") << "2004-05-17" << "next-enter" << "2004-05-18" << true;
    QTest::newRow("click a day") << "2004-05-17" << "click" << "2004-05-20" << true;
}

void tst_Calendar::pick()
{
    QFETCH(QString, text);
    QFETCH(QString, how);
    QFETCH(QString, result);
    QFETCH(bool, picked);
    QWidget window;
    auto *anchor = new QLineEdit(&window);
    window.show();
    whenShown([how](FrmCalendar *c) {
        QWidget *grid = c->MonthView1->findChild<QAbstractItemView *>();
        QVERIFY(grid);
        if (how == QLatin1String("esc")) {
            QTest::keyClick(c, Qt::Key_Escape);
        } else if (how == QLatin1String("enter")) {
            QTest::keyClick(grid, Qt::Key_Return);
        } else if (how == QLatin1String("next-enter")) {
            QTest::keyClick(grid, Qt::Key_Right);
            QTest::keyClick(grid, Qt::Key_Return);
        } else {
            // A mouse click on a day reaches the calendar as its clicked signal.
            emit c->MonthView1->clicked(QDate(2004, 5, 20));
        }
    });
    bool accepted = false;
    QCOMPARE(PickDate(text, anchor, nullptr, &accepted), result);
    QCOMPARE(accepted, picked);
}

void tst_Calendar::placedBelowAnchor()
{
    QWidget window;
    window.resize(600, 400);
    auto *anchor = new QLineEdit(&window);
    anchor->setGeometry(40, 30, 120, 24);
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QPoint at;
    whenShown([&](FrmCalendar *c) {
        at = c->pos();
        c->reject();
    });
    PickDate(QStringLiteral("2004-05-17"), anchor);
    const QPoint expected = anchor->mapToGlobal(QPoint(0, anchor->height()));
    QVERIFY2(qAbs(at.x() - expected.x()) <= 1 && qAbs(at.y() - expected.y()) <= 1,
             qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(at.x()).arg(at.y()).arg(expected.x()).arg(expected.y())));
}

void tst_Calendar::promptUsesCalendar()
{
    MessageBoxPrompt prompt;
    whenShown([](FrmCalendar *c) { QTest::keyClick(c->MonthView1->findChild<QAbstractItemView *>(), Qt::Key_Return); });
    QCOMPARE(prompt.pickDate(QStringLiteral("2004-01-31"), nullptr), std::optional<QString>(QStringLiteral("2004-01-31")));
    whenShown([](FrmCalendar *c) { QTest::keyClick(c, Qt::Key_Escape); });
    QCOMPARE(prompt.pickDate(QStringLiteral("2004-01-31"), nullptr), std::nullopt);
}

QTEST_MAIN(tst_Calendar)
#include "tst_calendar.moc"
