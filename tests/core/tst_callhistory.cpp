// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/callerid/callerreport.h"
#include "core/callerid/callhistory.h"
#include "core/callerid/waitingcalls.h"
#include "core/data/schema.h"
#include "core/data/schemamaint.h"
#include "scriptedprompt.h"
#include "templedger.h"

class tst_CallHistory final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }

    void kindOfReport_data();
    void kindOfReport();
    void everyCallKeptWithItsKind();
    void olderHistoryGetsKinds();
    void waitingCallTimeInKoreanForm();
};

void tst_CallHistory::kindOfReport_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("text");
    const QString number = QStringLiteral("번호 있음");
    const QString withheld = QStringLiteral("발신번호 표시 제한");
    const QString unknown = QStringLiteral("발신번호 알 수 없음");
    const QString ring = QStringLiteral("번호 없이 벨만 울림");
    QTest::newRow("number") << 1 << "0212345678" << number;
    QTest::newRow("number with letters") << 1 << "02ABC1234" << number;
    QTest::newRow("Restricted as a number") << 1 << "Restricted" << withheld;
    QTest::newRow("zeros as a number") << 1 << "0000000000" << unknown;
    QTest::newRow("modem P") << 2 << "P" << withheld;
    QTest::newRow("ncid PRIVATE") << 2 << "PRIVATE" << withheld;
    QTest::newRow("modem O") << 2 << "O" << unknown;
    QTest::newRow("ncid dash") << 2 << "-" << unknown;
    QTest::newRow("ncid OUT-OF-AREA") << 2 << "OUT-OF-AREA" << unknown;
    QTest::newRow("nothing") << 2 << "" << unknown;
    QTest::newRow("rang only") << 2 << "RING" << ring;
    QTest::newRow("no-number report holding digits") << 2 << "0212345678" << unknown;
}

void tst_CallHistory::kindOfReport()
{
    QFETCH(int, kind);
    QFETCH(QString, data);
    QTEST(callKindText(callKindOf(kind, data)), "text");
}

void tst_CallHistory::everyCallKeptWithItsKind()
{
    TempLedger l;
    CallHistory history(l.db());
    const QDateTime at(QDate(2026, 12, 9), QTime(14, 5, 7));
    const QString port = QStringLiteral("COM1");
    QVERIFY(!history.record(at, port, CallKind::Number, QStringLiteral("0212345678"), QStringLiteral("김철수")).isError());
    QVERIFY(!history.record(at, port, CallKind::Withheld, {}, {}).isError());
    QVERIFY(!history.record(at, port, CallKind::Unavailable, {}, {}).isError());
    QVERIFY(!history.record(at, port, CallKind::RingOnly, {}, {}).isError());
    const CallHistory::Lines latest = history.lines(3);
    QVERIFY(!latest.error.isError());
    const QString t = QStringLiteral("2026-12-09 14:05:07  COM1  ");
    QCOMPARE(latest.lines, (QStringList{t + QStringLiteral("발신번호 표시 제한"), t + QStringLiteral("발신번호 알 수 없음"),
                                  t + QStringLiteral("번호 없이 벨만 울림")}));
    QCOMPARE(history.lines(4).lines.first(), t + QStringLiteral("번호 있음  02-1234-5678  김철수"));
}

void tst_CallHistory::olderHistoryGetsKinds()
{
    TempLedger l;
    // The history as the first programs made it, without the kind of call.
    Schema::Table old = *Schema::ledgerTable(QStringLiteral("call_history"));
    old.fields.removeLast();
    l.exec(SqlStatement(QStringLiteral("DROP TABLE call_history")));
    for (const QString &sql : l.db().dialect().tableSql(old))
        l.exec(SqlStatement(sql));
    const auto oldRow = [&](const QString &number, const QString &name) {
        l.exec(SqlStatement(QStringLiteral("INSERT INTO call_history (call_time, port, number, client_name) "
                                           "VALUES ('2026-01-02 10:00:00', 'COM1', :n, :c)"))
                   .bind(QStringLiteral("n"), number)
                   .bind(QStringLiteral("c"), name));
    };
    oldRow(QStringLiteral("0212345678"), QStringLiteral("김철수"));
    oldRow({}, {});
    oldRow(QStringLiteral("0000000000"), {});

    ScriptedPrompt prompt;
    CheckGroupField(l.db(), prompt);
    QCOMPARE(prompt.count(), 0);
    CallHistory history(l.db());
    QVERIFY(!history.record(QDateTime(QDate(2026, 1, 3), QTime(9, 0)), QStringLiteral("COM2"), CallKind::RingOnly, {}, {})
                 .isError());
    const QString t = QStringLiteral("2026-01-02 10:00:00  COM1  ");
    QCOMPARE(history.lines(10).lines,
             (QStringList{t + QStringLiteral("번호 있음  02-1234-5678  김철수"), t + QStringLiteral("발신번호 알 수 없음"),
                          t + QStringLiteral("발신번호 알 수 없음"),
                          QStringLiteral("2026-01-03 09:00:00  COM2  번호 없이 벨만 울림")}));
}

void tst_CallHistory::waitingCallTimeInKoreanForm()
{
    WaitingCalls calls;
    calls.PushWaitingCall(QString(), QDateTime(QDate(2026, 12, 9), QTime(21, 37, 5)));
    QCOMPARE(calls.index(0).data().toString(), QStringLiteral(" [2026-12-09 21:37:05]"));
    QCOMPARE(calls.PopWaitingCall(), QString());
}

QTEST_GUILESS_MAIN(tst_CallHistory)
#include "tst_callhistory.moc"
