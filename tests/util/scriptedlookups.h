// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QQueue>
#include <QString>

#include "core/masterdata/voucherlookups.h"

// Lookups for tests of the voucher grid: each call is recorded and answered from a script
// (an empty answer when nothing is scripted, as a closed search window gives).
class ScriptedLookups final : public VoucherLookups
{
public:
    struct Call
    {
        QString kind; // "group", "product", "client"
        QString text;
        int mode = -1;
        QString group;
    };
    QString SelGroup(const QString &text, const QObject *, FormRules::Horizontal, bool) override
    {
        calls.append({QStringLiteral("group"), text, -1, {}});
        return groups.isEmpty() ? QString() : groups.dequeue();
    }
    QString SelProduct(QString &text, const QObject *, FormRules::Horizontal, bool, const QString &group) override
    {
        calls.append({QStringLiteral("product"), text, -1, group});
        return products.isEmpty() ? QString() : products.dequeue();
    }
    std::optional<PickedClient> SelClient(BusiMode mode, const QString &text, const QObject *, FormRules::Horizontal,
                                          bool) override
    {
        calls.append({QStringLiteral("client"), text, toInt(mode), {}});
        if (clients.isEmpty())
            return std::nullopt;
        return clients.dequeue();
    }

    QQueue<QString> groups;
    QQueue<QString> products;
    QQueue<PickedClient> clients;
    QList<Call> calls;
};
