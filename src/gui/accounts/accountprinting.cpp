// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountprinting.h"

#include <algorithm>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>

#include "core/accounts/accountreports.h"
#include "core/accounts/clientledger.h"
#include "core/accounts/payment.h"
#include "core/base/consoleprompt.h"
#include "core/data/database.h"
#include "core/ledger/ledgerselection.h"
#include "core/base/userprompt.h"
#include "core/masterdata/clientregister.h"
#include "core/shell/appsettings.h"
#include "core/shell/commandlogin.h"
#include "core/shell/startup.h"
#include "core/ledger/checkdate.h"
#include "gui/report/frmprintpreview.h"
#include "gui/report/ledgerprinting.h"
#include "gui/report/ledgerreportpainter.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/formhelpers.h"

namespace {

const QString kPrintTitle = QStringLiteral("인쇄");

} // namespace

void printAccountReport(QWidget *parent, UserPrompt &prompt, const ReportTable &table, const ReportForm &form,
                        const QString &reportFolder)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadedLayout layout = loadReportLayout(reportFolder, form);
    QGuiApplication::restoreOverrideCursor();
    if (!layout.problem.isEmpty())
        prompt.MsgWarn(layout.problem, kPrintTitle);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const LedgerReportPainter painter(table, layout.layout);
    QGuiApplication::restoreOverrideCursor();
    FrmPrintPreview preview(painter, prompt, parent);
    preview.exec();
}

QString writeAccountReportPdf(UserPrompt &prompt, const ReportTable &table, const ReportForm &form,
                              const QString &reportFolder, const QString &path)
{
    const LoadedLayout layout = loadReportLayout(reportFolder, form);
    if (!layout.problem.isEmpty())
        prompt.MsgWarn(layout.problem, kPrintTitle);
    const LedgerReportPainter painter(table, layout.layout);
    QString error;
    return painter.writePdf(path, &error) ? QString() : error;
}

