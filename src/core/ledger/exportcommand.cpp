// SPDX-License-Identifier: GPL-3.0-or-later
#include "exportcommand.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QStringList>

#include "core/base/consoleprompt.h"
#include "core/data/database.h"
#include "core/shell/appsettings.h"
#include "core/shell/commandlogin.h"
#include "ledgerexport.h"
#include "ledgermodel.h"
#include "ledgerselection.h"

namespace {

void say(std::FILE *to, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), to);
}

} // namespace

QString withoutLibraryLines(const std::function<QString()> &write)
{
    // libxlsxwriter prints its own English lines on a failure; the caller's Korean message says it.
    const int savedStderr = ::dup(STDERR_FILENO);
    if (const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC); null >= 0) {
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    const QString error = write();
    if (savedStderr >= 0) {
        ::dup2(savedStderr, STDERR_FILENO);
        ::close(savedStderr);
    }
    return error;
}

std::optional<int> runExportLedger(int argc, char *argv[])
{
    const QString command = QStringLiteral("--export-ledger");
    if (!CommandApp::names(argc, argv, command))
        return std::nullopt;
    CommandApp app(argc, argv);
    QStringList &args = app.args;
    const bool passwordFromStdin = app.passwordFromStdin;
    const QString out = args.isEmpty() ? QString() : args.takeFirst();
    const QString suffix = out.section(QLatin1Char('.'), -1).toLower();
    const LedgerSelection selection = parseLedgerSelection(args, QDate::currentDate());
    if (out.isEmpty() || out.startsWith(QStringLiteral("--")) || (suffix != QStringLiteral("xlsx") && suffix != QStringLiteral("csv"))
        || !selection.error.isEmpty()) {
        if (!selection.error.isEmpty())
            say(stderr, selection.error);
        say(stderr, QStringLiteral("사용법: solbitsem --export-ledger OUT.xlsx|OUT.csv "
                                   "[--from DATE --to DATE | --product TEXT | --client TEXT] "
                                   "[--password-stdin]"));
        return 2;
    }
    AppSettings settings;
    Database db;
    ConsolePrompt prompt;
    LedgerModel model;
    if (const QString error = loadLedgerSelection(settings, db, prompt, selection.filter, model,
                                                     [&](Database &ledger) { return CommandLogin::admit(ledger, passwordFromStdin); });
        !error.isEmpty()) {
        say(stderr, error);
        return 1;
    }
    const QString heading = selectionHeading(selection.filter);
    const QString writeError = withoutLibraryLines([&] { return LedgerExport::write(model, out, heading); });
    if (const QString &error = writeError; !error.isEmpty()) {
        say(stderr, QStringLiteral("저장하지 못했습니다: ") + QDir::toNativeSeparators(out) + QLatin1Char('\n') + error);
        return 1;
    }
    say(stdout, heading + QStringLiteral(" — 전표 ") + QString::number(model.rowCount()) + QStringLiteral("건을 저장했습니다: ")
                    + QDir::toNativeSeparators(out));
    return 0;
}
