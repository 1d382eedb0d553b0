// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerreportpainter.h"

#include <algorithm>

#include <QFile>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextLayout>

#include "core/base/stagedfile.h"
#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "reportfonts.h"

namespace {

using Field = ReportLayout::Field;

constexpr double kPoint = LedgerReportPainter::UnitsPerInch / 72;
const QColor kHeaderBack(224, 240, 224);
const QColor kRule(150, 150, 150);

QFont unitFont(const QString &family, double points, bool bold)
{
    return reportUnitFont(family, points, kPoint, bold);
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// A name that holds a line break (pasted or imported) prints its lines as one, a space between
// them: a text layout would draw the break as nothing and run the two words together.
QString oneLine(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), isLineBreak))
        return text;
    QString out;
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (isLineBreak(c)) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace && !c.isSpace() && !out.endsWith(QLatin1Char(' ')))
            out += QLatin1Char(' ');
        pendingSpace = false;
        out += c;
    }
    return out;
}

// The staged ledger as a report table, its fields those of ReportLayout::Field.
class LedgerTable final : public ReportTable
{
public:
    explicit LedgerTable(const LedgerReport &report) : m_report(report) {}
    QString title() const override { return m_report.title; }
    QString heading() const override { return m_report.heading; }
    QDate printDate() const override { return m_report.printDate; }
    size_t rowCount() const override { return m_report.rows.size(); }

    QString cellText(size_t index, int column) const override
    {
        const LedgerRow &row = m_report.rows[index];
        const auto money = [&row](int c, qint64 value) {
            return (row.emptyMask & (1u << c)) ? QString() : formatMoney(value);
        };
        switch (static_cast<Field>(column)) {
        case Field::MaeipDate:
            return row.maeipDate;
        case Field::ProName:
            return row.proName;
        case Field::MaeipName:
            return row.maeipName;
        case Field::MaeipCost:
            return money(LedgerModel::ColMaeipCost, row.maeipCost);
        case Field::MaechulDate:
            return row.maechulDate;
        case Field::MaechulName:
            return row.maechulName;
        case Field::MaechulCost:
            return money(LedgerModel::ColMaechulCost, row.maechulCost);
        case Field::Usecost:
            return money(LedgerModel::ColUsecost, row.maechulUsecost);
        case Field::Margin:
            return formatMoney(row.margin());
        }
        return {};
    }

    QString totalText(int column) const override
    {
        switch (static_cast<Field>(column)) {
        case Field::MaeipCost:
            return formatMoney(m_report.totals.maeipCost);
        case Field::MaechulCost:
            return formatMoney(m_report.totals.maechulCost);
        case Field::Usecost:
            return formatMoney(m_report.totals.usecost);
        case Field::Margin:
            return formatMoney(m_report.totals.margin);
        default:
            return {};
        }
    }

private:
    const LedgerReport &m_report;
};

} // namespace

LedgerReportPainter::LedgerReportPainter(const LedgerReport &report, const ReportLayout &layout)
    : m_ledger(std::make_unique<LedgerTable>(report)), m_report(*m_ledger), m_layout(layout)
{
    build();
}

LedgerReportPainter::LedgerReportPainter(const ReportTable &table, const ReportLayout &layout)
    : m_report(table), m_layout(layout)
{
    build();
}

LedgerReportPainter::~LedgerReportPainter() = default;

