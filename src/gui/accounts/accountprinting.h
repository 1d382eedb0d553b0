// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class QHBoxLayout;
class QPushButton;
class ReportTable;
struct ReportForm;
class UserPrompt;
class QWidget;

// Opens the print preview of table with the report folder's layout for form (written with the
// built-in design when missing; a faulty one is reported and the built-in design used).
void printAccountReport(QWidget *parent, UserPrompt &prompt, const ReportTable &table, const ReportForm &form,
                        const QString &reportFolder);
// Writes table into a PDF at path; empty on success, else the reason. A layout problem is
// warned about through prompt.
QString writeAccountReportPdf(UserPrompt &prompt, const ReportTable &table, const ReportForm &form,
                              const QString &reportFolder, const QString &path);

// solbitsem --print-client-ledger OUT.pdf (--customer CODE | --supplier CODE) [--from DATE --to DATE]
// [--password-stdin]: one client's ledger from the ledger the settings name, into a PDF, without a
// window. Without a period it covers this month to today, as the window opens. Exits 0 when the
// PDF was written, 2 on wrong options, 1 on any other failure, each with a message on standard
// error.
int runPrintClientLedgerCommand(int argc, char *argv[]);
inline const char *printClientLedgerOption()
{
    return "--print-client-ledger";
}

// Asks where to save (a workbook or CSV, in the report folder under name and today's date) and
// runs write there, saying what came of it. write returns empty on success, else the reason.
void exportAccountTable(QWidget *parent, UserPrompt &prompt, const QString &reportFolder, const QString &name,
                        const std::function<QString(const QString &path)> &write);

// The command row of the client ledger and balances windows: 인쇄, 저장 (엑셀·CSV), then 닫기
// at the right end, each pressed by Enter only when focused. Close closes window.
struct ReportButtons
{
    QPushButton *print;
    QPushButton *save;
    QPushButton *close;
};
ReportButtons addReportButtons(QWidget *window, QHBoxLayout *row);
