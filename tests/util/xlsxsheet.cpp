// SPDX-License-Identifier: GPL-3.0-or-later
#include "xlsxsheet.h"

#include <QProcess>
#include <QRegularExpression>

QMap<QString, QPair<QString, QString>> sheetCells(const QString &xlsx, QString *xml)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, QStringLiteral("xl/worksheets/sheet1.xml")});
    unzip.waitForFinished(10000);
    *xml = QString::fromUtf8(unzip.readAllStandardOutput());
    static const QRegularExpression cell(QStringLiteral(R"re(<c r="([A-Z]+\d+)"([^>]*?)(?:/>|>(.*?)</c>))re"));
    QMap<QString, QPair<QString, QString>> out;
    for (const auto &m : cell.globalMatch(*xml))
        out.insert(m.captured(1), {m.captured(2), m.captured(3)});
    return out;
}

qint64 sheetNumber(const QPair<QString, QString> &cell)
{
    if (cell.first.contains(QStringLiteral(" t=")) || !cell.second.startsWith(QStringLiteral("<v>")))
        return -1;
    return cell.second.mid(3, cell.second.indexOf(QStringLiteral("</v>")) - 3).toLongLong();
}

QString sheetText(const QPair<QString, QString> &cell)
{
    static const QRegularExpression text(QStringLiteral(R"re(<t[^>]*>(.*)</t>)re"));
    if (!cell.first.contains(QStringLiteral("t=\"inlineStr\"")))
        return {};
    return text.match(cell.second).captured(1);
}
