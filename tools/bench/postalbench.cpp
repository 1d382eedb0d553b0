// SPDX-License-Identifier: GPL-3.0-or-later
// A full postal code list: importing a million lines from CSV, then the address search over it.
#include <QElapsedTimer>
#include <QFile>

#include "core/masterdata/postalimport.h"
#include "core/masterdata/postalsearch.h"
#include "benchcontext.h"

namespace {
constexpr int Lines = 1000000;
} // namespace

void runPostalBench(BenchContext &ctx)
{
    QByteArray csv = "ZIPCODE,SIDO,GUGUN,DONG,BUNJI\n";
    csv.reserve(Lines * 40);
    for (int i = 0; i < Lines; ++i)
        csv += QStringLiteral("%1,서울,강남구,역삼%2동,\n").arg(100000 + i % 900000).arg(i % 97).toUtf8();
    const QString out = ctx.workFolder + QStringLiteral("/dbpost-1m.db");
    QFile::remove(out);
    QElapsedTimer t;
    t.start();
    const PostalImport::Result r = PostalImport::build(csv, out);
    const double importMs = t.nsecsElapsed() / 1e6;
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
        return;
    }
    ctx.report(QStringLiteral("postal import from CSV"), r.rows, importMs, {});

    PostalSearch post;
    if (!post.open(out))
        return;
    PrintingPrompt prompt;
    for (const QString &text : {QStringLiteral("역삼5동"), QStringLiteral("13508")}) {
        qint64 rows = 0;
        const double ms = bestOf(3, [&] { rows = static_cast<qint64>(post.search(text, prompt)->size()); });
        ctx.report(QStringLiteral("postal search '%1'").arg(text), rows, ms, {});
    }
    QFile::remove(out);
}
