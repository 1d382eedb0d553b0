// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "core/layout/twips.h"
#include "gui/ui/frmfloatmsg.h"

class tst_FloatMsg final : public QObject
{
    Q_OBJECT

private slots:
    void modalHoldsCallerAboutHalfASecond();
    void modelessClosesItselfAndStaysOnTop();
    void eachCallIsAFreshWindow();
    void zeroDelayStaysOpen();
    void lookOfTheBanner();

private:
    static int openNotices();
};

int tst_FloatMsg::openNotices()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<frmFloatMsg *>(w) && w->isVisible())
            ++n;
    return n;
}

void tst_FloatMsg::modalHoldsCallerAboutHalfASecond()
{
    QString seen;
    QTimer::singleShot(100, this, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<frmFloatMsg *>(w); f && f->isVisible())
                seen = f->pnlCaption->text();
    });
    QElapsedTimer t;
    t.start();
    QCOMPARE(ShowFloatMsg(FloatMsg::deleted(), FloatMsg::Delay, 1, FloatMsgCyan), nullptr);
    const qint64 ms = t.elapsed();
    QVERIFY2(ms >= 450 && ms < 2000, qPrintable(QString::number(ms)));
    QCOMPARE(seen, QStringLiteral("자료를 삭제하였습니다."));
    QCOMPARE(openNotices(), 0);
}

void tst_FloatMsg::modelessClosesItselfAndStaysOnTop()
{
    QElapsedTimer t;
    t.start();
    QPointer<frmFloatMsg> f = ShowFloatMsg(FloatMsg::saved(), 300, 0, FloatMsgCyan);
    QVERIFY(f);
    QVERIFY(t.elapsed() < 250); // the caller goes on at once
    QVERIFY(f->isVisible());
    QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!f->isModal());
    QCOMPARE(f->pnlCaption->text(), QStringLiteral("자료가 저장되었습니다."));
    QTRY_VERIFY_WITH_TIMEOUT(f.isNull(), 3000); // closed and released
    QVERIFY(t.elapsed() >= 280);
}

void tst_FloatMsg::eachCallIsAFreshWindow()
{
    QPointer<frmFloatMsg> a = ShowFloatMsg(QStringLiteral("하나"), 200, 0, FloatMsgCyan);
    QPointer<frmFloatMsg> b = ShowFloatMsg(QStringLiteral("둘"), 200, 0, FloatMsgCyan);
    QVERIFY(a && b && a != b);
    QCOMPARE(openNotices(), 2);
    QCOMPARE(a->pnlCaption->text(), QStringLiteral("하나"));
    QCOMPARE(b->pnlCaption->text(), QStringLiteral("둘"));
    QTRY_VERIFY_WITH_TIMEOUT(a.isNull() && b.isNull(), 3000);
}

void tst_FloatMsg::zeroDelayStaysOpen()
{
    QPointer<frmFloatMsg> f = ShowFloatMsg(QStringLiteral("계속"), 0, 0, FloatMsgCyan);
    QVERIFY(f);
    QVERIFY(!f->Timer1->isActive());
    QTest::qWait(700);
    QVERIFY(f && f->isVisible());
    f->close();
    QTRY_VERIFY(f.isNull());
}

void tst_FloatMsg::lookOfTheBanner()
{
    frmFloatMsg f;
    f.InitForm(QStringLiteral("자료가 저장되었습니다."), 500, FloatMsgCyan);
    QVERIFY(f.Timer1->isActive());
    QCOMPARE(f.Timer1->interval(), 500);
    QCOMPARE(f.size(), QSize(Twips::toPixels(5490, f.logicalDpiX()), Twips::toPixels(405, f.logicalDpiY())));
    QCOMPARE(f.pnlCaption->geometry(), f.rect());
    QCOMPARE(f.palette().color(QPalette::Window), QColor(0, 255, 255)); // 0xFFFF00 is BGR cyan
    QVERIFY(f.pnlCaption->font().bold());
    // It never takes the focus: the window manager would hand it back as the banner closes, and a
    // window closing right after it (the client window on its save) left the ledger without it.
    QVERIFY(f.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    QVERIFY(f.testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(f.pnlCaption->font().pointSizeF(), 11.25);
    frmFloatMsg red;
    red.InitForm(QString(), -1, 0x0000FF);
    QCOMPARE(red.palette().color(QPalette::Window), QColor(255, 0, 0));
    QVERIFY(!red.Timer1->isActive());
}

QTEST_MAIN(tst_FloatMsg)
#include "tst_floatmsg.moc"
