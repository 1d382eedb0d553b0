// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMap>
#include <QString>

// The printed ledger's layout, read from LedgerList.ini in the report folder, which the shop
// may edit: page margin and font, the title and heading lines, the columns (header, value,
// width share, alignment), the totals label and the footer. Texts hold placeholders such as
// {title} or {page}; a column shows one field.
struct ReportLayout
{
    enum class Field { MaeipDate, ProName, MaeipName, MaeipCost, MaechulDate, MaechulName, MaechulCost, Usecost, Margin };
    enum class Align { Left, Center, Right };
    struct Column
    {
        QString header;
        Field field = Field::ProName;
        double width = 1; // share of the printable width
        Align align = Align::Left;
    };

    double marginMm = 12;
    QString font;
    double bodySize = 9; // points
    QString titleText;
    double titleSize = 18;
    QString headingText;
    double headingSize = 10;
    QList<Column> columns;
    QString totalsLabel;
    QString footerLeft;
    QString footerCenter;
    QString footerRight;

    static bool isAmount(Field f)
    {
        return f == Field::MaeipCost || f == Field::MaechulCost || f == Field::Usecost || f == Field::Margin;
    }
};

// The file the report folder gets when it has none, with comments for whoever edits it.
QString builtInLayoutText();
ReportLayout builtInLayout();
// Reads a layout; on a fault error says which line and why.
bool parseReportLayout(const QString &text, ReportLayout &layout, QString *error);
// A text with its placeholders ({name}) replaced; names not in values stay as they are.
QString fillPlaceholders(const QString &text, const QMap<QString, QString> &values);

// The layout the printed ledger uses: the report folder's LedgerList.ini, written with the
// built-in design when missing and never overwritten. When the file cannot be written or
// read, problem names the file and the reason, and the built-in design is used.
struct LoadedLayout
{
    ReportLayout layout;
    QString path;
    QString problem;
};
LoadedLayout loadReportLayout(const QString &reportFolder);
inline QString reportLayoutFileName()
{
    return QStringLiteral("LedgerList.ini");
}
