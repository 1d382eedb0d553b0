// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-import OLD.mdb --out FOLDER [--postal dbpost.mdb]: brings the old installation's
// ledger (and postal file) over into panDB.db (and dbpost.db) in FOLDER.
#include <cstdio>

#include <QCoreApplication>
#include <QStringList>

#include "core/base/consoleprompt.h"
#include "core/migrate/ledgerimport.h"

namespace {

using Out = ConsolePrompt;

int usage()
{
    Out::print(stderr, QStringLiteral("사용법: solbitsem-import OLD.mdb --out FOLDER [--postal dbpost.mdb]\n"
                                 "  OLD.mdb: 예전 프로그램의 장부 (panDB.mdb)\n"
                                 "  FOLDER: panDB.db (와 dbpost.db)를 만들 폴더; 있는 파일은 덮어쓰지 않습니다\n"));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    LedgerImport::Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--out") && i + 1 < args.size())
            options.outFolder = args.at(++i);
        else if (a == QLatin1String("--postal") && i + 1 < args.size())
            options.postalMdb = args.at(++i);
        else if (a.startsWith(QLatin1Char('-')) || !options.ledgerMdb.isEmpty())
            return usage();
        else
            options.ledgerMdb = a;
    }
    if (options.ledgerMdb.isEmpty() || options.outFolder.isEmpty())
        return usage();

    const LedgerImport::Result r = LedgerImport::run(options, [](qint64 done, qint64 total) {
        Out::print(stderr, QStringLiteral("\r%1 / %2행").arg(done).arg(total));
        return true;
    });
    Out::print(stderr, QStringLiteral("\r%1\r").arg(QString(40, QLatin1Char(' '))));
    if (!r.ok) {
        Out::print(stderr, r.error + QLatin1Char('\n'));
        return 1;
    }
    Out::print(stdout, r.summary() + QLatin1Char('\n'));
    return 0;
}
