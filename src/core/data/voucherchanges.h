// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSqlDriver>
#include <QString>

class Database;

// Vouchers that other PCs insert, change or delete in a server ledger, as the server announces
// them (a trigger on total, see SqlDialect::changeNoticeSql). The announcements arrive through
// the connection's driver on the event loop; those of this connection's own writes are left
// out, as the grid that made them shows them already. A ledger file is one PC's: nothing comes.
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

    // Reads an announcement's payload, "UPDATE 12"; false for anything else.
    static bool parse(const QString &payload, Op *op, qint64 *totalId);

signals:
    void voucherChanged(qint64 totalId, VoucherChanges::Op op);

private:
    void received(const QString &channel, QSqlDriver::NotificationSource source, const QVariant &payload);

    Database &m_db;
    QString m_channel;
    QMetaObject::Connection m_connection;
};
