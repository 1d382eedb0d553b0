// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
#include <QTimer>

#include "core/callerid/calleriddesk.h"
#include "core/callerid/telvox.h"
#include "core/callerid/waitingcalls.h"
#include "core/masterdata/clientrecord.h"
#include "core/shell/appsettings.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

// Records what the desk shows, one line per call, in order. It keeps no panel: the desk must
// know the caller's name itself.
class ScriptedView final : public CallerIdDesk::View
{
public:
    void showNumber(const QString &number) override { shown << QStringLiteral("number ") + number; }
    void showCaller(const ClientRecord *caller) override
    {
        shown << (caller ? QStringLiteral("caller %1 %2").arg(caller->id.value()).arg(caller->name) : QStringLiteral("caller -"));
    }
    void showProducts(const QString &text) override { shown << QStringLiteral("products ") + text; }
    void addLogLine(const QString &line) override { log.prepend(line); }
    void addHistoryLine(const QString &line) override { history << line; }
    void useWaitingList() override { ++waitingListUses; }

    QStringList shown;
    QStringList log;
    QStringList history;
    int waitingListUses = 0;
};

const QDateTime at(QDate(2026, 12, 9), QTime(14, 5, 7));

} // namespace

class tst_CallerIdDesk final : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempLedger> m_ledger;
    std::unique_ptr<AppSettings> m_settings;
    ScriptedPrompt m_prompt;
    ScriptedView m_view;
    std::unique_ptr<CallerIdDesk> m_desk;

    void ring(const CallerReport &report) { emit m_desk->device(0).Received(report); }
    QStringList storedCalls()
    {
        Database::Result r = m_ledger->exec(
            SqlStatement(QStringLiteral("SELECT number, client_name, kind FROM call_history ORDER BY call_id")));
        QStringList out;
        while (r.query.next())
            out << r.query.value(0).toString() + QLatin1Char('|') + r.query.value(1).toString() + QLatin1Char('|')
                       + r.query.value(2).toString();
        return out;
    }

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        TestEnvironment::instance().reset();
        m_ledger = std::make_unique<TempLedger>();
        m_ledger->addClient(1, 1, QStringLiteral("김철수"), QStringLiteral("02-123-4567"));
        m_ledger->addClient(1, 2, QStringLiteral("박영희"), {}, QStringLiteral("010-9876-5432"));
        LedgerRow tv = voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 100, QStringLiteral("2026-12-01"), 150);
        tv.maechulCode = ClientCode(1);
        m_ledger->addVoucher(tv);
        m_settings = std::make_unique<AppSettings>();
        m_prompt.clear();
        m_view = ScriptedView();
        m_desk = std::make_unique<CallerIdDesk>(*m_settings, m_ledger->db(), m_prompt, m_view);
        m_desk->setClock([] { return at; });
    }
    void cleanup()
    {
        m_desk.reset();
        m_ledger.reset();
    }

    void callShownLoggedAndKept();
    void reportsTakeTheirTurn();
    void queueAndWords();
    void failedQueriesShowTheirBox();
};

void tst_CallerIdDesk::callShownLoggedAndKept()
{
    ring({CallerReport::Number, QStringLiteral("021234567")});
    QCOMPARE(m_view.shown, (QStringList{QStringLiteral("number 021234567"), QStringLiteral("caller -"),
                                        QStringLiteral("caller 1 김철수"), QStringLiteral("products TV(2026-12-01)")}));
    QCOMPARE(m_view.log, QStringList{QStringLiteral("02-123-4567    2026-12-09 14:05:07 김철수 [제품: TV(2026-12-01)]")});
    // The history keeps the customer the lookup found, though no panel was read back.
    QCOMPARE(storedCalls(), QStringList{QStringLiteral("021234567|김철수|1")});
    QCOMPARE(m_view.history, QStringList{QStringLiteral("2026-12-09 14:05:07  COM  번호 있음  02-123-4567  김철수")});
    QCOMPARE(m_desk->earlierCalls(10), m_view.history);

    // An unregistered number: blank panels, the notice as products, no name kept.
    ring({CallerReport::Number, QStringLiteral("0299998888")});
    QCOMPARE(m_view.shown.last(), QStringLiteral("products 등록되지 않은 전화번호 입니다.(0299998888)"));
    QCOMPARE(m_view.log.first(),
             QStringLiteral("02-9999-8888   2026-12-09 14:05:07  [제품: 등록되지 않은 전화번호 입니다.(0299998888)]"));
    QCOMPARE(storedCalls().last(), QStringLiteral("0299998888||1"));
    // A number that cannot be one: said in the products, no log line.
    QVERIFY(m_desk->InputFromTelvox(QStringLiteral("12345")));
    QCOMPARE(m_view.shown.last(), QStringLiteral("products 알수 없는 전화번호 형식입니다.(12345)"));
    QCOMPARE(m_view.log.size(), 2);
    QCOMPARE(m_prompt.count(), 0);
}

