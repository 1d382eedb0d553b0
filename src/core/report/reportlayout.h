// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// A printed report's layout, read from a file in the report folder which the shop may edit
// (LedgerList.ini for the ledger): page margin and font, the title and heading lines, the
// columns (header, value, width share, alignment), the totals label and the footer. Texts hold
// placeholders such as {title} or {page}; a column shows one field of its report's form.
struct ReportLayout
{
    // The printed ledger's fields, numbered as in ledgerReportForm().
    enum class Field { MaeipDate, ProName, MaeipName, MaeipCost, MaechulDate, MaechulName, MaechulCost, Usecost, Margin };
    enum class Align { Left, Center, Right };
    struct Column
    {
        QString header;
        int field = 0; // index into the form's fields
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

// What one kind of report may print: its layout file's name in the report folder, the file
// written when there is none (with comments for whoever edits it), the field names a column
// may show, each field numbered by its place in the list, and the report's own placeholders
// beyond the page's (its table gives their values; column headers may hold them too).
struct ReportForm
{
    QString fileName;
    QString builtInText;
    QStringList fields;
    QStringList words;
};
const ReportForm &ledgerReportForm();

// A layout file's text: the comments for whoever edits it around the design's own parts
// (the lines that name the placeholders, the columns with the line that names their values).
struct LayoutFileParts
{
    QString name;
    QString placeholders;
    QString margin;
    QString size;
    QString columns;
    QString totalsLabel;
};
QString layoutFileText(const LayoutFileParts &parts);

// The ledger's file and its design.
QString builtInLayoutText();
ReportLayout builtInLayout(const ReportForm &form = ledgerReportForm());
// Reads a layout; on a fault error says which line and why.
bool parseReportLayout(const QString &text, ReportLayout &layout, QString *error,
                       const ReportForm &form = ledgerReportForm());
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
// The text of a layout file of the report folder goes to parse, which says whether it is
// right; a missing file is written with builtInText (never overwritten) and not parsed. Empty
// when the file's design is used or was written, else the problem (the file and the reason),
// and the caller prints with the built-in design. path, when given, gets the file's path.
QString readLayoutFile(const QString &reportFolder, const QString &fileName, const QString &builtInText,
                       const std::function<bool(const QString &text, QString *error)> &parse, QString *path = nullptr);
LoadedLayout loadReportLayout(const QString &reportFolder, const ReportForm &form = ledgerReportForm());
inline QString reportLayoutFileName()
{
    return QStringLiteral("LedgerList.ini");
}

// The rows a report painter prints, whatever the report: each cell's text by row and field,
// and the totals line's text by field (empty where the column has no total).
class ReportTable
{
public:
    virtual ~ReportTable() = default;
    virtual QString title() const = 0;
    virtual QString heading() const = 0;
    virtual QDate printDate() const = 0;
    virtual size_t rowCount() const = 0;
    virtual QString cellText(size_t row, int field) const = 0;
    virtual QString totalText(int field) const = 0;
    // The values of the form's own placeholders.
    virtual QMap<QString, QString> words() const { return {}; }
};
