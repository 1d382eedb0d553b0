// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-sample --vouchers N --out FOLDER [--seed S]: writes FOLDER/panDB.db with sample data.
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "core/base/ownerfiles.h"
#include "devkit/sampleledger.h"
#include "core/shell/startup.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("솔빛셈 견본 장부 만들기"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("vouchers"), QStringLiteral("전표 수"), QStringLiteral("N"), QStringLiteral("10000")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("장부 파일을 만들 폴더"), QStringLiteral("FOLDER")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("난수 씨앗 (같은 씨앗이면 같은 장부)"), QStringLiteral("S"), QStringLiteral("1")});
    parser.process(app);

    bool ok = false;
    SampleLedgerOptions options;
    options.vouchers = parser.value(QStringLiteral("vouchers")).toLongLong(&ok);
    if (!ok || options.vouchers < 0) {
        std::fputs("--vouchers 에는 0 이상의 정수를 주십시오.\n", stderr);
        return 2;
    }
    options.seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
    if (!ok) {
        std::fputs("--seed 에는 0 이상의 정수를 주십시오.\n", stderr);
        return 2;
    }
    const QString folder = parser.value(QStringLiteral("out"));
    if (folder.isEmpty()) {
        std::fputs("--out FOLDER 를 주십시오.\n", stderr);
        return 2;
    }
    if (!MakeOwnerFolders(folder)) {
        std::fprintf(stderr, "폴더를 만들 수 없습니다: %s\n", qPrintable(folder));
        return 1;
    }
    const QString path = QDir(folder).filePath(Startup::ledgerFileName());
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "이미 장부 파일이 있습니다 (덮어쓰지 않습니다): %s\n", qPrintable(path));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    QString error;
    const bool written = writeSampleLedger(path, options, &error, [&](qint64 n) {
        std::fprintf(stderr, "\r전표 %lld / %lld", static_cast<long long>(n), static_cast<long long>(options.vouchers));
    });
    std::fputs("\n", stderr);
    if (!written) {
        std::fprintf(stderr, "견본 장부를 만들지 못했습니다: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s (%lld 전표, %.1f 초)\n", qPrintable(path), static_cast<long long>(options.vouchers),
                timer.elapsed() / 1000.0);
    return 0;
}
