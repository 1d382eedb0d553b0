// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-printbench [--folder DIR]: times the printed ledger on a sample ledger of 100,000
// vouchers: staging, layout and the PDF for 1,000 and 100,000 vouchers, the preview's first
// page for 10,000, and the peak memory; and the client ledger window's first paint of one
// customer's 10,000 lines.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTableView>

#include "core/base/consoleprompt.h"
#include "core/data/database.h"
#include "core/report/ledgerprint.h"
#include "core/ledger/ledgerselection.h"
#include "core/report/reportlayout.h"
#include "core/ledger/voucherquery.h"
#include "devkit/sampleledger.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/masterdata/seldata.h"
#include "gui/report/frmprintpreview.h"
#include "gui/report/ledgerreportpainter.h"
#include "../benchledger.h"

namespace {

// Processor time of this process: the figure that does not grow when other programs share
// the machine.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double loadAverage()
{
    double load[1] = {0};
    getloadavg(load, 1);
    return load[0];
}

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("folder"), QStringLiteral("견본 장부를 둘 폴더"), QStringLiteral("DIR"),
                      QDir::tempPath() + QStringLiteral("/solbitsem-printbench")});
    parser.process(app);
    const QString folder = parser.value(QStringLiteral("folder"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/panDB.db");
    const QDate today(2026, 12, 8);
    if (!ensureSampleLedger(path, 100000, today))
        return 1;
    Database db;
    if (!db.open(path))
        return 1;
    VoucherFilter all;
    all.fromDate = QDate(1, 1, 1);
    all.toDate = QDate(9999, 12, 31);
    std::vector<LedgerRow> rows;
    readVouchers(db, voucherQuery(db.dialect(), all), rows);
    ConsolePrompt prompt;
    const ReportLayout layout = loadReportLayout(folder).layout;

    std::printf("%-52s %8s %7s %10s   (load average %.1f)\n", "measurement", "vouchers", "pages", "ms", loadAverage());
    const auto ledgerOf = [&rows](size_t n, LedgerModel &model) {
        model.setRows(std::vector<LedgerRow>(rows.begin(), rows.begin() + qsizetype(std::min(n, rows.size()))));
    };
    for (const size_t n : {size_t(1000), size_t(100000)}) {
        LedgerModel model;
        ledgerOf(n, model);
        const QString pdf = folder + QStringLiteral("/ledger-%1.pdf").arg(n);
        QElapsedTimer t;
        t.start();
        const double cpuStart = cpuMs();
        LedgerReport report;
        prepareLedgerReport(db, model, selectionHeading(all), today, report);
        const double staged = t.nsecsElapsed() / 1e6;
        const LedgerReportPainter painter(report, layout);
        const double laidOut = t.nsecsElapsed() / 1e6;
        painter.writePdf(pdf, nullptr);
        const double total = t.nsecsElapsed() / 1e6;
        std::printf("%-52s %8zu %7d %10.1f\n", "stage + read back total_print", n, painter.pageCount(), staged);
        std::printf("%-52s %8zu %7d %10.1f\n", "page layout (measure, wrap, break)", n, painter.pageCount(),
                    laidOut - staged);
        std::printf("%-52s %8zu %7d %10.1f  (goal %s)\n", "print to PDF, all told", n, painter.pageCount(), total,
                    n == 1000 ? "< 1,000 ms" : "< 20,000 ms");
        std::printf("%-52s %8zu %7d %10.1f\n", "print to PDF, processor time", n, painter.pageCount(),
                    cpuMs() - cpuStart);
    }
    std::printf("%-52s %8d %7s %10.1f MB (goal < 500 MB)\n", "peak resident memory", 100000, "", peakMb());
    {
        LedgerModel model;
        ledgerOf(10000, model);
        QElapsedTimer t;
        t.start();
        LedgerReport report;
        prepareLedgerReport(db, model, selectionHeading(all), today, report);
        const LedgerReportPainter painter(report, layout);
        FrmPrintPreview preview(painter, prompt);
        preview.show();
        preview.grab(); // the first page painted
        std::printf("%-52s %8d %7d %10.1f  (goal < 2,000 ms)\n", "preview, first page on screen", 10000,
                    painter.pageCount(), t.nsecsElapsed() / 1e6);

        // Qt's own preview, for comparison: it paints every page before it shows the first.
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewWidget qtPreview(&printer);
        QObject::connect(&qtPreview, &QPrintPreviewWidget::paintRequested, [&painter](QPrinter *p) { painter.print(*p); });
        t.restart();
        qtPreview.show();
        qtPreview.updatePreview();
        qtPreview.grab();
        std::printf("%-52s %8d %7d %10.1f\n", "QPrintPreviewWidget, first page on screen", 10000, painter.pageCount(),
                    t.nsecsElapsed() / 1e6);
    }
    {
        // One customer who bought every sold voucher of a ledger of their own.
        const QString own = folder + QStringLiteral("/clientledger.db");
        SampleLedgerOptions o;
        o.vouchers = 12500;
        o.customers = 1;
        o.today = today;
        QString error;
        if (!QFileInfo::exists(own) && !writeSampleLedger(own, o, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        Database ledger;
        if (!ledger.open(own))
            return 1;
        SelData lookups(ledger, prompt, QString(), nullptr);
        FrmClientLedger window(ledger, prompt, lookups, folder);
        window.setPeriod(QStringLiteral("2000-01-01"), today.toString(Qt::ISODate));
        QElapsedTimer t;
        t.start();
        window.setClient(BusiMode::Customer, 1);
        window.show();
        window.spList->grab(); // the first screen of lines painted
        std::printf("%-52s %8d %7s %10.1f  (goal < 100 ms)\n", "client ledger window, read to first paint",
                    window.spList->model()->rowCount(), "", t.nsecsElapsed() / 1e6);
    }
    return 0;
}
