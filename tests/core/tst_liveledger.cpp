// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <map>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include "core/data/database.h"
#include "core/data/schemamaint.h"
#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/liveledger.h"
#include "core/ledger/voucherquery.h"
#include "core/ledger/voucherstore.h"
#include "scriptedprompt.h"
#include "templedger.h"

using C = LedgerModel::Column;

namespace {

// One PC on the ledger: its connection, its grid and what keeps the grid live.
struct Client
{
    explicit Client(Database &database) : db(database), ledger(db, prompt, model), live(db, ledger, model), store(db) {}
    bool show() { return ledger.DispList(filter()); }
    static VoucherFilter filter()
    {
        VoucherFilter f;
        f.fromDate = QDate(2026, 12, 1);
        f.toDate = QDate(2026, 12, 31);
        return f;
    }
    int rowOf(qint64 id) const
    {
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.row(r).totalId == id)
                return r;
        return -1;
    }
    int saved() const { return model.hasEntryRow() ? model.rowCount() - 1 : model.rowCount(); }

    Database &db;
    ScriptedPrompt prompt;
    LedgerModel model;
    Ledger ledger;
    LiveLedger live;
    VoucherStore store;
};

struct StandInGuard final : LiveLedger::Guard
{
    qint64 held = 0;
    bool fixed = false;
    qint64 heldVoucher() const override { return held; }
    bool rowsFixed() const override { return fixed; }
};

QString fieldsOf(const LedgerRow &r)
{
    QStringList out{QString::number(r.totalId)};
    for (int c = C::ColMaeipDate; c <= C::ColUsecost; ++c)
        out << LedgerModel::valueOf(r, c).toString();
    return out.join(QLatin1Char('|'));
}

// Every voucher the filter finds, by key, as stored; their totals.
std::map<qint64, QString> storedRows(Database &db, const VoucherFilter &f, LedgerModel::Totals *totals = nullptr)
{
    std::vector<LedgerRow> rows;
    readVouchers(db, voucherQuery(db.dialect(), f), rows);
    std::map<qint64, QString> out;
    LedgerModel::Totals t;
    for (const LedgerRow &r : rows) {
        out[r.totalId] = fieldsOf(r);
        t.maeipCost += r.maeipCost;
        t.maechulCost += r.maechulCost;
        t.usecost += r.maechulUsecost;
        t.margin += r.margin();
    }
    if (totals)
        *totals = t;
    return out;
}

// The grid shows exactly what its query finds in the ledger now, with the totals of that.
bool showsStored(Client &c)
{
    std::map<qint64, QString> shown;
    for (int r = 0; r < c.saved(); ++r)
        shown[c.model.row(r).totalId] = fieldsOf(c.model.row(r));
    LedgerModel::Totals t;
    return shown == storedRows(c.db, Client::filter(), &t) && c.model.totals() == t && c.model.hasEntryRow();
}

QString day(int d) { return QStringLiteral("2026-%1").arg(d <= 0 ? QStringLiteral("11-2%1").arg(-d % 10) : QStringLiteral("12-%1").arg(d, 2, 10, QLatin1Char('0'))); }

} // namespace

class tst_LiveLedger : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempLedger> m_l;
    std::unique_ptr<Database> m_other;

private slots:
    void initTestCase()
    {
        INIT_LEDGER_TEST();
        if (!TestEngine::isServer())
            QSKIP("다른 PC의 변경은 서버 장부에서만 알려집니다.");
    }
    void init()
    {
        m_other.reset();
        m_l = std::make_unique<TempLedger>();
        m_other = std::make_unique<Database>();
        QVERIFY(m_other->open(m_l->settings()));
    }

    void twoClientsConvergeUnderConcurrentWrites();
    void heldRowWaitsForItsEdit();
    void changeShownWithinASecond();
    void maintenanceAddsTheTrigger();
    void listensAgainAfterReconnect();
    void idleGridCatchesUpAfterLoss();
    void idleGridCatchesUpAfterServerRestart();
};

