// SPDX-License-Identifier: GPL-3.0-or-later
#include "balancesexport.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QStringList>

#include "balances.h"
#include "core/base/consoleprompt.h"
#include "core/data/database.h"
#include "core/ledger/checkdate.h"
#include "core/ledger/exportcommand.h"
#include "core/ledger/ledgerexport.h"
#include "core/ledger/ledgerselection.h"
#include "core/shell/appsettings.h"
#include "core/shell/commandlogin.h"

namespace {

void say(std::FILE *to, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), to);
}

const QString kUsage = QStringLiteral("사용법: solbitsem --export-balances OUT.xlsx|OUT.csv (--customers|--suppliers) "
                                      "[--from DATE] [--to DATE] [--password-stdin]");

struct Options
{
    QString out;
    std::optional<BusiMode> mode;
    QString from, to;
    QString error;
};

Options parse(QStringList args, const QDate &today)
{
    Options o;
    o.out = args.isEmpty() ? QString() : args.takeFirst();
    const QString suffix = o.out.section(QLatin1Char('.'), -1).toLower();
    if (o.out.isEmpty() || o.out.startsWith(QStringLiteral("--")) || (suffix != QStringLiteral("xlsx") && suffix != QStringLiteral("csv"))) {
        o.error = QStringLiteral("저장할 파일은 .xlsx 또는 .csv 이어야 합니다.");
        return o;
    }
    bool hasFrom = false, hasTo = false;
    for (qsizetype i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString &opt = args.at(i);
        if (opt == QLatin1String("--customers") || opt == QLatin1String("--suppliers")) {
            if (o.mode)
                o.error = QStringLiteral("--customers와 --suppliers 중 하나만 줄 수 있습니다.");
            o.mode = opt == QLatin1String("--customers") ? BusiMode::Customer : BusiMode::Supplier;
            continue;
        }
        bool *seen = opt == QLatin1String("--from") ? &hasFrom : opt == QLatin1String("--to") ? &hasTo : nullptr;
        if (!seen) {
            o.error = QStringLiteral("알 수 없는 옵션입니다: ") + opt;
        } else if (*seen || i + 1 >= args.size()) {
            o.error = *seen ? QStringLiteral("옵션을 두 번 주었습니다: ") + opt : QStringLiteral("옵션에 값이 없습니다: ") + opt;
        } else {
            *seen = true;
            const QString typed = args.at(++i);
            // The short forms the date boxes accept are accepted here too.
            if (const auto d = normaliseDate(typed, today))
                (seen == &hasFrom ? o.from : o.to) = *d;
            else
                o.error = dateFormatMessage(typed);
        }
    }
    if (o.error.isEmpty() && !o.mode)
        o.error = QStringLiteral("--customers(매출처)나 --suppliers(매입처) 중 하나를 주어야 합니다.");
    if (o.error.isEmpty() && !o.from.isEmpty() && !o.to.isEmpty() && o.from > o.to)
        o.error = QStringLiteral("시작일(--from)이 종료일(--to)보다 늦습니다.");
    return o;
}

QString periodText(const QString &from, const QString &to)
{
    if (from.isEmpty() && to.isEmpty())
        return QStringLiteral("전체 기간");
    return QStringLiteral("기간: ") + from + QStringLiteral(" ~ ") + to;
}

} // namespace

namespace BalancesExport {

QString write(const BalancesModel &model, const QString &path, const QString &title)
{
    LedgerExport::Table t;
    t.sheet = BalancesModel::title(model.mode());
    const QStringList headers = BalancesModel::headers(model.mode());
    for (int c = 0; c < BalancesModel::ColumnCount; ++c)
        t.columns.push_back({headers.at(c), c >= BalancesModel::ColCarried, false, c == BalancesModel::ColCode});
    t.rows = model.rowCount();
    t.value = [&model](int row, int column) { return model.data(model.index(row, column), Qt::EditRole); };
    const Balances::Row &sum = model.totals();
    t.totals = {BalancesModel::totalsLabel(), QVariant(), sum.carried, sum.traded, sum.paid, sum.balance};
    return LedgerExport::write(t, path, title);
}

} // namespace BalancesExport

std::optional<int> runExportBalances(int argc, char *argv[])
{
    if (!CommandApp::names(argc, argv, QStringLiteral("--export-balances")))
        return std::nullopt;
    CommandApp app(argc, argv);
    QStringList &args = app.args;
    const bool passwordFromStdin = app.passwordFromStdin;
    const Options o = parse(args, QDate::currentDate());
    if (!o.error.isEmpty()) {
        say(stderr, o.error);
        say(stderr, kUsage);
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
    // A ledger no program of this version has opened yet has no payments to read.
    if (!db.hasTable(QStringLiteral("payment")) || !db.hasTable(QStringLiteral("client_opening"))) {
        say(stderr, QStringLiteral("이 장부에는 아직 입금·지급 표가 없습니다. 프로그램으로 장부를 한 번 열면 만들어집니다: ") + where);
        return 1;
    }
    BalancesModel model;
    if (const SqlError e = model.load(db, *o.mode, o.from, o.to); e.isError()) {
        say(stderr, QStringLiteral("장부를 읽지 못했습니다: ") + where + QStringLiteral("\n") + e.text);
        return 1;
    }
    const QString heading = BalancesModel::title(*o.mode) + QStringLiteral(" — ") + periodText(o.from, o.to);
    const QString writeError = withoutLibraryLines([&] { return BalancesExport::write(model, o.out, heading); });
    if (!writeError.isEmpty()) {
        say(stderr, QStringLiteral("저장하지 못했습니다: ") + QDir::toNativeSeparators(o.out) + QLatin1Char('\n') + writeError);
        return 1;
    }
    say(stdout, heading + QStringLiteral(" — 거래처 ") + QString::number(model.rowCount()) + QStringLiteral("곳을 저장했습니다: ")
                    + QDir::toNativeSeparators(o.out));
    return 0;
}
