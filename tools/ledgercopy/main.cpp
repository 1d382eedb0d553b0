// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-ledger-copy FROM TO: copies a whole ledger, keys and all, into a new ledger, with
// the rows of every table counted on both sides.
#include <cstdio>

#include <QCoreApplication>
#include <QStringList>

#include "core/data/database.h"
#include "core/migrate/ledgercopy.h"

namespace {

void print(FILE *to, QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fputs(text.toLocal8Bit().constData(), to);
}

int usage()
{
    print(stderr, QStringLiteral("사용법: solbitsem-ledger-copy FROM TO\n"
                                 "  FROM: 복사할 장부 파일 (panDB.db)\n"
                                 "  TO: 새로 만들 장부 파일; 있는 파일은 덮어쓰지 않습니다\n"));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 2 || args.at(0).startsWith(QLatin1Char('-')) || args.at(1).startsWith(QLatin1Char('-')))
        return usage();
    Database source;
    if (!source.open(args.at(0), false, Database::Access::ReadOnly)) {
        print(stderr, QStringLiteral("원본 장부를 열 수 없습니다: %1\n").arg(args.at(0)));
        return 1;
    }
    if (const SqlError e = source.probe(); e.isError()) {
        print(stderr, QStringLiteral("원본 장부를 읽을 수 없습니다: %1\n").arg(e.text));
        return 1;
    }
    const LedgerCopy::Result r = LedgerCopy::copyToNewFile(source, args.at(1), [](qint64 done, qint64 total) {
        print(stderr, QStringLiteral("\r%1 / %2행").arg(done).arg(total));
        return true;
    });
    print(stderr, QStringLiteral("\r%1\r").arg(QString(40, QLatin1Char(' '))));
    if (!r.ok) {
        print(stderr, r.error + QLatin1Char('\n'));
        return 1;
    }
    print(stdout, QStringLiteral("장부를 복사했습니다.\n") + r.summary() + QLatin1Char('\n'));
    return 0;
}