void LedgerReportPainter::build()
{
    const QSizeF mm = pageLayout().fullRect(QPageLayout::Millimeter).size();
    m_pageSize = mm * (UnitsPerInch / 25.4);
    m_margin = m_layout.marginMm * UnitsPerInch / 25.4;
    m_padding = 2.5 * kPoint;
    m_body = unitFont(m_layout.font, m_layout.bodySize, false);
    m_bold = unitFont(m_layout.font, m_layout.bodySize, true);
    m_title = unitFont(m_layout.font, m_layout.titleSize, true);
    m_heading = unitFont(m_layout.font, m_layout.headingSize, false);
    m_lineHeight = QFontMetricsF(m_bold).height();
    m_printDate = m_report.printDate().toString(Qt::ISODate);

    double shares = 0;
    for (const ReportLayout::Column &c : std::as_const(m_layout.columns))
        shares += c.width;
    const double width = m_pageSize.width() - 2 * m_margin;
    double x = m_margin;
    for (const ReportLayout::Column &c : std::as_const(m_layout.columns)) {
        m_columnLeft.push_back(x);
        x += width * c.width / shares;
    }
    m_columnLeft.push_back(m_margin + width);
    paginate();
}

QPageLayout LedgerReportPainter::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0));
}

QString LedgerReportPainter::cellText(size_t row, int field) const
{
    return oneLine(m_report.cellText(row, field));
}

LedgerReportPainter::Shaped LedgerReportPainter::shaped(const QString &text, bool bold) const
{
    QHash<QString, Shaped> &cache = m_shaped[bold ? 1 : 0];
    if (const auto it = cache.constFind(text); it != cache.cend())
        return *it;
    if (cache.size() > 200000) // amounts rarely repeat; keep the memory bounded
        cache.clear();
    QTextLayout layout(text, bold ? m_bold : m_body);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(m_pageSize.width());
    layout.endLayout();
    Shaped s;
    s.width = line.isValid() ? line.naturalTextWidth() : 0;
    s.runs = layout.glyphRuns();
    cache.insert(text, s);
    return s;
}

