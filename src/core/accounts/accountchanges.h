// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include "core/masterdata/businessmode.h"

class Database;
class VoucherChanges;

// Payments and opening balances that other PCs write into a server ledger, as the server
// announces them (within a second, as vouchers), and the vouchers whose amounts move a balance.
// A ledger file is one PC's: nothing comes.
class AccountChanges final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AccountChanges)

public:
    explicit AccountChanges(Database &db, QObject *parent = nullptr);
    ~AccountChanges() override;

    // False where the engine announces nothing, or when the server refused.
    bool listen();

signals:
    // A payment or the opening balance of this client changed on another PC.
    void accountChanged(BusiMode mode, qint64 clientCode);
    // A voucher changed on another PC (which client is not told): balances may have moved.
    void vouchersChanged();
    // The connection came back after a loss: anything may have changed.
    void reconnected();

private:
    VoucherChanges *m_changes;
};
