// SPDX-License-Identifier: GPL-3.0-or-later
// solbitsem-postal-import FILE [--out dbpost.db]: builds the postal code file from a CSV.
#include <cstdio>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "core/masterdata/postalimport.h"

namespace {

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

int usage()
{
    printErr(QStringLiteral("사용법: solbitsem-postal-import FILE [--out dbpost.db]\n"
                            "  FILE: ZIPCODE, SIDO, GUGUN, DONG, BUNJI 열의 CSV (UTF-8 또는 CP949)\n"));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString in;
    QString out = QStringLiteral("dbpost.db");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--out") && i + 1 < args.size())
            out = args.at(++i);
        else if (a == QLatin1String("-h") || a == QLatin1String("--help"))
            return usage();
        else if (a.startsWith(QLatin1Char('-')) || !in.isEmpty())
            return usage();
        else
            in = a;
    }
    if (in.isEmpty())
        return usage();

    const auto progress = [](qint64 lines) {
        printErr(QStringLiteral("\r%1행 읽는 중…").arg(lines));
    };
    const PostalImport::Result r = PostalImport::buildFromFile(in, out, progress);
    printErr(QStringLiteral("\r"));
    for (const QString &n : r.notes)
        printErr(QStringLiteral("건너뜀 ") + n + QLatin1Char('\n'));
    if (r.skipped > r.notes.size())
        printErr(QStringLiteral("… 그 밖에 %1행 건너뜀\n").arg(r.skipped - r.notes.size()));
    if (!r.ok) {
        printErr(QStringLiteral("우편번호 파일을 만들지 못했습니다: ") + r.error + QLatin1Char('\n'));
        return 1;
    }
    std::printf("%s\n", QStringLiteral("%1: %2건 (건너뜀 %3행)")
                            .arg(QFileInfo(out).absoluteFilePath())
                            .arg(r.rows)
                            .arg(r.skipped)
                            .toLocal8Bit()
                            .constData());
    return 0;
}