void tst_CallerIdDesk::reportsTakeTheirTurn()
{
    // The second report arrives while the first lookup lets the event loop run: it is looked up
    // after the first is shown whole, and kept after it.
    QTimer::singleShot(0, this, [this] { ring({CallerReport::Number, QStringLiteral("01098765432")}); });
    ring({CallerReport::Number, QStringLiteral("021234567")});
    QCOMPARE(m_view.shown, (QStringList{QStringLiteral("number 021234567"), QStringLiteral("caller -"),
                                        QStringLiteral("caller 1 김철수"), QStringLiteral("products TV(2026-12-01)"),
                                        QStringLiteral("number 01098765432"), QStringLiteral("caller -"),
                                        QStringLiteral("caller 2 박영희"), QStringLiteral("products ()")}));
    QCOMPARE(storedCalls(), (QStringList{QStringLiteral("021234567|김철수|1"), QStringLiteral("01098765432|박영희|1")}));
}

void tst_CallerIdDesk::queueAndWords()
{
    // No number and nothing waiting: queued, looked up by nothing.
    ring({CallerReport::NoNumber, QString()});
    QCOMPARE(m_desk->waitingCalls().rowCount(), 1);
    QVERIFY(m_view.waitingListUses > 0);
    QVERIFY(m_view.shown.isEmpty());
    // A waiting number is looked up by the next report without one; the customer is the
    // waiting call's, not this report's, so the history keeps no name for it.
    m_desk->waitingCalls().setStringList({QStringLiteral("021234567 [어제]")});
    ring({CallerReport::NoNumber, QStringLiteral("P")});
    QCOMPARE(m_desk->waitingCalls().rowCount(), 0);
    QCOMPARE(m_view.shown.value(2), QStringLiteral("caller 1 김철수"));
    // Words in place of a number are kinds, never looked up; other reports are no calls.
    ring({CallerReport::Number, QStringLiteral("Restricted")});
    ring({CallerReport::Other, QStringLiteral("OK")});
    QCOMPARE(storedCalls(), (QStringList{QStringLiteral("||3"), QStringLiteral("||2"), QStringLiteral("||2")}));
    QCOMPARE(m_desk->waitingCalls().rowCount(), 1); // the word's report found nothing waiting
}

void tst_CallerIdDesk::failedQueriesShowTheirBox()
{
    const QString query = QStringLiteral("Query");
    m_ledger->exec(SqlStatement(QStringLiteral("DROP TABLE call_history")));
    m_ledger->exec(SqlStatement(QStringLiteral("DROP TABLE maechul")));
    // The lookup's failure: the failed query's box, blank panels, no log line; the history's
    // failure: the same box once, however often it rings.
    m_prompt.ok().ok().ok();
    ring({CallerReport::Number, QStringLiteral("021234567")});
    QCOMPARE(m_prompt.count(), 2);
    QCOMPARE(m_prompt.asked.at(0).title, query);
    QVERIFY2(m_prompt.asked.at(0).lines().startsWith(QStringLiteral("Jet Data Base Engine의 식을 확인하세요.\nSELECT")),
             qPrintable(m_prompt.asked.at(0).text));
    QVERIFY2(m_prompt.asked.at(1).lines().contains(QStringLiteral("INSERT INTO call_history")),
             qPrintable(m_prompt.asked.at(1).text));
    QCOMPARE(m_view.shown, (QStringList{QStringLiteral("number 021234567"), QStringLiteral("caller -")}));
    QVERIFY(m_view.log.isEmpty());
    QVERIFY(m_desk->InputFromTelvox(QStringLiteral("021234567")));
    QCOMPARE(m_prompt.count(), 3);
    m_prompt.ok();
    ring({CallerReport::NoNumber, QStringLiteral("P")});
    QCOMPARE(m_prompt.count(), 3);
    // The earlier calls cannot be read: the box, and nothing listed.
    QVERIFY(m_desk->earlierCalls(10).isEmpty());
    QCOMPARE(m_prompt.count(), 4);
    QCOMPARE(m_prompt.last().title, query);
}

QTEST_GUILESS_MAIN(tst_CallerIdDesk)
#include "tst_calleriddesk.moc"
