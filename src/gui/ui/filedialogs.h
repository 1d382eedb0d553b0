// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The program's file dialogs: Qt's own, with the type and date columns in Korean. Qt's Korean
// translation lacks the file types ("Folder"), and the dates follow the system's locale
// ("9 Dec 2026") rather than the program's.
QString openFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter);
QString saveFileName(QWidget *parent, const QString &title, const QString &suggested, const QString &filter);

// What the dialogs show for an entry in the type and date columns.
QString koreanFileType(bool folder, const QString &suffix);
