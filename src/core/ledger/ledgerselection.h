// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDate>
#include <QString>
#include <QStringList>

#include "voucherquery.h"

class AppSettings;
class Database;
class LedgerModel;
class UserPrompt;

// The vouchers a printed or exported ledger covers when a command asks, not the window: the
// options "[--from DATE --to DATE | --product TEXT | --client TEXT]" chosen as the filter strip
// would choose them. Without options it is the window's opening period.
struct LedgerSelection
{
    VoucherFilter filter;
    // Empty when the options are usable, else what is wrong with them, in Korean.
    QString error;
};
LedgerSelection parseLedgerSelection(const QStringList &options, const QDate &today);

// The line that says what a ledger shows: "기간: 2026-12-01 ~ 2026-12-09", "품목명: 사과",
// "판매처: 가나상회". The precedence is the query's.
QString selectionHeading(const VoucherFilter &filter);

// Opens the ledger the settings name, a file or a server, as loadLedgerSelection does, and runs
// admit; empty on success, else the message. where (if given) gets the file or server it names.
QString openCommandLedger(AppSettings &settings, Database &db, UserPrompt &prompt,
                          const std::function<QString(Database &)> &admit, QString *where = nullptr);
// The same for a command form: the ledger's password is asked on the terminal or, with
// passwordFromStdin, read from standard input (CommandLogin).
QString openCommandLedger(AppSettings &settings, Database &db, UserPrompt &prompt, bool passwordFromStdin,
                          QString *where = nullptr);

// Opens the ledger the settings name, a file or a server (never creating one, never writing the
// settings; a server's password asked through prompt as the window asks it), and fills model
// with the selected vouchers in query order, without an entry row. Empty on success, else the
// message. admit, when given, runs once the ledger is open and before anything is read: its
// message ends the load.
QString loadLedgerSelection(AppSettings &settings, Database &db, UserPrompt &prompt, const VoucherFilter &filter,
                            LedgerModel &model, const std::function<QString(Database &)> &admit = {});