// Both PCs insert, change and delete for a few seconds, each showing its own writes as the
// voucher editor does; every acknowledged write stays, and both grids end as the ledger is.
void tst_LiveLedger::twoClientsConvergeUnderConcurrentWrites()
{
    for (int d = 1; d <= 6; ++d)
        m_l->addVoucher(voucher(day(d), QStringLiteral("seed"), 100 * d, day(d), 300 * d, 10));
    Client a(m_l->db());
    Client b(*m_other);
    QVERIFY(a.live.start());
    QVERIFY(b.live.start());
    QVERIFY(a.show());
    QVERIFY(b.show());

    // What every acknowledged write leaves in the ledger, by key.
    std::map<qint64, LedgerRow> rows;
    {
        std::vector<LedgerRow> all;
        readVouchers(m_l->db(), voucherSelect(QStringLiteral("total")), all);
        for (const LedgerRow &r : all)
            rows[r.totalId] = r;
    }
    QRandomGenerator rng(17);
    const auto anyKey = [&]() -> qint64 {
        if (rows.empty())
            return 0;
        auto it = rows.begin();
        std::advance(it, rng.bounded(int(rows.size())));
        return it->first;
    };
    int writes = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000) {
        Client &c = writes % 2 ? a : b;
        const int what = rng.bounded(10);
        const qint64 id = anyKey();
        if (what < 4 || id == 0) {
            // A sale date in November falls outside both grids' period.
            LedgerRow v = voucher(day(1 + rng.bounded(28)), QStringLiteral("P%1").arg(writes), 0,
                                  day(rng.bounded(5) == 0 ? -rng.bounded(9) : 1 + rng.bounded(28)));
            const VoucherStore::Result r = c.store.insert(v);
            QVERIFY2(r.ok(), qPrintable(r.error.text));
            v.totalId = r.id;
            rows[v.totalId] = v;
            if (v.maechulDate.startsWith(QLatin1String("2026-12")))
                c.model.insertVoucherRow(c.saved(), v);
        } else if (what < 8) {
            const int column = rng.bounded(3) == 0 ? C::ColProName : (rng.bounded(2) ? C::ColMaeipCost : C::ColMaechulCost);
            const QVariant value = column == C::ColProName ? QVariant(QStringLiteral("E%1").arg(writes))
                                                            : QVariant(qint64(rng.bounded(100000)));
            const FieldValue typed = column == C::ColProName ? FieldValue(value.toString()) : Money(value.toLongLong());
            const VoucherStore::Result r = c.store.update(id, *voucherFieldOf(column), typed);
            QVERIFY2(r.ok() && r.rowsAffected == 1, qPrintable(r.error.text));
            LedgerRow &v = rows[id];
            if (column == C::ColProName)
                v.proName = value.toString();
            else if (column == C::ColMaeipCost)
                v.maeipCost = value.toLongLong();
            else
                v.maechulCost = value.toLongLong();
            if (const int at = c.rowOf(id); at >= 0)
                c.model.store(at, column, value);
        } else {
            const VoucherStore::Result r = c.store.remove(id);
            QVERIFY2(r.ok() && r.rowsAffected == 1, qPrintable(r.error.text));
            rows.erase(id);
            if (const int at = c.rowOf(id); at >= 0)
                c.model.removeVoucherRow(at);
        }
        ++writes;
        QCoreApplication::processEvents();
    }
    QVERIFY(writes > 50);
    std::map<qint64, QString> expected;
    for (const auto &[id, r] : rows)
        expected[id] = fieldsOf(r);
    VoucherFilter everything;
    everything.fromDate = QDate(2000, 1, 1);
    everything.toDate = QDate(2099, 1, 1);
    QCOMPARE(storedRows(m_l->db(), everything), expected);
    QTRY_VERIFY_WITH_TIMEOUT(showsStored(a) && showsStored(b) && !a.live.hasPending() && !b.live.hasPending(), 5000);
    qInfo("%d acknowledged writes, %d vouchers shown", writes, a.saved());
}

