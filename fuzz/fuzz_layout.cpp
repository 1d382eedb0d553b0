// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-file reader and writer on any file: reading never fails hard, and a value written
// reads back exactly while the other keys keep what they read before.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/ui/layoutini.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir(QFileInfo::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/solbitsem-fuzz-XXXXXX")
                                                                           : QDir::tempPath() + QStringLiteral("/solbitsem-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("frmMain.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    }
    LayoutFile file(path);
    const QString section = LayoutIni::positionSection();
    const auto before = file.value(QStringLiteral("spList_ColsWidth"), QStringLiteral("Col1"));
    (void)file.number(section, QStringLiteral("Left"));
    (void)LayoutIni::readFormPosition(file);
    (void)LayoutIni::readGridLayout(file, QStringLiteral("spList"), 17);
    if (file.setValue(section, QStringLiteral("Top"), QStringLiteral("1234"))) {
        FUZZ_CHECK(file.value(section, QStringLiteral("Top")) == QStringLiteral("1234"));
        FUZZ_CHECK(file.value(QStringLiteral("spList_ColsWidth"), QStringLiteral("Col1")) == before);
    }
    return 0;
}
