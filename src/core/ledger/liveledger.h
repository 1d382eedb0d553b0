// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QHash>
#include <QObject>
#include <QTimer>

#include "core/data/voucherchanges.h"

class Database;
class Ledger;
class LedgerModel;
struct LedgerRow;

// Keeps the ledger grid up to date with what other PCs write into a server ledger. A burst of
// announcements becomes one pass on the event loop: a changed voucher the grid shows is read
// again and replaced in place (the totals moved by the difference), a deleted one's row goes,
// and a new or changed voucher that the shown query would find now is read and put in where
// that query's order (sale date, key) puts it, or just above the entry row once a header click
// has sorted the grid otherwise.
class LiveLedger final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveLedger)

public:
    // What the grid is doing. The voucher whose cell is open, or whose commit is running, is
    // left as it is until that is over, so that the edit decides what its cell holds; while
    // rowsFixed (a commit or a question addresses rows by number), no row comes or goes.
    class Guard
    {
    public:
        virtual ~Guard() = default;
        virtual qint64 heldVoucher() const = 0;
        virtual bool rowsFixed() const = 0;
    };

    LiveLedger(Database &db, Ledger &ledger, LedgerModel &model, QObject *parent = nullptr);

    void setGuard(const Guard *guard) { m_guard = guard; }
    // Listens to the ledger's announcements; false where it makes none (a file).
    bool start();
    // One announcement; the pass follows on the event loop, once for all of a burst.
    void noteChange(qint64 totalId, VoucherChanges::Op op);
    bool hasPending() const { return !m_pending.isEmpty(); }
    // The pass: applies what is pending and may be applied now; the rest waits for the guard.
    void applyPending();
    // The connection came back after a loss: the next pass reads the shown query again whole.
    void noteReconnected();
    // What the window says after that catch-up.
    static QString caughtUpText();

signals:
    // After a pass changed the grid.
    void applied();
    // After the shown rows were read again following a lost and reopened connection.
    void caughtUp();

private:
    // Announcements were missed while the connection was gone: every shown row is compared with
    // the shown query read again, changed ones replaced, missing ones removed, new ones put in
    // (the voucher of an open edit is read again after it). False while rows are fixed.
    bool catchUp();
    void insertInOrder(const LedgerRow &row);
    void removeRows(std::vector<int> rows);

    Database &m_db;
    Ledger &m_ledger;
    LedgerModel &m_model;
    VoucherChanges m_changes;
    const Guard *m_guard = nullptr;
    QHash<qint64, VoucherChanges::Op> m_pending; // the last announcement of each voucher
    QTimer m_pass;
    QTimer m_retry; // while something waits for the guard
    bool m_catchUp = false;
};