// The voucher whose cell is being edited keeps what the grid holds until the edit is over;
// while rows are addressed by number none comes or goes; the rest follows at once.
void tst_LiveLedger::heldRowWaitsForItsEdit()
{
    const qint64 x = m_l->addVoucher(voucher(day(1), QStringLiteral("X"), 100, day(1)));
    const qint64 y = m_l->addVoucher(voucher(day(2), QStringLiteral("Y"), 200, day(2)));
    Client a(m_l->db());
    StandInGuard guard;
    guard.held = x;
    a.live.setGuard(&guard);
    QVERIFY(a.live.start());
    QVERIFY(a.show());
    VoucherStore b(*m_other);
    QVERIFY(b.update(x, VoucherField::MaeipCost, Money(111)).ok());
    QVERIFY(b.update(y, VoucherField::MaeipCost, Money(222)).ok());
    QTRY_COMPARE(a.model.row(1).maeipCost, Q_INT64_C(222));
    QCOMPARE(a.model.row(0).maeipCost, Q_INT64_C(100));
    QVERIFY(a.live.hasPending());

    guard.fixed = true;
    QVERIFY(b.remove(y).ok());
    const VoucherStore::Result added = b.insert(voucher(day(3), QStringLiteral("Z"), 0, day(3)));
    QVERIFY(added.ok());
    QTest::qWait(300);
    QCOMPARE(a.saved(), 2);

    guard = StandInGuard();
    QTRY_VERIFY(showsStored(a));
    QCOMPARE(a.model.row(0).maeipCost, Q_INT64_C(111));
    QCOMPARE(a.model.row(1).totalId, added.id);
    QCOMPARE(a.model.totals().maeipCost, Q_INT64_C(111));
}

void tst_LiveLedger::changeShownWithinASecond()
{
    const qint64 x = m_l->addVoucher(voucher(day(1), QStringLiteral("X"), 100, day(1)));
    Client a(m_l->db());
    QVERIFY(a.live.start());
    QVERIFY(a.show());
    VoucherStore b(*m_other);
    QList<qint64> delays;
    QElapsedTimer clock;
    QEventLoop loop;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&a.live, &LiveLedger::applied, &loop, [&] { delays << clock.nsecsElapsed() / 1000; loop.quit(); });
    for (int i = 1; i <= 20; ++i) {
        QVERIFY(b.update(x, VoucherField::MaeipCost, Money(i)).ok());
        clock.start(); // the write is committed when the call returns
        giveUp.start(2000);
        loop.exec();
        QCOMPARE(a.model.row(0).maeipCost, qint64(i));
    }
    QCOMPARE(delays.size(), 20);
    std::sort(delays.begin(), delays.end());
    qInfo("commit to row updated: median %lld us, slowest %lld us", delays.at(delays.size() / 2), delays.last());
    QVERIFY(delays.last() < 1000 * 1000);
}

// A server ledger made before the trigger gets it at the start-up maintenance.
void tst_LiveLedger::maintenanceAddsTheTrigger()
{
    m_l->exec(SqlStatement(QStringLiteral("DROP TRIGGER total_changed ON total")));
    Client a(m_l->db());
    QVERIFY(a.live.start());
    QVERIFY(a.show());
    ScriptedPrompt prompt;
    QVERIFY(CheckGroupField(*m_other, prompt));
    QVERIFY(CheckGroupField(*m_other, prompt)); // present now: left as it is
    VoucherStore b(*m_other);
    const VoucherStore::Result added = b.insert(voucher(day(3), QStringLiteral("Z"), 0, day(3)));
    QVERIFY(added.ok());
    QTRY_COMPARE(a.saved(), 1);
    QCOMPARE(a.model.row(0).totalId, added.id);
    QVERIFY(showsStored(a));
}

// A connection lost and opened again by the next statement listens again.
void tst_LiveLedger::listensAgainAfterReconnect()
{
    const qint64 x = m_l->addVoucher(voucher(day(1), QStringLiteral("X"), 100, day(1)));
    Client a(m_l->db());
    QVERIFY(a.live.start());
    QVERIFY(a.show());
    Database::Result pid = m_l->exec(SqlStatement(QStringLiteral("SELECT pg_backend_pid()")));
    QVERIFY(pid.query.next());
    QVERIFY_SQL(m_other->exec(SqlStatement(QStringLiteral("SELECT pg_terminate_backend(:pid)"))
                                  .bind(QStringLiteral("pid"), pid.query.value(0).toLongLong())));
    QCOMPARE(a.store.read(x, nullptr) ? 1 : 0, 0); // meets the loss: the 91 error
    QVERIFY(a.store.read(x));                      // opens again
    QVERIFY(VoucherStore(*m_other).update(x, VoucherField::MaeipCost, Money(777)).ok());
    QTRY_COMPARE(a.model.row(0).maeipCost, Q_INT64_C(777));
}