int runPrintClientLedgerCommand(int argc, char *argv[])
{
    PrintCommand command(argc, argv);
    ConsolePrompt &prompt = command.prompt;
    const auto fail = [&command](const QString &text, int code) { return command.fail(text, code); };
    const QString usage = QStringLiteral("사용법: solbitsem --print-client-ledger 출력.pdf (--customer 코드 | --supplier 코드) "
                                         "[--from 날짜 --to 날짜] [--password-stdin]");
    QStringList args = QGuiApplication::arguments();
    const bool passwordFromStdin = CommandLogin::takeStdinOption(args);
    const qsizetype at = args.indexOf(QLatin1String(printClientLedgerOption()));
    if (at < 0 || at + 1 >= args.size() || args[at + 1].startsWith(QLatin1String("--")))
        return fail(usage, 2);
    const QString out = args[at + 1];
    const QDate today = QDate::currentDate();
    std::optional<BusiMode> mode;
    qint64 code = 0;
    QString from = QDate(today.year(), today.month(), 1).toString(Qt::ISODate);
    QString to = today.toString(Qt::ISODate);
    bool hasFrom = false, hasTo = false;
    for (qsizetype i = at + 2; i < args.size(); i += 2) {
        const QString &opt = args[i];
        if (i + 1 >= args.size())
            return fail(QStringLiteral("옵션에 값이 없습니다: ") + opt + QLatin1Char('\n') + usage, 2);
        const QString &value = args[i + 1];
        if (opt == QLatin1String("--customer") || opt == QLatin1String("--supplier")) {
            bool ok = false;
            code = value.toLongLong(&ok);
            if (mode || !ok || code <= 0)
                return fail(QStringLiteral("거래처는 --customer 또는 --supplier 하나에 코드(1 이상의 수)로 줍니다.\n") + usage, 2);
            mode = opt == QLatin1String("--customer") ? BusiMode::Customer : BusiMode::Supplier;
        } else if (opt == QLatin1String("--from") || opt == QLatin1String("--to")) {
            bool &seen = opt == QLatin1String("--from") ? hasFrom : hasTo;
            if (seen)
                return fail(QStringLiteral("옵션을 두 번 주었습니다: ") + opt, 2);
            seen = true;
            // The short forms the date boxes accept are accepted here too.
            const auto date = normaliseDate(value, today);
            if (!date)
                return fail(dateFormatMessage(value), 2);
            (opt == QLatin1String("--from") ? from : to) = *date;
        } else {
            return fail(QStringLiteral("알 수 없는 옵션입니다: ") + opt + QLatin1Char('\n') + usage, 2);
        }
    }
    if (!mode)
        return fail(usage, 2);
    if (hasFrom != hasTo)
        return fail(QStringLiteral("기간은 --from과 --to를 함께 주어야 합니다."), 2);
    if (from > to)
        return fail(QStringLiteral("기간의 시작이 끝보다 늦습니다: ") + from + QStringLiteral(" ~ ") + to, 2);

    AppSettings settings;
    Database db;
    const AppPaths paths = ResolvePaths(settings);
    QString where;
    if (const QString problem = openCommandLedger(settings, db, prompt, passwordFromStdin, &where);
        !problem.isEmpty())
        return fail(problem, 1);
    const auto found = shownOnFailure(ClientRegister(db, *mode).find(ClientCode::fromNumber(code)), prompt);
    const std::optional<ClientRecord> record = found ? *found : std::nullopt;
    ClientLedgerModel model;
    if (const SqlError error = model.load(db, *mode, code, from, to); error.isError())
        return fail(QStringLiteral("장부를 읽지 못했습니다: ") + where + QLatin1Char('\n') + error.text, 1);
    // A deleted client's vouchers and payments still print; a code nothing ever used is a mistake.
    const bool used = std::any_of(model.lines().begin(), model.lines().end(), [](const ClientLedger::Row &r) {
        return r.kind == ClientLedger::Row::Kind::Voucher || r.kind == ClientLedger::Row::Kind::Payment
               || r.balance != 0;
    });
    if (!record && !used)
        return fail(QStringLiteral("%1처 코드 %2인 거래처가 없습니다: ").arg(busiWord(*mode)).arg(code) + where, 1);
    const QString name = record ? record->name : PaymentRules::deletedClientName();
    const ClientLedgerTable table(model, AccountReports::clientHeading(*mode, code, name, from, to), today);
    if (const QString error = writeAccountReportPdf(prompt, table, AccountReports::clientLedgerForm(), paths.gRptPath, out);
        !error.isEmpty())
        return fail(error, 1);
    return 0;
}

void exportAccountTable(QWidget *parent, UserPrompt &prompt, const QString &reportFolder, const QString &name,
                        const std::function<QString(const QString &path)> &write)
{
    const QString title = name + QStringLiteral(" 저장");
    const QString suggested =
        QDir(reportFolder).filePath(name + QLatin1Char('_') + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    QString path = saveFileName(parent, title, suggested + QStringLiteral(".xlsx"),
                                QStringLiteral("엑셀 파일 (*.xlsx);;CSV 파일 (*.csv)"));
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
        path += QStringLiteral(".xlsx");
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = write(path);
    QGuiApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        prompt.MsgWarn(QStringLiteral("저장하지 못했습니다.\r\n") + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + error,
                       title);
    else
        prompt.MsgInfo(QStringLiteral("저장했습니다.\r\n") + QDir::toNativeSeparators(path), title);
}

ReportButtons addReportButtons(QWidget *window, QHBoxLayout *row)
{
    const auto button = [window, row](const QString &name, const QString &text, const QString &accessible) {
        auto *b = named(new QPushButton(text, window), name, accessible);
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    ReportButtons b{};
    b.print = button(QStringLiteral("btnPrint"), QStringLiteral("인쇄(&P)"), QStringLiteral("인쇄"));
    b.save = button(QStringLiteral("btnExport"), QStringLiteral("저장(&S)"), QStringLiteral("엑셀·CSV로 저장"));
    row->addStretch();
    b.close = button(QStringLiteral("btnClose"), QStringLiteral("닫기(&X)"), QStringLiteral("닫기"));
    QObject::connect(b.close, &QPushButton::clicked, window, &QWidget::close);
    return b;
}
