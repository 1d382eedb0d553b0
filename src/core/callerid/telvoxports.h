// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class AppSettings;

// The two caller-ID ports of the main window and their settings.
namespace TelvoxPorts {

inline constexpr int Count = 2;

// "OpenTelvoxPort1" and "OpenTelvoxPort2" in section "환경설정"; "1" and "2" when absent.
QString key(int index);
QString defaultText(int index);
// The port table, read fresh from the settings.
QStringList load(const AppSettings &settings);
// "COM" + the port text exactly as stored: the text "3" is COM3; "0" means the member is unused.
QString portName(const QString &portText);
inline bool isUnused(const QString &portText) { return portText == QLatin1String("0"); }
// What the port dialog stores for a typed text: the number it begins with (leading blanks
// skipped) as plain decimal text, or "0" when it does not begin with one.
QString storedText(const QString &typed);

// "TelvoxUse" in section "Registration": "1" is on, anything else off.
QString useKey();

} // namespace TelvoxPorts
