// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QSizeF>
#include <QStringList>

#include "core/report/ledgerprint.h"
#include "core/report/reportlayout.h"

class QPainter;
class QPrinter;

// Lays a printed report (the ledger, or any ReportTable) out on A4 landscape pages and paints
// any one page on demand, so a preview shows its first page at once and a PDF of thousands of
// pages is written page by page. The layout is worked out once, in its own unit (a tenth of a
// point, 720 per inch), which keeps the page breaks the same on the screen, in the PDF and on
// any printer.
class LedgerReportPainter final
{
public:
    static constexpr double UnitsPerInch = 720;

    LedgerReportPainter(const LedgerReport &report, const ReportLayout &layout);
    // table outlives the painter; the layout's fields are the table's.
    LedgerReportPainter(const ReportTable &table, const ReportLayout &layout);
    ~LedgerReportPainter();
    Q_DISABLE_COPY_MOVE(LedgerReportPainter)

    int pageCount() const { return static_cast<int>(m_pageStarts.size()); }
    QSizeF pageSize() const { return m_pageSize; }
    static QPageLayout pageLayout();
    // Paints page (0-based) with the painter's coordinates in the unit of this class.
    void paintPage(QPainter &painter, int page) const;

    // Returns false when the user cancelled; progress gets the pages done and the total.
    using Progress = std::function<bool(int done, int total)>;
    // Every page into a PDF with the fonts embedded; error gets the reason of a failure.
    bool writePdf(const QString &path, QString *error, const Progress &progress = {}) const;
    // The printer's page range (all pages when it has none) on the printer.
    bool print(QPrinter &printer, const Progress &progress = {}) const;

private:
    struct Cell
    {
        QString text;
        ReportLayout::Align align;
    };
    // A line of text shaped once: a report repeats the same names, dates and amounts on
    // thousands of rows, and shaping is most of the cost of a page.
    struct Shaped
    {
        double width = 0;
        QList<QGlyphRun> runs;
    };
    void build();
    Shaped shaped(const QString &text, bool bold) const;
    QString cellText(size_t row, int field) const;
    // Lines of text within width, broken where a line may break and never inside a syllable.
    QStringList wrap(const QString &text, bool bold, double width) const;
    int linesOf(size_t row) const;
    void paginate();
    void paintHeaderRow(QPainter &painter, double top) const;
    double paintRow(QPainter &painter, double top, const QList<Cell> &cells, bool bold) const;
    QString pageText(const QString &text, int page) const;

    std::unique_ptr<const ReportTable> m_ledger; // the ledger's table when built from a LedgerReport
    const ReportTable &m_report;
    ReportLayout m_layout;
    QSizeF m_pageSize;
    double m_margin = 0;
    double m_padding = 0;
    QFont m_body, m_bold, m_title, m_heading;
    double m_lineHeight = 0;
    std::vector<double> m_columnLeft; // plus the right edge last
    std::vector<int> m_pageStarts;    // first row of each page
    double m_bodyTop = 0, m_bodyBottom = 0;
    QString m_printDate;
    mutable QHash<QString, Shaped> m_shaped[2]; // body, bold
};
