// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/shell/settingkeys.h"
#include "templedger.h"

// The typed keys store exactly the texts the program has always stored.
class tst_AppSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }
    void flagsAndNumbersKeepTheirStoredTexts();
    void absentOrUnreadableReadsTheDefault();
};

void tst_AppSettings::flagsAndNumbersKeepTheirStoredTexts()
{
    AppSettings settings;
    const QString reg = AppSettings::registration();
    const QString env = AppSettings::environment();
    settings.set(Settings::telvoxUse, true);
    QCOMPARE(settings.value(reg, QStringLiteral("TelvoxUse")), QStringLiteral("1"));
    QCOMPARE(settings.get(Settings::telvoxUse), true);
    settings.set(Settings::telvoxUse, false);
    QCOMPARE(settings.value(reg, QStringLiteral("TelvoxUse")), QStringLiteral("0"));
    QCOMPARE(settings.get(Settings::telvoxUse), false);

    settings.set(Settings::waitingListX, 1440);
    QCOMPARE(settings.value(env, QStringLiteral("발신번호대기창x")), QStringLiteral("1440"));
    settings.setValue(env, QStringLiteral("백업보관일수"), QStringLiteral(" 30 "));
    QCOMPARE(settings.get(Settings::backupKeepDays), 30);

    // A text is kept as it is, blanks included; an empty stored text is not its default.
    settings.set(Settings::telvoxPort(0), QString());
    QCOMPARE(settings.get(Settings::telvoxPort(0)), QString());
    QVERIFY(!settings.isSet(Settings::telvoxPort(0)));
}

void tst_AppSettings::absentOrUnreadableReadsTheDefault()
{
    AppSettings settings;
    const QString env = AppSettings::environment();
    QCOMPARE(settings.get(Settings::backupKeepDays), 14);
    QCOMPARE(settings.get(Settings::telvoxPort(1)), QStringLiteral("2"));
    QCOMPARE(settings.get(Settings::noMsg), false);

    settings.setValue(env, QStringLiteral("백업보관개월수"), QStringLiteral("열둘"));
    QCOMPARE(settings.get(Settings::backupKeepMonths), 12);
    settings.setValue(AppSettings::registration(), QStringLiteral("TelvoxUse"), QStringLiteral("yes"));
    QCOMPARE(settings.get(Settings::telvoxUse), false);
    // A key may read an unreadable text otherwise than an absent one.
    settings.setValue(env, QStringLiteral("NoMsg"), QStringLiteral("yes"));
    QCOMPARE(settings.get(Settings::noMsg), true);
    settings.setValue(env, QStringLiteral("발신번호대기창y"), QStringLiteral("12a"));
    QCOMPARE(settings.get(Settings::waitingListY), -1);
}

QTEST_GUILESS_MAIN(tst_AppSettings)
#include "tst_appsettings.moc"