// A PC left idle while its connection is ended (as a server restart ends it) finds the loss by
// itself, opens again, and reads what the other PC wrote meanwhile, unannounced to it; the
// current row's voucher keeps its row.
void tst_LiveLedger::idleGridCatchesUpAfterLoss()
{
    const qint64 x = m_l->addVoucher(voucher(day(1), QStringLiteral("X"), 8001, day(1)));
    const qint64 y = m_l->addVoucher(voucher(day(2), QStringLiteral("Y"), 5, day(2)));
    const qint64 z = m_l->addVoucher(voucher(day(3), QStringLiteral("Z"), 7, day(3)));
    Client a(m_l->db());
    QVERIFY(a.live.start());
    QVERIFY(a.show());
    const QPersistentModelIndex current = a.model.index(a.rowOf(z), 0);
    QSignalSpy caughtUp(&a.live, &LiveLedger::caughtUp);
    Database::Result pid = m_l->exec(SqlStatement(QStringLiteral("SELECT pg_backend_pid()")));
    QVERIFY(pid.query.next());
    QVERIFY_SQL(m_other->exec(SqlStatement(QStringLiteral("SELECT pg_terminate_backend(:pid)"))
                                  .bind(QStringLiteral("pid"), pid.query.value(0).toLongLong())));
    QVERIFY(VoucherStore(*m_other).update(x, VoucherField::MaeipCost, Money(8003)).ok());
    QVERIFY(VoucherStore(*m_other).remove(y).ok());
    const VoucherStore::Result added = VoucherStore(*m_other).insert(voucher(day(4), QStringLiteral("W"), 0, day(4)));
    QVERIFY(added.ok());
    const qint64 w = added.id;
    QTRY_VERIFY_WITH_TIMEOUT(a.rowOf(w) >= 0, 3 * VoucherChanges::CheckInterval);
    QCOMPARE(a.model.row(a.rowOf(x)).maeipCost, Q_INT64_C(8003));
    QCOMPARE(a.rowOf(y), -1);
    QVERIFY(showsStored(a));
    QCOMPARE(current.row(), a.rowOf(z));
    QCOMPARE(caughtUp.count(), 1);
    // Listening again: a later change comes announced.
    QVERIFY(VoucherStore(*m_other).update(z, VoucherField::MaeipCost, Money(70)).ok());
    QTRY_COMPARE(a.model.row(a.rowOf(z)).maeipCost, Q_INT64_C(70));
}

// The same across a real restart of the test server (scripts/pgcluster.sh's own cluster).
void tst_LiveLedger::idleGridCatchesUpAfterServerRestart()
{
    const QString cluster = qEnvironmentVariable("PGHOST");
    if (!cluster.startsWith(QStringLiteral("/tmp/solbitsem-pg.")))
        QSKIP("Only the throwaway cluster of scripts/pgcluster.sh is restarted.");
    const qint64 x = m_l->addVoucher(voucher(day(1), QStringLiteral("X"), 8001, day(1)));
    Client a(m_l->db());
    QVERIFY(a.live.start());
    QVERIFY(a.show());
    m_other.reset();
    QProcess restart;
    restart.start(QStringLiteral("bash"), {QStringLiteral(SOLBITSEM_SOURCE_DIR "/scripts/pgcluster.sh"), QStringLiteral("restart"), cluster});
    QVERIFY(restart.waitForFinished(60000));
    QCOMPARE(restart.exitCode(), 0);
    Database b;
    QVERIFY(b.open(m_l->settings()));
    QVERIFY(VoucherStore(b).update(x, VoucherField::MaeipCost, Money(8003)).ok());
    QTRY_COMPARE_WITH_TIMEOUT(a.model.row(a.rowOf(x)).maeipCost, Q_INT64_C(8003), 3 * VoucherChanges::CheckInterval);
    QVERIFY(showsStored(a));
}

QTEST_GUILESS_MAIN(tst_LiveLedger)
#include "tst_liveledger.moc"
