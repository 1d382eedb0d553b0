// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appsettings.h"

// Every key the program stores, each with its type and the value read when it is absent.
// The names are the stored ones and never change: users' settings files carry them.
namespace Settings {

inline SettingKey<QString> environmentText(const QString &name, const QString &fallback = {})
{
    return {AppSettings::environment(), name, fallback};
}

// Start-up: the folders and files found last time.
inline const SettingKey<QString> dbPath = environmentText(QStringLiteral("db경로"));
inline const SettingKey<QString> rptPath = environmentText(QStringLiteral("Rpt경로"));
inline const SettingKey<QString> dbFile = environmentText(QStringLiteral("db기초"));
inline const SettingKey<QString> postFile = environmentText(QStringLiteral("우편번호"));
// The start-up notice is skipped when set; any text but "0" skips it, as it always has.
inline const SettingKey<bool> noMsg{AppSettings::environment(), QStringLiteral("NoMsg"), false, true};
// The seller's telephone, told after the third wrong password.
inline const SettingKey<QString> sellerTel = environmentText(QStringLiteral("판매처전화"));

// Where the ledger lives: "파일" or "서버", and the server's address.
inline const SettingKey<QString> ledgerKind = environmentText(QStringLiteral("장부종류"));
inline const SettingKey<QString> serverHost = environmentText(QStringLiteral("서버주소"));
inline const SettingKey<int> serverPort{AppSettings::environment(), QStringLiteral("서버포트"), 0};
inline const SettingKey<QString> serverDatabase = environmentText(QStringLiteral("서버DB"));
inline const SettingKey<QString> serverUser = environmentText(QStringLiteral("서버사용자"));

// How many daily and monthly backup copies are kept.
inline const SettingKey<int> backupKeepDays{AppSettings::environment(), QStringLiteral("백업보관일수"), 14};
inline const SettingKey<int> backupKeepMonths{AppSettings::environment(), QStringLiteral("백업보관개월수"), 12};

// The caller-ID device's line; the texts are checked where the port is opened, so a bad one
// is named in the reply rather than replaced by its default.
inline const SettingKey<QString> telvoxBaudRate = environmentText(QStringLiteral("TelvoxBaudRate"), QStringLiteral("1200"));
inline const SettingKey<QString> telvoxDataBits = environmentText(QStringLiteral("TelvoxDataBits"), QStringLiteral("8"));
inline const SettingKey<QString> telvoxParity = environmentText(QStringLiteral("TelvoxParity"), QStringLiteral("N"));
inline const SettingKey<QString> telvoxStopBits = environmentText(QStringLiteral("TelvoxStopBits"), QStringLiteral("1"));
inline const SettingKey<QString> telvoxInitCommand =
    environmentText(QStringLiteral("TelvoxInitCommand"), QStringLiteral("AT+VCID=1"));
// The main window's two caller-ID ports ("OpenTelvoxPort1", "OpenTelvoxPort2"): "1" and "2".
inline SettingKey<QString> telvoxPort(int index)
{
    return environmentText(QStringLiteral("OpenTelvoxPort%1").arg(index + 1), QString::number(index + 1));
}
// What a port name such as "COM3" stands for: a device path or an "NCID:" address.
inline SettingKey<QString> telvoxPortTarget(const QString &portName) { return environmentText(portName); }
// Caller ID on or off.
inline const SettingKey<bool> telvoxUse{AppSettings::registration(), QStringLiteral("TelvoxUse"), false};

// The waiting-calls window's place, in twips; -1 leaves it where it was designed.
inline const SettingKey<int> waitingListX{AppSettings::environment(), QStringLiteral("발신번호대기창x"), -1};
inline const SettingKey<int> waitingListY{AppSettings::environment(), QStringLiteral("발신번호대기창y"), -1};

} // namespace Settings