QStringList LedgerReportPainter::wrap(const QString &text, bool bold, double width) const
{
    if (text.isEmpty() || shaped(text, bold).width <= width)
        return {text};
    QTextLayout layout(text, bold ? m_bold : m_body);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

int LedgerReportPainter::linesOf(size_t row) const
{
    int lines = 1;
    for (qsizetype c = 0; c < m_layout.columns.size(); ++c) {
        const QString text = cellText(row, m_layout.columns[c].field);
        const double width = m_columnLeft[size_t(c) + 1] - m_columnLeft[size_t(c)] - 2 * m_padding;
        if (text.isEmpty() || shaped(text, false).width <= width)
            continue;
        lines = std::max(lines, static_cast<int>(wrap(text, false, width).size()));
    }
    return lines;
}

void LedgerReportPainter::paginate()
{
    double top = m_margin;
    if (!m_layout.titleText.isEmpty())
        top += QFontMetricsF(m_title).height() * 1.3;
    if (!m_layout.headingText.isEmpty())
        top += QFontMetricsF(m_heading).height() * 1.4;
    m_bodyTop = top + m_lineHeight + 2 * m_padding; // below the column headers
    m_bodyBottom = m_pageSize.height() - m_margin - QFontMetricsF(m_body).height() * 1.8;

    const double rowPad = 2 * m_padding;
    m_pageStarts.assign(1, 0);
    double y = m_bodyTop;
    for (size_t i = 0; i < m_report.rowCount(); ++i) {
        const double h = linesOf(i) * m_lineHeight + rowPad;
        // A row never runs into the footer; one taller than a whole page stands alone.
        if (y + h > m_bodyBottom && y > m_bodyTop) {
            m_pageStarts.push_back(static_cast<int>(i));
            y = m_bodyTop;
        }
        y += h;
    }
    if (y + m_lineHeight + rowPad > m_bodyBottom && y > m_bodyTop)
        m_pageStarts.push_back(static_cast<int>(m_report.rowCount()));
}

QString LedgerReportPainter::pageText(const QString &text, int page) const
{
    QMap<QString, QString> values = m_report.words();
    values.insert({{QStringLiteral("title"), m_report.title()},
                   {QStringLiteral("heading"), m_report.heading()},
                   {QStringLiteral("date"), m_printDate},
                   {QStringLiteral("page"), QString::number(page + 1)},
                   {QStringLiteral("pages"), QString::number(pageCount())}});
    return fillPlaceholders(text, values);
}

double LedgerReportPainter::paintRow(QPainter &painter, double top, const QList<Cell> &cells, bool bold) const
{
    int most = 1;
    for (qsizetype c = 0; c < cells.size(); ++c) {
        if (cells[c].text.isEmpty())
            continue;
        const double left = m_columnLeft[size_t(c)] + m_padding;
        const double width = m_columnLeft[size_t(c) + 1] - m_columnLeft[size_t(c)] - 2 * m_padding;
        const QStringList lines = wrap(cells[c].text, bold, width);
        most = std::max(most, static_cast<int>(lines.size()));
        double y = top + m_padding;
        for (const QString &line : lines) {
            const Shaped s = shaped(line, bold);
            double x = left;
            if (cells[c].align == ReportLayout::Align::Right)
                x += width - s.width;
            else if (cells[c].align == ReportLayout::Align::Center)
                x += (width - s.width) / 2;
            for (const QGlyphRun &run : s.runs)
                painter.drawGlyphRun(QPointF(x, y), run);
            y += m_lineHeight;
        }
    }
    return most * m_lineHeight + 2 * m_padding;
}

void LedgerReportPainter::paintHeaderRow(QPainter &painter, double top) const
{
    const double h = m_lineHeight + 2 * m_padding;
    painter.fillRect(QRectF(m_columnLeft.front(), top, m_columnLeft.back() - m_columnLeft.front(), h), kHeaderBack);
    painter.setFont(m_bold);
    for (qsizetype c = 0; c < m_layout.columns.size(); ++c) {
        const QRectF cell(m_columnLeft[size_t(c)], top, m_columnLeft[size_t(c) + 1] - m_columnLeft[size_t(c)], h);
        painter.drawText(cell, Qt::AlignCenter, fillPlaceholders(m_layout.columns[c].header, m_report.words()));
    }
}

void LedgerReportPainter::paintPage(QPainter &painter, int page) const
{
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    painter.setPen(Qt::black);
    const double left = m_columnLeft.front();
    const double right = m_columnLeft.back();
    double y = m_margin;
    if (!m_layout.titleText.isEmpty()) {
        painter.setFont(m_title);
        const double h = QFontMetricsF(m_title).height();
        painter.drawText(QRectF(left, y, right - left, h), Qt::AlignCenter, pageText(m_layout.titleText, page));
        y += h * 1.3;
    }
    if (!m_layout.headingText.isEmpty()) {
        painter.setFont(m_heading);
        const double h = QFontMetricsF(m_heading).height();
        // A long search text is shortened at the end rather than run off the page.
        const QString heading = QFontMetricsF(m_heading).elidedText(pageText(m_layout.headingText, page),
                                                                    Qt::ElideRight, right - left);
        painter.drawText(QRectF(left, y, right - left, h), Qt::AlignLeft | Qt::AlignVCenter, heading);
        y += h * 1.4;
    }
    const double tableTop = y;
    paintHeaderRow(painter, tableTop);
    y = m_bodyTop;

    const size_t first = size_t(m_pageStarts[size_t(page)]);
    const size_t end = page + 1 < pageCount() ? size_t(m_pageStarts[size_t(page) + 1]) : m_report.rowCount();
    QList<Cell> cells(m_layout.columns.size());
    const QPen rule(kRule, 0.5 * kPoint);
    for (size_t i = first; i < end; ++i) {
        for (qsizetype c = 0; c < cells.size(); ++c)
            cells[c] = {cellText(i, m_layout.columns[c].field), m_layout.columns[c].align};
        y += paintRow(painter, y, cells, false);
        painter.setPen(rule);
        painter.drawLine(QPointF(left, y), QPointF(right, y));
        painter.setPen(Qt::black);
    }
    const double rowsBottom = y;
    size_t labelEnd = 1; // the totals label spans the columns before the first sum
    if (page == pageCount() - 1) {
        for (qsizetype c = 0; c < cells.size(); ++c)
            cells[c] = {oneLine(m_report.totalText(m_layout.columns[c].field)), m_layout.columns[c].align};
        while (labelEnd < size_t(cells.size()) && cells[qsizetype(labelEnd)].text.isEmpty())
            ++labelEnd;
        painter.setPen(QPen(Qt::black, 0.8 * kPoint));
        painter.drawLine(QPointF(left, y), QPointF(right, y));
        const double h = paintRow(painter, y, cells, true);
        painter.setFont(m_bold);
        painter.drawText(QRectF(left, y, m_columnLeft[labelEnd] - left, h), Qt::AlignCenter, m_layout.totalsLabel);
        y += h;
    }
    // The table's frame and column rules, once for the page.
    painter.setPen(QPen(Qt::black, 0.8 * kPoint));
    painter.drawRect(QRectF(left, tableTop, right - left, y - tableTop));
    painter.drawLine(QPointF(left, m_bodyTop), QPointF(right, m_bodyTop));
    painter.setPen(rule);
    for (size_t c = 1; c + 1 < m_columnLeft.size(); ++c)
        painter.drawLine(QPointF(m_columnLeft[c], tableTop), QPointF(m_columnLeft[c], c < labelEnd ? rowsBottom : y));

    painter.setPen(Qt::black);
    painter.setFont(m_body);
    const QRectF footer(left, m_pageSize.height() - m_margin - QFontMetricsF(m_body).height(), right - left,
                        QFontMetricsF(m_body).height());
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, pageText(m_layout.footerLeft, page));
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignVCenter, pageText(m_layout.footerCenter, page));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, pageText(m_layout.footerRight, page));
    painter.restore();
}

