// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the program's folders live on this platform.
namespace AppFolders {
// C:\솔빛셈 on Windows, ~/솔빛셈 elsewhere.
QString root();
QString defaultDbPath();
QString defaultRptPath();
// A read-only file of the program folder (Image/…, doc/…): beside the executable first, then
// in the installed data folder. Empty when neither has it.
QString programFile(const QString &relative);
// The writable layout folder (FormIni) in the user's application data folder.
QString formIniDir();
} // namespace AppFolders
