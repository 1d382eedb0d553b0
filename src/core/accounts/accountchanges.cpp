// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountchanges.h"

#include "core/data/voucherchanges.h"

AccountChanges::AccountChanges(Database &db, QObject *parent) : QObject(parent), m_changes(new VoucherChanges(db, this))
{
    connect(m_changes, &VoucherChanges::accountChanged, this, [this](int mode, qint64 code) {
        if (const auto m = busiModeOf(mode))
            emit accountChanged(*m, code);
    });
    connect(m_changes, &VoucherChanges::voucherChanged, this, &AccountChanges::vouchersChanged);
    connect(m_changes, &VoucherChanges::reconnected, this, &AccountChanges::reconnected);
}

AccountChanges::~AccountChanges() = default;

bool AccountChanges::listen()
{
    return m_changes->listen();
}
