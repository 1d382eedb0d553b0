// SPDX-License-Identifier: GPL-3.0-or-later
#include "appfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/base/userprompt.h"

namespace AppFolders {

QString root()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/") + programTitle();
#else
    return QDir::homePath() + QLatin1Char('/') + programTitle();
#endif
}

QString defaultDbPath() { return root() + QStringLiteral("/Dbs"); }
QString defaultRptPath() { return root() + QStringLiteral("/Rpt"); }

QString programFile(const QString &relative)
{
    QStringList dirs;
    if (QCoreApplication::instance())
        dirs << QCoreApplication::applicationDirPath()
             << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/solbitsem");
    for (const QString &d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        dirs << d + QStringLiteral("/solbitsem");
    for (const QString &d : dirs) {
        const QFileInfo f(d + QLatin1Char('/') + relative);
        if (f.exists())
            return f.absoluteFilePath();
    }
    return {};
}

QString formIniDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/FormIni");
}

} // namespace AppFolders
