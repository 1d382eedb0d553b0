// SPDX-License-Identifier: GPL-3.0-or-later
// crashdriver LEDGER SEED: commits voucher cells through the core until it is killed. Before each
// write it says what it is about to do ("B …"), after the write returns it acknowledges it
// ("A …"), so a harness that kills it knows what must be in the file and what may be.
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QRandomGenerator>

#include "core/data/database.h"
#include "core/ledger/ledgerrow.h"
#include "core/ledger/voucherstore.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    Database db;
    if (!db.open(QString::fromLocal8Bit(argv[1])))
        return 3;
    std::vector<qint64> ids;
    {
        Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT total_id FROM total")));
        if (!r.ok())
            return 4;
        while (r.query.next())
            ids.push_back(r.query.value(0).toLongLong());
    }
    QRandomGenerator rng(static_cast<quint32>(QByteArray(argv[2]).toUInt()));
    VoucherStore store(db);
    for (quint64 n = 0;; ++n) {
        const quint32 kind = ids.size() < 5 ? 0 : rng.bounded(3);
        const size_t at = ids.empty() ? 0 : rng.bounded(static_cast<quint32>(ids.size()));
        if (kind == 0) {
            LedgerRow row;
            row.maeipDate = QStringLiteral("2026-12-09");
            row.proName = QStringLiteral("품목%1").arg(rng.bounded(1000000));
            std::printf("B i %s\n", row.proName.toUtf8().constData());
            std::fflush(stdout);
            const VoucherStore::Result r = store.insert(row);
            if (!r.ok())
                return 5;
            ids.push_back(r.id);
            std::printf("A %lld\n", static_cast<long long>(r.id));
        } else if (kind == 1) {
            const qint64 cost = rng.bounded(1000000);
            std::printf("B u %lld %lld\n", static_cast<long long>(ids[at]), static_cast<long long>(cost));
            std::fflush(stdout);
            if (!store.update(ids[at], VoucherField::MaeipCost, Money(cost)).ok())
                return 6;
            std::printf("A\n");
        } else {
            std::printf("B d %lld\n", static_cast<long long>(ids[at]));
            std::fflush(stdout);
            if (!store.remove(ids[at]).ok())
                return 7;
            ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(at));
            std::printf("A\n");
        }
        std::fflush(stdout);
    }
}
