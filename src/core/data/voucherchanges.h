// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSqlDriver>
#include <QString>
#include <QTimer>

class Database;

// Vouchers that other PCs insert, change or delete in a server ledger, as the server announces
// them (a trigger on total, see SqlDialect::changeNoticeSql), and the clients whose payments or
// opening balance they change. The announcements arrive through
// the connection's driver on the event loop; those of this connection's own writes are left
// out, as the grid that made them shows them already. A ledger file is one PC's: nothing comes.
// A server that restarts or drops the connection announces nothing to an idle PC: a cheap
// question every few seconds finds the loss, opens the connection again and listens anew.
class VoucherChanges final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VoucherChanges)

public:
    enum class Op { Insert, Update, Delete };
    Q_ENUM(Op)

    explicit VoucherChanges(Database &db, QObject *parent = nullptr);
    ~VoucherChanges() override;

    // Listens on the open ledger's channel (again after the ledger was opened anew). False
    // where the engine announces nothing, or when the server refused.
    bool listen();

    // Asks the server whether the connection still stands; a lost one is opened again (and
    // listened on anew, with reconnected()). Runs by itself every few seconds while listening.
    void check();
    // How often check() runs while the server answers; after a failed reopening the pause
    // doubles, up to MaxCheckInterval, so a server that stays away costs little.
    static constexpr int CheckInterval = 3000;
    static constexpr int MaxCheckInterval = 60000;

    // Reads an announcement's payload, "UPDATE 12"; false for anything else.
    static bool parse(const QString &payload, Op *op, qint64 *totalId);

signals:
    void voucherChanged(qint64 totalId, VoucherChanges::Op op);
    // A payment or opening balance of a client (busiMode 0 or 1, its code) changed.
    void accountChanged(int busiMode, qint64 clientCode);
    // The connection was lost and is open and listening again: what other PCs wrote meanwhile
    // was never announced. Emitted inside the statement that reopened it; act on it later.
    void reconnected();

private:
    void received(const QString &channel, QSqlDriver::NotificationSource source, const QVariant &payload);

    Database &m_db;
    QString m_channel;
    QMetaObject::Connection m_connection;
    QTimer m_check;
};
