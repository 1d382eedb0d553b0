// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>
#include <QString>

#include "core/base/consoleprompt.h"

class Database;
class LedgerModel;
class UserPrompt;
class QWidget;

// The print button: stages the shown vouchers, then opens the preview over the report folder's
// layout. A failed staging shows the engine's text and no report runs; a layout that cannot
// be written or read is reported and the built-in design used.
void printLedger(QWidget *parent, Database &db, UserPrompt &prompt, const LedgerModel &model, const QString &heading,
                 const QString &reportFolder);

// solbitsem --print-ledger OUT.pdf [--from DATE --to DATE | --product TEXT | --client TEXT]
// [--password-stdin]: the same report from the ledger the settings name, into a PDF, without a
// window or a display, once the ledger's password (if it has one) is given.
// Exits 0 when the PDF was written, 2 on wrong options, 1 on any other failure, each with a
// message on standard error.
int runPrintLedgerCommand(int argc, char *argv[]);

// The frame of a print command: the offscreen platform when none is set (it needs no display),
// the application, the console's prompt, and a failure said under the print title.
class PrintCommand final
{
public:
    PrintCommand(int &argc, char *argv[]);
    Q_DISABLE_COPY_MOVE(PrintCommand)
    // Says text and gives code back, for `return command.fail(…)`.
    int fail(const QString &text, int code);
    ConsolePrompt prompt;

private:
    bool m_platformSet;
    QGuiApplication m_app;
};
inline const char *printLedgerOption()
{
    return "--print-ledger";
}
