// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDevice>
#include <QString>

// The ledger, its backups and exports hold the shop's customers and sales: what the program
// creates is readable by the owner only. Files and folders that already exist keep their modes.
namespace OwnerFiles {
inline QFileDevice::Permissions fileMode() { return QFileDevice::ReadOwner | QFileDevice::WriteOwner; }
inline QFileDevice::Permissions folderMode()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
}
} // namespace OwnerFiles

// Like QDir::mkpath, each folder it makes readable by the owner only. error, when given, gets
// a message naming path and the system's reason.
bool MakeOwnerFolders(const QString &path, QString *error = nullptr);
