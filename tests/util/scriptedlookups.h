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
    struct ClientAnswer
    {
        QString code;
        QString name;
    };

    QString SelGroup(const QString &text, const QObject *, int, bool) override
    {
        calls.append({QStringLiteral("group"), text, -1, {}});
        return groups.isEmpty() ? QString() : groups.dequeue();
    }
    QString SelProduct(QString &text, const QObject *, int, bool, const QString &group) override
    {
        calls.append({QStringLiteral("product"), text, -1, group});
        return products.isEmpty() ? QString() : products.dequeue();
    }
    QString SelClient(int mode, const QString &text, QString *codeReceiver, const QObject *, int, bool) override
    {
        calls.append({QStringLiteral("client"), text, mode, {}});
        if (!codeReceiver)
            return {};
        codeReceiver->clear();
        if (clients.isEmpty())
            return {};
        const ClientAnswer a = clients.dequeue();
        *codeReceiver = a.code;
        return a.name;
    }

    QQueue<QString> groups;
    QQueue<QString> products;
    QQueue<ClientAnswer> clients;
    QList<Call> calls;
};
