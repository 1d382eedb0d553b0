// SPDX-License-Identifier: GPL-3.0-or-later
// The import of an old Jet ledger: the fixture brought in again and again, each time into a new
// file in one transaction, as a first start does it.
#include <ctime>

#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>

#include "core/migrate/jetfile.h"
#include "core/migrate/ledgerimport.h"
#include "benchcontext.h"

namespace {

constexpr int Repeats = 40;

double childProcessorMs()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

void importRepeatedly(BenchContext &ctx, const QString &jetFile)
{
    qint64 vouchers = 0;
    qint64 rows = 0;
    double best = 1e300;
    QElapsedTimer all;
    all.start();
    const std::clock_t cpu = std::clock();
    for (int i = 0; i < Repeats; ++i) {
        const QString out = ctx.workFolder + QStringLiteral("/import-%1").arg(i);
        QDir(out).removeRecursively();
        QElapsedTimer t;
        t.start();
        const LedgerImport::Result r = LedgerImport::run({jetFile, out, {}});
        best = std::min(best, t.nsecsElapsed() / 1e6);
        if (!r.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(r.error));
            return;
        }
        for (const LedgerImport::TableCount &c : r.tables) {
            rows += c.written;
            if (c.table == QLatin1String("total"))
                vouchers += c.written;
        }
        QDir(out).removeRecursively();
    }
    const double ms = all.nsecsElapsed() / 1e6;
    const double cpuMs = double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
    // Each import is a file of its own with its own syncs; the processor time shows the rate of
    // a long import, where those few waits no longer count.
    ctx.report(QStringLiteral("Jet import x%1 (vouchers)").arg(Repeats), vouchers, ms,
               QStringLiteral("%1 vouchers/s (%2 rows/s); processor time %3 ms: %4 vouchers/s; best single import %5 ms")
                   .arg(qRound64(vouchers / (ms / 1000)))
                   .arg(qRound64(rows / (ms / 1000)))
                   .arg(cpuMs, 0, 'f', 1)
                   .arg(qRound64(vouchers / (cpuMs / 1000)))
                   .arg(best, 0, 'f', 1));
}

void importLarge(BenchContext &ctx, const QString &jetFile)
{
    // A large import: the fixture's vouchers read 400 times over in one stream (1,000,000
    // vouchers) into one file, in one transaction, the repeats under new keys; the file's fixed
    // costs no longer count.
    constexpr int Passes = 400;
    const QString out = ctx.workFolder + QStringLiteral("/import-large");
    QDir(out).removeRecursively();
    QElapsedTimer t;
    t.start();
    const std::clock_t cpu = std::clock();
    const double childCpu = childProcessorMs();
    LedgerImport::Options options{jetFile, out, {}};
    options.voucherPasses = Passes;
    const LedgerImport::Result r = LedgerImport::run(options);
    const double ms = t.nsecsElapsed() / 1e6;
    const double cpuMs = double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
    const double childMs = childProcessorMs() - childCpu;
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
        return;
    }
    qint64 vouchers = 0;
    for (const LedgerImport::TableCount &c : r.tables)
        if (c.table == QLatin1String("total"))
            vouchers = c.written;
    ctx.report(QStringLiteral("Jet import, vouchers x%1 in one file").arg(Passes), vouchers, ms,
               QStringLiteral("%1 vouchers/s; processor time %2 ms here, %3 ms in the reading children")
                   .arg(qRound64(vouchers / (ms / 1000)))
                   .arg(cpuMs, 0, 'f', 1)
                   .arg(childMs, 0, 'f', 1));
    QDir(out).removeRecursively();
}

void readOnly(BenchContext &ctx, const QString &jetFile)
{
    // The reading alone (in its child), to tell libmdb's share from the writing.
    JetFile jet;
    if (!jet.open(jetFile))
        return;
    const JetFile::Table total = jet.table(QStringLiteral("total"));
    QList<int> columns;
    for (int i = 0; i < total.columns.size(); ++i)
        columns << i;
    qint64 read = 0;
    QElapsedTimer t;
    t.start();
    const std::clock_t readCpu = std::clock();
    for (int i = 0; i < Repeats; ++i)
        jet.readRows(total, columns, [&](const JetFile::Row &row) {
            read += row.utf8(0).size() > 0;
            return true;
        });
    const double readMs = t.nsecsElapsed() / 1e6;
    const double readCpuMs = double(std::clock() - readCpu) * 1000 / CLOCKS_PER_SEC;
    ctx.report(QStringLiteral("Jet read of total x%1 (libmdb only)").arg(Repeats), read, readMs,
               QStringLiteral("%1 rows/s; processor time %2 ms: %3 rows/s")
                   .arg(qRound64(read / (readMs / 1000)))
                   .arg(readCpuMs, 0, 'f', 1)
                   .arg(qRound64(read / (readCpuMs / 1000))));
}

} // namespace

void runImportBench(BenchContext &ctx, const QString &jetFile, bool largeOnly)
{
    if (!largeOnly)
        importRepeatedly(ctx, jetFile);
    importLarge(ctx, jetFile);
    if (!largeOnly)
        readOnly(ctx, jetFile);
}
