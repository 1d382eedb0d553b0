// SPDX-License-Identifier: GPL-3.0-or-later
#include "ownerfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

bool MakeOwnerFolders(const QString &path, QString *error)
{
    QString at = QFileInfo(path).absoluteFilePath();
    QStringList missing;
    while (!QFileInfo(at).exists()) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).absolutePath();
        if (parent == at)
            break;
        at = parent;
    }
    if (!QFileInfo(at).isDir()) {
        if (error)
            *error = QStringLiteral("폴더가 아닌 파일이 있습니다: ") + QDir::toNativeSeparators(at);
        return false;
    }
    for (const QString &folder : std::as_const(missing)) {
        // Another start making the same folder meanwhile is no failure.
        if (!QDir().mkdir(folder, OwnerFiles::folderMode()) && !QFileInfo(folder).isDir()) {
            if (error)
                *error = QStringLiteral("폴더를 만들 수 없습니다: ") + QDir::toNativeSeparators(folder);
            return false;
        }
    }
    return true;
}
