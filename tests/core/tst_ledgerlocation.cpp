// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/shell/appsettings.h"
#include "core/shell/ledgerlocation.h"
#include "scriptedprompt.h"
#include "templedger.h"

using Outcome = ServerLogin::Outcome;

class tst_LedgerLocation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }
    void settings();
    void serverLogin_data();
    void serverLogin();
};

void tst_LedgerLocation::settings()
{
    AppSettings settings;
    QCOMPARE(LedgerLocation::read(settings).kind, LedgerLocation::Kind::File);
    QCOMPARE(LedgerLocation::read(settings).port, 5432);

    LedgerLocation l;
    l.kind = LedgerLocation::Kind::Server;
    l.host = QStringLiteral("계산대-PC");
    l.port = 6543;
    l.database = QStringLiteral("ledger");
    l.user = QStringLiteral("shop");
    QCOMPARE(l.problem(), QString());
    l.write(settings);
    const LedgerLocation back = LedgerLocation::read(settings);
    QCOMPARE(back.kind, LedgerLocation::Kind::Server);
    QCOMPARE(back.describe(), QStringLiteral("shop@계산대-PC:6543/ledger"));

    // A hand-edited value that means nothing is the default, never a failed start.
    settings.setValue(AppSettings::environment(), LedgerLocation::kindKey(), QStringLiteral("SERVER"));
    settings.setValue(AppSettings::environment(), LedgerLocation::portKey(), QStringLiteral("70000"));
    QCOMPARE(LedgerLocation::read(settings).kind, LedgerLocation::Kind::File);
    QCOMPARE(LedgerLocation::read(settings).port, 5432);

    QCOMPARE(LedgerLocation::parsePort(QStringLiteral(" 5433 ")), 5433);
    QCOMPARE(LedgerLocation::parsePort(QStringLiteral("0")), 0);
    QCOMPARE(LedgerLocation::parsePort(QStringLiteral("54a")), 0);
    l.user.clear();
    QCOMPARE(l.problem(), QStringLiteral("사용자 이름을 입력하세요."));
    l.port = 0;
    QCOMPARE(l.problem(), QStringLiteral("포트는 1부터 65535까지의 숫자입니다."));
    l.kind = LedgerLocation::Kind::File;
    QCOMPARE(l.problem(), QString());
}

void tst_LedgerLocation::serverLogin_data()
{
    QTest::addColumn<QStringList>("serverTakes"); // what the server answers to, in order; "" = no password
    QTest::addColumn<QList<std::optional<QString>>>("typed");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("boxes");

    const QString ask = QStringLiteral("secret");
    const QString wrong = QStringLiteral("warn|장부 서버가 비밀번호를 받아들이지 않았습니다.\nbad password");
    const QString gaveUp = QStringLiteral("장부 서버에 접속하지 않았습니다. 장부 없이 계속합니다.");
    using Typed = QList<std::optional<QString>>;
    QTest::newRow("password file or trust") << QStringList{QString()} << Typed{} << int(Outcome::Connected) << QStringList{};
    QTest::newRow("second try") << QStringList{QStringLiteral("right")} << Typed{QStringLiteral("wrong"), QStringLiteral("right")}
                                << int(Outcome::Connected) << QStringList{ask, wrong, ask};
    QTest::newRow("three wrong") << QStringList{QStringLiteral("right")}
                                 << Typed{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
                                 << int(Outcome::WrongPassword)
                                 << QStringList{ask, wrong, ask, wrong, ask,
                                                QStringLiteral("warn|장부 서버가 비밀번호를 받아들이지 않았습니다.\n") + gaveUp};
    QTest::newRow("cancelled") << QStringList{QStringLiteral("right")} << Typed{std::nullopt} << int(Outcome::WrongPassword)
                               << QStringList{ask, QStringLiteral("warn|") + gaveUp};
    QTest::newRow("unreachable") << QStringList{} << Typed{} << int(Outcome::Failed) << QStringList{};
}

void tst_LedgerLocation::serverLogin()
{
    QFETCH(QStringList, serverTakes);
    QFETCH(QList<std::optional<QString>>, typed);
    QFETCH(int, outcome);
    QFETCH(QStringList, boxes);
    LedgerLocation l;
    l.kind = LedgerLocation::Kind::Server;
    ScriptedPrompt prompt;
    for (const auto &t : typed)
        prompt.input(t);
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes.at(i).startsWith(QStringLiteral("warn|")))
            prompt.ok();
    int connects = 0;
    const ServerLogin::Attempt a = ServerLogin::run(l, prompt, [&](const QString &password) {
        ++connects;
        if (serverTakes.isEmpty())
            return ServerLogin::Attempt{Outcome::Failed, QStringLiteral("could not connect")};
        if (serverTakes.contains(password))
            return ServerLogin::Attempt{Outcome::Connected, {}};
        return ServerLogin::Attempt{Outcome::WrongPassword, QStringLiteral("bad password")};
    });
    QCOMPARE(int(a.outcome), outcome);
    QStringList seen;
    for (const auto &asked : prompt.asked)
        seen << (asked.kind == ScriptedPrompt::Kind::Secret ? QStringLiteral("secret")
                                                            : QStringLiteral("warn|") + asked.lines());
    QCOMPARE(seen, boxes);
    QVERIFY(prompt.scriptDone());
    QVERIFY(connects <= 1 + ServerLogin::MaxTries);
}

QTEST_GUILESS_MAIN(tst_LedgerLocation)
#include "tst_ledgerlocation.moc"
