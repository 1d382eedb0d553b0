// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/layout/formrules.h"
#include "core/layout/twips.h"

class tst_PlaceForm final : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void twips();
    void onScreens_data();
    void onScreens();
    void required_data();
    void required();
};

void tst_PlaceForm::placement_data()
{
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<QPoint>("topLeft");
    // Anchor at (3000, 1500), 1200 × 300 twips; form 2000 × 2400.
    QTest::newRow("left edges, below") << 0 << 0 << QPoint(3000, 1800);
    QTest::newRow("right edges, below") << 1 << 0 << QPoint(2200, 1800);
    QTest::newRow("centred, below") << 2 << 0 << QPoint(2600, 1800);
    QTest::newRow("other horizontal: left 0") << 3 << 0 << QPoint(0, 1800);
    QTest::newRow("negative horizontal: left 0") << -1 << 0 << QPoint(0, 1800);
    QTest::newRow("left edges, above") << 0 << 4 << QPoint(3000, -900);
    QTest::newRow("right edges, above") << 1 << 4 << QPoint(2200, -900);
    QTest::newRow("centred, above") << 2 << 4 << QPoint(2600, -900);
    QTest::newRow("vertical 1 is below") << 0 << 1 << QPoint(3000, 1800);
    QTest::newRow("vertical 5 is below") << 0 << 5 << QPoint(3000, 1800);
}

void tst_PlaceForm::placement()
{
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QFETCH(QPoint, topLeft);
    QCOMPARE(FormRules::placeForm(QRect(3000, 1500, 1200, 300), QSize(2000, 2400), horizontal, vertical), topLeft);
}

void tst_PlaceForm::twips()
{
    QCOMPARE(Twips::toPixels(1440), 96);
    QCOMPARE(Twips::toPixels(15), 1);
    QCOMPARE(Twips::fromPixels(96), 1440);
    QCOMPARE(Twips::toPixels(1440, 144.0), 144);
    QCOMPARE(Twips::toPixels(5490), 366); // the floating notice
    QCOMPARE(Twips::toPixels(405), 27);
    // A narrower form centred over a wider anchor: odd halves round.
    QCOMPARE(FormRules::placeForm(QRect(100, 0, 301, 10), QSize(100, 10), 2, 0), QPoint(201, 10));
}

void tst_PlaceForm::onScreens_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("result");
    // One 1920 × 1040 screen at the origin (task bar excluded), a second one to its left.
    QTest::newRow("visible stays") << QRect(100, 100, 800, 600) << QRect(100, 100, 800, 600);
    QTest::newRow("on the left screen stays") << QRect(-1200, 100, 800, 600) << QRect(-1200, 100, 800, 600);
    QTest::newRow("partly off the right edge stays") << QRect(1700, 100, 800, 600) << QRect(1700, 100, 800, 600);
    QTest::newRow("off every screen") << QRect(5000, 5000, 800, 600) << QRect(1120, 440, 800, 600);
    QTest::newRow("above every screen") << QRect(100, -2000, 800, 600) << QRect(100, 0, 800, 600);
    QTest::newRow("title above the top edge") << QRect(100, -10, 800, 600) << QRect(100, 0, 800, 600);
    QTest::newRow("far too large") << QRect(0, 0, 100000, 100000) << QRect(0, 0, 1920, 1040);
    QTest::newRow("far left") << QRect(-90000, 10, 800, 600) << QRect(0, 10, 800, 600);
    QTest::newRow("below the minimum") << QRect(10, 10, 50, 20) << QRect(10, 10, 333, 333);
}

void tst_PlaceForm::onScreens()
{
    QFETCH(QRect, window);
    QFETCH(QRect, result);
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(-1600, 0, 1600, 900)};
    QCOMPARE(FormRules::fitOnScreens(window, screens, QSize(333, 333)), result);
}

void tst_PlaceForm::required_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("zeroIsEmpty");
    QTest::addColumn<bool>("empty");
    QTest::newRow("empty") << "" << false << true;
    QTest::newRow("empty, zero empty") << "" << true << true;
    QTest::newRow("0 passes") << "0" << false << false;
    QTest::newRow("0 fails") << "0" << true << true;
    QTest::newRow("00 passes") << "00" << true << false;
    QTest::newRow("text") << "가" << true << false;
    QTest::newRow("space is text") << " " << true << false;
}

void tst_PlaceForm::required()
{
    QFETCH(QString, text);
    QFETCH(bool, zeroIsEmpty);
    QFETCH(bool, empty);
    QCOMPARE(FormRules::isRequiredEmpty(text, zeroIsEmpty), empty);
    QCOMPARE(FormRules::requiredMessage(QStringLiteral("상호")), QStringLiteral("[상호]은(는) 필수 입력 사항입니다."));
    QCOMPARE(FormRules::requiredMessage(QString()), QStringLiteral("필수 입력사항을 입력하지 않았습니다."));
}

QTEST_APPLESS_MAIN(tst_PlaceForm)
#include "tst_placeform.moc"
