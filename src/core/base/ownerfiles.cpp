// SPDX-License-Identifier: GPL-3.0-or-later
#include "ownerfiles.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFileInfo>
#include <QStringList>

bool MakeOwnerFolders(const QString &path, QString *error)
{
    QString at = QFileInfo(path).absoluteFilePath();
    QStringList missing;
    while (!QFileInfo::exists(at)) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).absolutePath();
        if (parent == at)
            break;
        at = parent;
    }
    // The system's reason says whether a file is in the way, the disk is read-only or the user
    // may not write there.
    const auto fail = [error, &path](const QString &reason) {
        if (error)
            *error = QStringLiteral("폴더를 만들 수 없습니다: ") + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + reason;
        return false;
    };
    if (!QFileInfo(at).isDir())
        return fail(QStringLiteral("폴더가 아닌 파일이 있습니다: ") + QDir::toNativeSeparators(at));
    for (const QString &folder : std::as_const(missing)) {
        const std::filesystem::path p(folder.toStdU16String());
        std::error_code reason;
        // Another start making the same folder meanwhile is no failure.
        if (!std::filesystem::create_directory(p, reason) && reason)
            return fail(QString::fromLocal8Bit(reason.message()));
        std::filesystem::permissions(p, std::filesystem::perms::owner_all, reason);
    }
    return true;
}
