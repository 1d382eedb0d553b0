// SPDX-License-Identifier: GPL-3.0-or-later
#include "statementprinting.h"

#include <QDate>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/base/consoleprompt.h"
#include "core/data/database.h"
#include "core/documents/statement.h"
#include "core/documents/statementlayout.h"
#include "core/ledger/checkdate.h"
#include "core/ledger/ledgerselection.h"
#include "core/shell/appsettings.h"
#include "core/shell/commandlogin.h"
#include "core/shell/startup.h"
#include "gui/report/ledgerprinting.h"
#include "statementpainter.h"

namespace {

const QString kTitle = QStringLiteral("거래명세표");

StatementLayout layoutFor(UserPrompt &prompt, const QString &reportFolder)
{
    const LoadedStatementLayout loaded = loadStatementLayout(reportFolder);
    if (!loaded.problem.isEmpty())
        prompt.MsgWarn(loaded.problem, kTitle);
    return loaded.layout;
}

void preview(QWidget *parent, UserPrompt &prompt, const Statement &data, const QString &reportFolder)
{
    const StatementPainter painter(data, layoutFor(prompt, reportFolder));
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    printer.setFullPage(true);
    printer.setDocName(kTitle + QStringLiteral(" - ") + data.customerName);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(kTitle + QStringLiteral(" 미리 보기"));
    dialog.setAccessibleName(kTitle + QStringLiteral(" 미리 보기"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&painter, &prompt](QPrinter *target) {
        if (!painter.paintAll(*target))
            prompt.MsgWarn(QStringLiteral("인쇄하지 못했습니다."), kTitle);
    });
    dialog.exec();
}

// Shows the statement when the data came out, else says why not.
void show(QWidget *parent, UserPrompt &prompt, const QString &reportFolder, const Statement::Outcome &outcome,
          const Statement &data)
{
    if (outcome.error.isError())
        prompt.MsgWarn(QStringLiteral("장부를 읽지 못했습니다.\r\n") + outcome.error.text, kTitle);
    else if (!outcome.refused.isEmpty())
        prompt.MsgWarn(outcome.refused, kTitle);
    else
        preview(parent, prompt, data, reportFolder);
}

} // namespace

void printStatement(QWidget *parent, Database &db, UserPrompt &prompt, const QList<qint64> &totalIds,
                    const QString &reportFolder)
{
    Statement data;
    const Statement::Outcome outcome = Statement::ofVouchers(db, totalIds, data);
    show(parent, prompt, reportFolder, outcome, data);
}

void printStatementOfDay(QWidget *parent, Database &db, UserPrompt &prompt, ClientCode code, const QDate &date,
                         const QString &reportFolder)
{
    Statement data;
    const Statement::Outcome outcome = Statement::ofDay(db, code, date, data);
    show(parent, prompt, reportFolder, outcome, data);
}

QString writeStatementPdf(UserPrompt &prompt, const Statement &data, const QString &reportFolder, const QString &path)
{
    const StatementPainter painter(data, layoutFor(prompt, reportFolder));
    QString error;
    return painter.writePdf(path, &error) ? QString() : error;
}

int runPrintStatementCommand(int argc, char *argv[])
{
    PrintCommand command(argc, argv);
    ConsolePrompt &prompt = command.prompt;
    const auto fail = [&command](const QString &text, int code) { return command.fail(text, code); };
    const QString usage = QStringLiteral("사용법: solbitsem --print-statement 출력.pdf --customer 코드 --date 날짜 "
                                         "[--password-stdin]");
    QStringList args = QGuiApplication::arguments();
    const bool passwordFromStdin = CommandLogin::takeStdinOption(args);
    const qsizetype at = args.indexOf(QLatin1String(printStatementOption()));
    if (at < 0 || at + 1 >= args.size() || args[at + 1].startsWith(QLatin1String("--")))
        return fail(usage, 2);
    const QString out = args[at + 1];
    ClientCode code;
    QString date;
    for (qsizetype i = at + 2; i < args.size(); i += 2) {
        const QString &opt = args[i];
        if (i + 1 >= args.size())
            return fail(QStringLiteral("옵션에 값이 없습니다: ") + opt + QLatin1Char('\n') + usage, 2);
        const QString &value = args[i + 1];
        if (opt == QLatin1String("--customer") && code == ClientCode()) {
            bool ok = false;
            code = ClientCode(value.toInt(&ok));
            if (!ok || !code.isValid())
                return fail(QStringLiteral("판매처 코드는 1 이상의 수입니다: ") + value + QLatin1Char('\n') + usage, 2);
        } else if (opt == QLatin1String("--date") && date.isEmpty()) {
            // The short forms the date boxes accept are accepted here too.
            const auto normal = normaliseDate(value, QDate::currentDate());
            if (!normal)
                return fail(dateFormatMessage(value), 2);
            date = *normal;
        } else {
            return fail(QStringLiteral("알 수 없거나 두 번 준 옵션입니다: ") + opt + QLatin1Char('\n') + usage, 2);
        }
    }
    if (code == ClientCode() || date.isEmpty())
        return fail(usage, 2);

    AppSettings settings;
    Database db;
    const AppPaths paths = ResolvePaths(settings);
    QString where;
    if (const QString problem = openCommandLedger(settings, db, prompt, passwordFromStdin, &where);
        !problem.isEmpty())
        return fail(problem, 1);
    Statement data;
    const Statement::Outcome outcome = Statement::ofDay(db, code, QDate::fromString(date, Qt::ISODate), data);
    if (outcome.error.isError())
        return fail(QStringLiteral("장부를 읽지 못했습니다: ") + where + QLatin1Char('\n') + outcome.error.text, 1);
    if (!outcome.refused.isEmpty())
        return fail(outcome.refused, 1);
    if (const QString error = writeStatementPdf(prompt, data, paths.gRptPath, out); !error.isEmpty())
        return fail(error, 1);
    return 0;
}