bool LedgerReportPainter::writePdf(const QString &path, QString *error, const Progress &progress) const
{
    // A temporary file beside the target, renamed over it once checked: a full disk or a kill
    // leaves the old PDF or none, never a cut one.
    StagedFile file(path);
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("PDF 파일을 쓸 수 없습니다: ") + path + QLatin1Char('\n') + reason;
        return false;
    };
    if (const QString reason = file.create(); !reason.isEmpty())
        return fail(reason);
    QPdfWriter writer(&file);
    writer.setResolution(int(UnitsPerInch));
    writer.setPageLayout(pageLayout());
    writer.setTitle(m_report.title() + QStringLiteral(" - ") + m_report.heading());
    writer.setCreator(programTitle());
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(file.writeFailure());
    for (int p = 0; p < pageCount(); ++p) {
        if (p > 0 && !writer.newPage())
            break;
        paintPage(painter, p);
        if (progress && !progress(p + 1, pageCount())) {
            painter.end();
            return false;
        }
        if (!file.writeFailure().isEmpty())
            break; // the rest would fail the same way
    }
    if (!painter.end())
        return fail(file.writeFailure().isEmpty() ? QStringLiteral("PDF를 만드는 중에 오류가 났습니다.") : file.writeFailure());
    const QString reason = file.commit("%%EOF");
    return reason.isEmpty() || fail(reason);
}

bool LedgerReportPainter::print(QPrinter &printer, const Progress &progress) const
{
    printer.setPageLayout(pageLayout());
    printer.setFullPage(true);
    const int from = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
    const int to = printer.toPage() > 0 ? std::min(printer.toPage(), pageCount()) - 1 : pageCount() - 1;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / UnitsPerInch;
    painter.scale(scale, scale);
    for (int p = from; p <= to; ++p) {
        if (p > from)
            printer.newPage();
        paintPage(painter, p);
        if (progress && !progress(p - from + 1, to - from + 1)) {
            printer.abort();
            return false;
        }
    }
    return painter.end();
}
