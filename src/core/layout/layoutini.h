// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

// The layout files: one INI text per window (FormIni/<window>.ini) with the
// sections "FormPosition", <grid>_ColsWidth and <grid>_General. The file is read as the
// private-profile calls read it: sections and keys without regard to letter case, values
// trimmed and cut to nine characters, and only numeric values used. Files of an older
// installation load whether they are CP949 or UTF-8 (line by line); a write changes only its
// key's line (in UTF-8) and leaves every other byte of the file as it was.
// The file is read once, at the first lookup, and looked up in memory after that; a write
// rewrites it from that memory. A window reads its file once while it opens, so an object is
// short-lived: it does not see changes another writer makes after its first read.
class LayoutFile final
{
public:
    explicit LayoutFile(QString path);
    // A layout file's bytes with no file behind them: setValue changes only the memory.
    static LayoutFile fromBytes(const QByteArray &bytes);

    const QString &path() const { return m_path; }
    bool exists() const;
    // The file as setValue writes it: the lines as read, a written key's line in UTF-8 with CRLF.
    QByteArray toBytes() const;

    // The value as the program sees it (trimmed, at most nine characters); nullopt when the
    // file, section or key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // The value when it is numeric (VB's IsNumeric: optional sign, digits, one decimal point).
    std::optional<double> number(const QString &section, const QString &key) const;

    // Writes one key: replaced in place when present, otherwise appended to its section
    // (the section is added at the end when missing). Creates the folder when missing.
    // False with errorString() on failure.
    bool setValue(const QString &section, const QString &key, const QString &value);
    // Deletes the file; true when there is no file afterwards.
    bool remove();

    int errorCode() const { return m_errorCode; }
    QString errorString() const { return m_errorString; }

    static constexpr int ValueChars = 9;

private:
    // A line with what the lookups need of it, worked out once, and its bytes as read.
    struct Line
    {
        explicit Line(QString text); // a new line, written in UTF-8 and ended by CRLF
        Line(QByteArray raw, QByteArray end);
        QByteArray raw;
        QByteArray end; // the line end that followed it; empty for a last line without one
        QString text;
        std::optional<QString> section; // the name of a "[name]" line
        std::optional<QString> key;     // the trimmed text before the first '='
        qsizetype valueAt = 0;          // after that '='

    private:
        void parse();
    };
    // The file's lines; nullptr when there is no file.
    const std::vector<Line> *lines() const;
    static std::vector<Line> parseLines(const QByteArray &bytes);
    static QByteArray joinLines(const std::vector<Line> &lines);

    QString m_path;
    bool m_inMemory = false;
    static constexpr qint64 ReadLimit = 1 << 20;
    mutable bool m_read = false;
    mutable bool m_tooLarge = false; // the file goes on past ReadLimit
    mutable std::optional<std::vector<Line>> m_lines;
    int m_errorCode = 0;
    QString m_errorString;
};

namespace LayoutIni {

inline QString positionSection() { return QStringLiteral("FormPosition"); }
inline QString colsWidthSection(const QString &grid) { return grid + QStringLiteral("_ColsWidth"); }
inline QString generalSection(const QString &grid) { return grid + QStringLiteral("_General"); }
inline QString fontSizeKey() { return QStringLiteral("FontSize"); }
inline QString rowHeightKey() { return QStringLiteral("RowHeight"); }

// <dir>/<window>.ini
QString filePath(const QString &dir, const QString &windowName);

// VB's IsNumeric for the stored texts.
bool isNumeric(const QString &text);
// VB's Val: the number at the start of text (sign, digits, decimal point), 0 when none.
double val(const QString &text);

// A number as the file stores it: at most two decimals, no trailing zeros, never more than
// nine characters.
QString formatValue(double value);

// Window states of the file.
enum WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The usable part of "FormPosition" (twips). Values that cannot describe a window (sizes
// below 1 or above 1,000,000 twips, positions beyond ±1,000,000 twips, a state other than 0
// or 2) are dropped, so the design value stays. Whether the result is on a screen is for the
// window to check.
struct FormPosition
{
    std::optional<int> left, top, width, height;
    std::optional<int> windowState;
};
FormPosition readFormPosition(const LayoutFile &file);

// The usable part of a grid's sections: column widths by column number (1-based, in the grid
// unit, from more than 0 up to 500), font size (1 to 100 points; 0 or less means the design
// font) and row height (1 to 400 points; 0 or less means the design height).
struct GridLayout
{
    std::map<int, double> columnWidths;
    std::optional<double> fontSize;
    std::optional<double> rowHeight;
};
GridLayout readGridLayout(const LayoutFile &file, const QString &gridName, int columnCount);

} // namespace LayoutIni

// The grid's own width unit: characters of the grid's Korean default font (9 pixels a
// character plus 5 of padding at 96 DPI, so that a group name of three Hangul syllables fits
// its design width of 4), scaled with the logical DPI. Loading and saving both use it.
namespace GridUnits {
int charsToPixels(double chars, double dpi = 96.0);
double pixelsToChars(int pixels, double dpi = 96.0);
// Row heights and font sizes are in points.
int pointsToPixels(double points, double dpi = 96.0);
double pixelsToPoints(int pixels, double dpi = 96.0);
} // namespace GridUnits
