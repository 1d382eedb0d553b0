// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "core/base/clientcode.h"

class Database;
class QWidget;
class UserPrompt;
struct Statement;

// The 거래명세표 of the saved vouchers with these keys in a print preview (any printer, or a
// PDF through the print dialog); vouchers of several customers are refused with a message.
void printStatement(QWidget *parent, Database &db, UserPrompt &prompt, const QList<qint64> &totalIds,
                    const QString &reportFolder);
// The same for every voucher sold to customer code on date.
void printStatementOfDay(QWidget *parent, Database &db, UserPrompt &prompt, ClientCode code, const QDate &date,
                         const QString &reportFolder);
// The statement into a PDF at path with the report folder's Statement.ini; empty on success,
// else the reason. A layout problem is warned about through prompt.
QString writeStatementPdf(UserPrompt &prompt, const Statement &data, const QString &reportFolder, const QString &path);

// solbitsem --print-statement OUT.pdf --customer CODE --date DATE [--password-stdin]: the
// statement of that customer's vouchers sold that day, without a window. Exits 0 when the PDF
// was written, 2 on wrong options, 1 on any other failure, each with a message on standard error.
int runPrintStatementCommand(int argc, char *argv[]);
inline const char *printStatementOption()
{
    return "--print-statement";
}
