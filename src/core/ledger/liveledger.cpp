// SPDX-License-Identifier: GPL-3.0-or-later
#include "liveledger.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <QSet>

#include "core/data/database.h"
#include "ledger.h"
#include "ledgermodel.h"
#include "voucherquery.h"

namespace {

// Keys per statement: well within both engines' limits of bound values.
constexpr qsizetype KeysPerRead = 500;

// Reads the vouchers of keys through query(chunk), a chunk at a time, in each chunk's order.
SqlError readChunked(Database &db, const QList<qint64> &keys,
                     const std::function<SqlStatement(const QList<qint64> &)> &query, std::vector<LedgerRow> &rows)
{
    for (qsizetype i = 0; i < keys.size(); i += KeysPerRead)
        if (const SqlError e = readVouchers(db, query(keys.mid(i, KeysPerRead)), rows); e.isError())
            return e;
    return {};
}

bool before(const LedgerRow &a, const LedgerRow &b)
{
    return a.maechulDate != b.maechulDate ? a.maechulDate < b.maechulDate : a.totalId < b.totalId;
}

} // namespace

LiveLedger::LiveLedger(Database &db, Ledger &ledger, LedgerModel &model, QObject *parent)
    : QObject(parent), m_db(db), m_ledger(ledger), m_model(model), m_changes(db)
{
    m_pass.setSingleShot(true);
    m_pass.setInterval(0);
    m_retry.setSingleShot(true);
    m_retry.setInterval(200);
    connect(&m_pass, &QTimer::timeout, this, &LiveLedger::applyPending);
    connect(&m_retry, &QTimer::timeout, this, &LiveLedger::applyPending);
    connect(&m_changes, &VoucherChanges::voucherChanged, this, &LiveLedger::noteChange);
    connect(&m_changes, &VoucherChanges::reconnected, this, &LiveLedger::noteReconnected);
}

void LiveLedger::noteReconnected()
{
    m_catchUp = true;
    if (!m_pass.isActive())
        m_pass.start();
}

QString LiveLedger::caughtUpText()
{
    return QStringLiteral("장부 서버에 다시 연결되어 그동안 바뀐 전표를 다시 읽었습니다.");
}

void LiveLedger::insertInOrder(const LedgerRow &r)
{
    const int saved = m_model.hasEntryRow() ? m_model.rowCount() - 1 : m_model.rowCount();
    int at = saved;
    if (m_model.inQueryOrder()) {
        // The first saved row the query puts after it; rows edited since may stand out of
        // order, which only moves the place, never loses the row.
        int lo = 0;
        int hi = saved;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (before(r, m_model.row(mid)))
                hi = mid;
            else
                lo = mid + 1;
        }
        at = lo;
    }
    m_model.insertVoucherRow(at, r);
}

void LiveLedger::removeRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int r : rows)
        m_model.removeVoucherRow(r);
}

bool LiveLedger::catchUp()
{
    // Rows addressed by number wait; the pass comes again.
    if (m_guard && m_guard->rowsFixed())
        return false;
    m_catchUp = false;
    m_pending.clear(); // the whole query read again covers every announcement so far
    std::vector<LedgerRow> stored;
    // A failed read leaves the grid as it is; the next reconnection or query brings it up to date.
    if (readVouchers(m_db, voucherQuery(m_db.dialect(), m_ledger.shownFilter()), stored).isError())
        return true;
    const qint64 held = m_guard ? m_guard->heldVoucher() : 0;
    QHash<qint64, const LedgerRow *> byId;
    for (const LedgerRow &r : stored)
        byId.insert(r.totalId, &r);
    QSet<qint64> shown;
    std::vector<int> gone;
    for (int r = 0; r < m_model.rowCount(); ++r) {
        const qint64 id = m_model.row(r).totalId;
        if (id <= 0)
            continue;
        shown.insert(id);
        if (id == held)
            m_pending.insert(id, VoucherChanges::Op::Update); // read again once its edit ends
        else if (const LedgerRow *now = byId.value(id); !now)
            gone.push_back(r);
        else if (!(*now == m_model.row(r)))
            m_model.replaceRow(r, *now);
    }
    removeRows(std::move(gone));
    for (const LedgerRow &r : stored)
        if (!shown.contains(r.totalId))
            insertInOrder(r);
    emit applied();
    emit caughtUp();
    return true;
}

bool LiveLedger::start()
{
    return m_changes.listen();
}

void LiveLedger::noteChange(qint64 totalId, VoucherChanges::Op op)
{
    m_pending.insert(totalId, op);
    if (!m_pass.isActive())
        m_pass.start();
}

void LiveLedger::applyPending()
{
    m_pass.stop();
    m_retry.stop();
    // A grid that shows no query (none yet, or a failed one) gets every row from the next one.
    if (!m_ledger.isListed()) {
        m_pending.clear();
        m_catchUp = false;
        return;
    }
    if (m_catchUp && !catchUp()) {
        m_retry.start();
        return;
    }
    if (m_pending.isEmpty())
        return;
    const qint64 held = m_guard ? m_guard->heldVoucher() : 0;
    const bool fixed = m_guard && m_guard->rowsFixed();
    QHash<qint64, int> rowOf;
    for (int r = 0; r < m_model.rowCount(); ++r)
        if (const qint64 id = m_model.row(r).totalId; id > 0)
            rowOf.insert(id, r);

    QHash<qint64, VoucherChanges::Op> waiting;
    QList<qint64> shown;   // read again, replaced in place
    QList<qint64> gone;    // rows to remove
    QList<qint64> unseen;  // may have come into the query
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        const qint64 id = it.key();
        const bool isShown = rowOf.contains(id);
        if (id == held)
            waiting.insert(id, it.value());
        else if (isShown && it.value() != VoucherChanges::Op::Delete)
            shown << id;
        else if (fixed && (isShown || it.value() != VoucherChanges::Op::Delete))
            waiting.insert(id, it.value());
        else if (isShown)
            gone << id;
        else if (it.value() != VoucherChanges::Op::Delete)
            unseen << id;
    }
    m_pending.clear();
    bool changed = false;

    // What fails to read here is left to the next query: the grid is never filled in part.
    std::vector<LedgerRow> stored;
    if (!shown.isEmpty() && !readChunked(m_db, shown, vouchersByKeys, stored).isError()) {
        QHash<qint64, const LedgerRow *> byId;
        for (const LedgerRow &r : stored)
            byId.insert(r.totalId, &r);
        for (const qint64 id : std::as_const(shown)) {
            if (const LedgerRow *r = byId.value(id)) {
                m_model.replaceRow(rowOf.value(id), *r);
                changed = true;
            } else if (fixed) {
                waiting.insert(id, VoucherChanges::Op::Delete); // deleted since its announcement
            } else {
                gone << id;
            }
        }
    }

    std::vector<int> removeAt;
    for (const qint64 id : std::as_const(gone))
        removeAt.push_back(rowOf.value(id));
    changed = changed || !removeAt.empty();
    removeRows(std::move(removeAt));

    std::vector<LedgerRow> added;
    const VoucherFilter filter = m_ledger.shownFilter();
    const SqlDialect dialect = m_db.dialect();
    if (!unseen.isEmpty()
        && !readChunked(m_db, unseen, [&](const QList<qint64> &keys) { return voucherQuery(dialect, filter, keys); }, added)
                .isError()) {
        std::sort(added.begin(), added.end(), before);
        for (const LedgerRow &r : added) {
            insertInOrder(r);
            changed = true;
        }
    }

    m_pending = waiting;
    if (!m_pending.isEmpty())
        m_retry.start();
    if (changed)
        emit applied();
}
