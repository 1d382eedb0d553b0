// SPDX-License-Identifier: GPL-3.0-or-later
// The layout-file reader and writer on any file: reading never fails hard, a value written
// reads back exactly while the other keys keep what they read before, and the written file
// reads back the same.
#include "core/layout/layoutini.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LayoutFile file = LayoutFile::fromBytes(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const QString section = LayoutIni::positionSection();
    const QString cols = QStringLiteral("spList_ColsWidth");
    const auto before = file.value(cols, QStringLiteral("Col1"));
    (void)file.number(section, QStringLiteral("Left"));
    (void)LayoutIni::readFormPosition(file);
    (void)LayoutIni::readGridLayout(file, QStringLiteral("spList"), 17);
    FUZZ_CHECK(file.setValue(section, QStringLiteral("Top"), QStringLiteral("1234")));
    FUZZ_CHECK(file.value(section, QStringLiteral("Top")) == QStringLiteral("1234"));
    FUZZ_CHECK(file.value(cols, QStringLiteral("Col1")) == before);
    const LayoutFile written = LayoutFile::fromBytes(file.toBytes());
    FUZZ_CHECK(written.value(section, QStringLiteral("Top")) == QStringLiteral("1234"));
    FUZZ_CHECK(written.value(cols, QStringLiteral("Col1")) == before);
    return 0;
}
