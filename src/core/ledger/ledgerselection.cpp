// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerselection.h"

#include <QFileInfo>
#include <QSqlError>

#include "core/data/database.h"
#include "core/shell/commandlogin.h"
#include "core/shell/ledgerlocation.h"
#include "core/shell/startup.h"
#include "checkdate.h"
#include "ledgermodel.h"

namespace {

QString isoOf(const QDate &d)
{
    return d.toString(Qt::ISODate);
}

} // namespace

LedgerSelection parseLedgerSelection(const QStringList &options, const QDate &today)
{
    LedgerSelection s;
    s.filter.fromDate = QDate(today.year(), today.month(), 1);
    s.filter.toDate = today;
    QString from, to, product, client;
    bool hasFrom = false, hasTo = false, hasProduct = false, hasClient = false;
    for (qsizetype i = 0; i < options.size(); ++i) {
        const QString &opt = options[i];
        QString *target = nullptr;
        bool *seen = nullptr;
        if (opt == QLatin1String("--from")) {
            target = &from;
            seen = &hasFrom;
        } else if (opt == QLatin1String("--to")) {
            target = &to;
            seen = &hasTo;
        } else if (opt == QLatin1String("--product")) {
            target = &product;
            seen = &hasProduct;
        } else if (opt == QLatin1String("--client")) {
            target = &client;
            seen = &hasClient;
        } else {
            s.error = QStringLiteral("알 수 없는 옵션입니다: ") + opt;
            return s;
        }
        if (*seen || i + 1 >= options.size()) {
            s.error = *seen ? QStringLiteral("옵션을 두 번 주었습니다: ") + opt
                            : QStringLiteral("옵션에 값이 없습니다: ") + opt;
            return s;
        }
        *seen = true;
        *target = options[++i];
    }
    const int kinds = int(hasFrom || hasTo) + int(hasProduct) + int(hasClient);
    if (kinds > 1) {
        s.error = QStringLiteral("기간(--from, --to), 품목명(--product), 거래처(--client) 중 하나만 줄 수 있습니다.");
        return s;
    }
    if (hasFrom != hasTo) {
        s.error = QStringLiteral("기간은 --from과 --to를 함께 주어야 합니다.");
        return s;
    }
    const auto tooLong = [](const QString &t) { return t.size() > VoucherFilter::MaxSearchLength; };
    if ((hasProduct && (product.isEmpty() || tooLong(product))) || (hasClient && (client.isEmpty() || tooLong(client)))) {
        s.error = QStringLiteral("검색어는 1자 이상 ") + QString::number(VoucherFilter::MaxSearchLength)
                  + QStringLiteral("자 이하여야 합니다.");
        return s;
    }
    if (hasFrom) {
        // The short forms the date boxes accept are accepted here too.
        const auto f = normaliseDate(from, today);
        const auto t = normaliseDate(to, today);
        if (!f || !t) {
            s.error = dateFormatMessage(!f ? from : to);
            return s;
        }
        s.filter.fromDate = QDate::fromString(*f, Qt::ISODate);
        s.filter.toDate = QDate::fromString(*t, Qt::ISODate);
    }
    s.filter.productName = product;
    s.filter.clientName = client;
    return s;
}

QString selectionHeading(const VoucherFilter &filter)
{
    if (!filter.clientName.isEmpty())
        return (filter.clientSide == BusiMode::Supplier ? QStringLiteral("매입처: ") : QStringLiteral("판매처: "))
               + filter.clientName;
    if (!filter.productName.isEmpty())
        return QStringLiteral("품목명: ") + filter.productName;
    QString line = QStringLiteral("기간: ") + isoOf(filter.fromDate) + QStringLiteral(" ~ ") + isoOf(filter.toDate);
    if (!filter.group.isEmpty())
        line += QStringLiteral("   그룹: ") + filter.group;
    if (filter.noSale)
        line += QStringLiteral("   미판매만");
    return line;
}

QString openCommandLedger(AppSettings &settings, Database &db, UserPrompt &prompt, bool passwordFromStdin,
                          QString *where)
{
    return openCommandLedger(
        settings, db, prompt, [passwordFromStdin](Database &ledger) { return CommandLogin::admit(ledger, passwordFromStdin); },
        where);
}

QString openCommandLedger(AppSettings &settings, Database &db, UserPrompt &prompt,
                          const std::function<QString(Database &)> &admit, QString *whereOut)
{
    // The ledger the window would open: a server ledger with the window's login rules (the
    // server's password file, else the password asked on the terminal), never the old file.
    const LedgerLocation location = LedgerLocation::read(settings);
    QString where;
    if (location.kind == LedgerLocation::Kind::Server) {
        where = location.describe();
        if (const QString problem = location.problem(); !problem.isEmpty())
            return QStringLiteral("장부 서버 설정이 잘못되었습니다: ") + problem;
        if (!db.isOpen() && !OpenServerLedger(db, location, prompt, nullptr, nullptr, MissingLedger::Leave)) {
            const QString reason = db.connection().lastError().text().trimmed();
            // A script has no terminal to be asked on: where the password may come from instead.
            const QString hint = reason.contains(QLatin1String("password"))
                                     ? QStringLiteral("\n장부 서버의 비밀번호는 ~/.pgpass 파일에 두거나, 터미널에서 실행하여 "
                                                      "물음에 입력하십시오. 명령줄로는 받지 않습니다.")
                                     : QString();
            return QStringLiteral("장부 서버의 장부를 열 수 없습니다: ") + where
                   + (reason.isEmpty() ? QString() : QStringLiteral("\n") + reason) + hint;
        }
        if (!db.hasTable(QStringLiteral("total")))
            return QStringLiteral("장부 서버의 데이터베이스에 장부가 없습니다: ") + where;
    } else {
        const AppPaths paths = ResolvePaths(settings);
        where = paths.gDbFile;
        if (!QFileInfo::exists(paths.gDbFile))
            return QStringLiteral("장부 파일이 없습니다: ") + paths.gDbFile;
        if (!db.isOpen() && !OpenMainDB(db, paths))
            return QStringLiteral("장부 파일을 열 수 없습니다: ") + paths.gDbFile;
    }
    if (whereOut)
        *whereOut = where;
    if (admit) {
        if (const QString refused = admit(db); !refused.isEmpty())
            return refused;
    }
    return {};
}

QString loadLedgerSelection(AppSettings &settings, Database &db, UserPrompt &prompt, const VoucherFilter &filter,
                            LedgerModel &model, const std::function<QString(Database &)> &admit)
{
    QString where;
    if (const QString error = openCommandLedger(settings, db, prompt, admit, &where); !error.isEmpty())
        return error;
    std::vector<LedgerRow> rows;
    const SqlError error = readVouchers(db, voucherQuery(db.dialect(), filter), rows);
    if (error.isError())
        return QStringLiteral("장부를 읽지 못했습니다: ") + where + QStringLiteral("\n") + error.text;
    model.setRows(std::move(rows));
    return {};
}
