// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-ledger-copy FROM TO [--password-stdin]: copies a whole ledger, keys and all, into a
// new ledger, with the rows of every table counted on both sides.
#include <cstdio>

#include <QCoreApplication>
#include <QStringList>

#include "core/base/consoleprompt.h"
#include "core/base/systemerror.h"
#include "core/data/connectionsettings.h"
#include "core/data/database.h"
#include "core/migrate/ledgercopy.h"
#include "core/shell/commandlogin.h"

namespace {

using Out = ConsolePrompt;

int usage()
{
    Out::print(stderr, QStringLiteral("사용법: solbitsem-ledger-copy FROM TO [--password-stdin]\n"
                                 "  FROM: 복사할 장부: 파일 (panDB.db) 또는 장부 서버\n"
                                 "        (\"host=… port=… dbname=… user=…\", 비밀번호는 ~/.pgpass)\n"
                                 "  TO: 새로 만들 장부 파일, 또는 장부가 비어 있는 장부 서버;\n"
                                 "      전표가 있는 장부는 덮어쓰지 않습니다\n"
                                 "  --password-stdin: 원본 장부의 암호를 표준 입력의 첫 줄에서 읽습니다\n"
                                 "        (없으면 암호가 걸린 장부는 터미널에서 묻습니다)\n"));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool passwordFromStdin = CommandLogin::takeStdinOption(args);
    if (args.size() != 2 || args.at(0).startsWith(QLatin1Char('-')) || args.at(1).startsWith(QLatin1Char('-')))
        return usage();
    const ConnectionSettings from = ConnectionSettings::parse(args.at(0));
    const ConnectionSettings to = ConnectionSettings::parse(args.at(1));
    Database source;
    if (!source.open(from, false, from.isServer() ? Database::Access::ReadWrite : Database::Access::ReadOnly)) {
        Out::print(stderr, QStringLiteral("원본 장부를 열 수 없습니다: %1\n").arg(from.display())
                               + (from.isServer() ? serverConnectErrorText(source.connection().lastError()) + QLatin1Char('\n')
                                                  : QString()));
        return 1;
    }
    if (const SqlError e = source.probe(); e.isError()) {
        Out::print(stderr, QStringLiteral("원본 장부를 읽을 수 없습니다: %1\n").arg(e.text));
        return 1;
    }
    // A copy is the whole ledger: the password that guards the window guards it too.
    if (const QString refused = CommandLogin::admit(source, passwordFromStdin); !refused.isEmpty()) {
        Out::print(stderr, refused + QLatin1Char('\n'));
        return 1;
    }
    const auto progress = [](qint64 done, qint64 total) {
        Out::print(stderr, QStringLiteral("\r%1 / %2행").arg(done).arg(total));
        return true;
    };
    LedgerCopy::Result r;
    if (!to.isServer()) {
        r = LedgerCopy::copyToNewFile(source, to.path, progress);
    } else {
        Database target;
        QString error;
        if (!target.open(to)) {
            r.error = to.display() + QLatin1Char('\n') + serverConnectErrorText(target.connection().lastError());
        } else if (!target.hasTable(QStringLiteral("total")) && !Database::createLedger(to, &error)) {
            r.error = QStringLiteral("장부 서버에 장부를 만들 수 없습니다: ") + error;
        } else {
            target.close();
            if (target.open(to))
                r = LedgerCopy::copy(source, target, progress);
            else
                r.error = to.display() + QLatin1Char('\n') + serverConnectErrorText(target.connection().lastError());
        }
    }
    Out::print(stderr, QStringLiteral("\r%1\r").arg(QString(40, QLatin1Char(' '))));
    if (!r.ok) {
        Out::print(stderr, r.error + QLatin1Char('\n'));
        return 1;
    }
    Out::print(stdout, QStringLiteral("장부를 복사했습니다.\n") + r.summary() + QLatin1Char('\n'));
    return 0;
}
