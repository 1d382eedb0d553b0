// SPDX-License-Identifier: GPL-3.0-or-later
#include "taxinvoicecommand.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QStringList>

#include "core/base/consoleprompt.h"
#include "core/data/database.h"
#include "core/ledger/exportcommand.h"
#include "core/ledger/ledgerselection.h"
#include "core/shell/appsettings.h"
#include "core/shell/commandlogin.h"
#include "hometaxsheet.h"
#include "taxinvoice.h"

namespace {

void say(std::FILE *to, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), to);
}

struct Options
{
    QString out;
    QDate month;
    QDate issueDate;
    TaxInvoiceData::Grouping grouping = TaxInvoiceData::Grouping::PerCustomer;
    QString error;
};

Options parse(QStringList args)
{
    Options o;
    o.out = args.isEmpty() ? QString() : args.takeFirst();
    if (o.out.isEmpty() || o.out.startsWith(QStringLiteral("--")) || !o.out.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        o.error = QStringLiteral("저장할 파일은 .xlsx 이어야 합니다.");
    while (o.error.isEmpty() && !args.isEmpty()) {
        const QString option = args.takeFirst();
        if (option == QStringLiteral("--per-voucher")) {
            o.grouping = TaxInvoiceData::Grouping::PerVoucher;
        } else if (option == QStringLiteral("--month") && !args.isEmpty()) {
            o.month = QDate::fromString(args.takeFirst() + QStringLiteral("-01"), Qt::ISODate);
            if (!o.month.isValid())
                o.error = QStringLiteral("--month 는 2026-12 처럼 연도와 월로 적습니다.");
        } else if (option == QStringLiteral("--date") && !args.isEmpty()) {
            o.issueDate = QDate::fromString(args.takeFirst(), Qt::ISODate);
            if (!o.issueDate.isValid())
                o.error = QStringLiteral("--date 는 2026-12-31 처럼 적습니다.");
        } else {
            o.error = QStringLiteral("알 수 없는 옵션입니다: ") + option;
        }
    }
    if (o.error.isEmpty() && !o.month.isValid())
        o.error = QStringLiteral("--month 로 달을 정해 주십시오.");
    return o;
}

QString won(qint64 amount) { return QLocale(QLocale::Korean).toString(amount) + QStringLiteral("원"); }

} // namespace

std::optional<int> runExportTaxInvoice(int argc, char *argv[])
{
    if (!CommandApp::names(argc, argv, QStringLiteral("--export-taxinvoice")))
        return std::nullopt;
    CommandApp app(argc, argv);
    QStringList &args = app.args;
    const bool passwordFromStdin = app.passwordFromStdin;
    const Options o = parse(args);
    if (!o.error.isEmpty()) {
        say(stderr, o.error);
        say(stderr, QStringLiteral("사용법: solbitsem --export-taxinvoice OUT.xlsx --month YYYY-MM [--per-voucher] "
                                   "[--date YYYY-MM-DD] [--password-stdin]"));
        return 2;
    }
    AppSettings settings;
    Database db;
    ConsolePrompt prompt;
    QString where;
    if (const QString error = openCommandLedger(settings, db, prompt, passwordFromStdin, &where);
        !error.isEmpty()) {
        say(stderr, error);
        return 1;
    }
    TaxInvoiceData data;
    if (const SqlError e = TaxInvoiceData::build(db, o.month, o.grouping, data, o.issueDate); e.isError()) {
        say(stderr, QStringLiteral("장부를 읽지 못했습니다: ") + where + QLatin1Char('\n') + e.text);
        return 1;
    }
    if (const QString error = withoutLibraryLines([&] { return HometaxSheet::write(data, o.out); }); !error.isEmpty()) {
        say(stderr, QStringLiteral("저장하지 못했습니다: ") + QDir::toNativeSeparators(o.out) + QLatin1Char('\n') + error);
        return 1;
    }
    for (const UnissuableSales &u : std::as_const(data.unissuable))
        say(stderr, QStringLiteral("발급할 수 없음: %1 (%2건, 합계 %3) — %4")
                        .arg(u.customerName, QString::number(u.vouchers), won(u.total.total()), u.reason));
    say(stdout, QStringLiteral("%1 세금계산서 %2장을 저장했습니다: %3")
                    .arg(o.month.toString(QStringLiteral("yyyy-MM")), QString::number(data.invoices.size()),
                         QDir::toNativeSeparators(o.out)));
    return 0;
}
