// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerprinting.h"

#include <QDate>
#include <QGuiApplication>

#include "core/data/database.h"
#include "core/report/ledgerprint.h"
#include "core/ledger/ledgerselection.h"
#include "core/report/reportlayout.h"
#include "core/shell/appsettings.h"
#include "core/shell/commandlogin.h"
#include "core/shell/startup.h"
#include "frmprintpreview.h"
#include "ledgerreportpainter.h"

namespace {

const QString kPrintTitle = QStringLiteral("인쇄");

} // namespace

void printLedger(QWidget *parent, Database &db, UserPrompt &prompt, const LedgerModel &model, const QString &heading,
                 const QString &reportFolder)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    LedgerReport report;
    const SqlError error = prepareLedgerReport(db, model, heading, QDate::currentDate(), report);
    const LoadedLayout layout = error.isError() ? LoadedLayout{} : loadReportLayout(reportFolder);
    QGuiApplication::restoreOverrideCursor();
    if (error.isError()) {
        prompt.ShowErrBox(stagingErrorCaption(), error.code, error.text);
        return;
    }
    if (!layout.problem.isEmpty())
        prompt.MsgWarn(layout.problem, kPrintTitle);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const LedgerReportPainter painter(report, layout.layout);
    QGuiApplication::restoreOverrideCursor();
    FrmPrintPreview preview(painter, prompt, parent);
    preview.exec();
}

namespace {

bool setOffscreenWhenUnset()
{
    // The command never shows a window, so it needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

} // namespace

PrintCommand::PrintCommand(int &argc, char *argv[]) : m_platformSet(setOffscreenWhenUnset()), m_app(argc, argv) {}

int PrintCommand::fail(const QString &text, int code)
{
    prompt.MsgWarn(text, kPrintTitle);
    return code;
}

int runPrintLedgerCommand(int argc, char *argv[])
{
    PrintCommand command(argc, argv);
    ConsolePrompt &prompt = command.prompt;
    const auto fail = [&command](const QString &text, int code) { return command.fail(text, code); };
    QStringList args = QGuiApplication::arguments();
    const bool passwordFromStdin = CommandLogin::takeStdinOption(args);
    const qsizetype at = args.indexOf(QLatin1String(printLedgerOption()));
    if (at < 0 || at + 1 >= args.size() || args[at + 1].startsWith(QLatin1String("--")))
        return fail(QStringLiteral("사용법: solbitsem --print-ledger 출력.pdf [--from 날짜 --to 날짜 | --product 품목명 | "
                                   "--client 판매처명] [--password-stdin]"),
                    2);
    const QString out = args[at + 1];
    const LedgerSelection selection = parseLedgerSelection(args.mid(at + 2), QDate::currentDate());
    if (!selection.error.isEmpty())
        return fail(selection.error, 2);
    AppSettings settings;
    Database db;
    const AppPaths paths = ResolvePaths(settings);
    LedgerModel model;
    const QString loadError = loadLedgerSelection(settings, db, prompt, selection.filter, model, [&](Database &ledger) {
        return CommandLogin::admit(ledger, passwordFromStdin);
    });
    if (!loadError.isEmpty())
        return fail(loadError, 1);
    LedgerReport report;
    const SqlError error = prepareLedgerReport(db, model, selectionHeading(selection.filter), QDate::currentDate(), report);
    if (error.isError())
        return fail(stagingErrorCaption() + QLatin1Char('\n') + error.text, 1);
    const LoadedLayout layout = loadReportLayout(paths.gRptPath);
    if (!layout.problem.isEmpty())
        prompt.MsgWarn(layout.problem, kPrintTitle);
    const LedgerReportPainter painter(report, layout.layout);
    QString writeError;
    if (!painter.writePdf(out, &writeError))
        return fail(writeError, 1);
    return 0;
}
