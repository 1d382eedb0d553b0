// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportfonts.h"

#include <QFontDatabase>

// Outside any namespace, as Q_INIT_RESOURCE requires; the resource lives in a static library.
static void initFontResource()
{
    Q_INIT_RESOURCE(solbitsem_fonts);
}

QString reportFontFamily()
{
    static const bool registered = [] {
        initFontResource();
        bool ok = true;
        for (const char *file : {":/fonts/NanumBarunGothic.ttf", ":/fonts/NanumBarunGothicBold.ttf"})
            ok = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 && ok;
        return ok;
    }();
    Q_UNUSED(registered);
    return QStringLiteral("NanumBarunGothic");
}

QFont reportUnitFont(const QString &family, double points, double unitsPerPoint, bool bold)
{
    // Not NanumGothic: its blank maps back to a control character, so text copied out of the
    // PDF would lose its spaces.
    const QString carried = reportFontFamily();
    QFont f(family.isEmpty() ? carried : family);
    f.setPixelSize(qMax(1, qRound(points * unitsPerPoint)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}
