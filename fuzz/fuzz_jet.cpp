// SPDX-License-Identifier: GPL-3.0-or-later
// The old file's table reader on any file: it opens, lists, describes and reads every table of
// it, or fails with a message; it never crashes or hangs.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/migrate/jetfile.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // libmdb reads only from a path; a folder in memory keeps the write cheap.
    static QTemporaryDir dir(QFileInfo::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/solbitsem-fuzz-XXXXXX")
                                                                           : QDir::tempPath() + QStringLiteral("/solbitsem-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("panDB.mdb"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    }
    JetFile jet;
    if (!jet.open(path)) {
        FUZZ_CHECK(!jet.error().isEmpty());
        return 0;
    }
    for (const QString &name : jet.tableNames()) {
        const JetFile::Table table = jet.table(name);
        if (table.name.isEmpty())
            continue;
        QList<int> columns;
        for (int c = 0; c < table.columns.size(); ++c)
            columns << c;
        // A damaged header may count billions of rows; a few hundred reach every code path.
        int rows = 0;
        const bool read = jet.readRows(table, columns, [&](const JetFile::Row &row) {
            for (int i = 0; i < columns.size(); ++i)
                (void)row.text(i);
            return ++rows < 500;
        });
        FUZZ_CHECK(read || rows == 500 || !jet.error().isEmpty());
    }
    return 0;
}
