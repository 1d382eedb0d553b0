// SPDX-License-Identifier: GPL-3.0-or-later
// The postal CSV reader: any file text decodes, and any line splits into fields that, quoted
// again, split back into the same fields.
#include <QStringList>

#include "core/base/cp949.h"
#include "core/masterdata/postalimport.h"
#include "fuzzcheck.h"

static QString quoted(const QStringList &fields)
{
    QStringList out;
    for (QString f : fields)
        out << QLatin1Char('"') + f.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return out.join(QLatin1Char(','));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = Cp949::decodeUtf8OrCp949(bytes);
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList fields = PostalImport::splitCsvLine(line);
        FUZZ_CHECK(PostalImport::splitCsvLine(quoted(fields)) == fields);
    }
    return 0;
}
