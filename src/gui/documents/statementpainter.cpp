// SPDX-License-Identifier: GPL-3.0-or-later
#include "statementpainter.h"

#include <algorithm>

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "core/base/stagedfile.h"
#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/documents/businessnumber.h"
#include "gui/report/reportfonts.h"

namespace {

constexpr double kPoint = 254.0 / 72.0; // tenths of a millimetre in a point
constexpr double kGap = 25;
constexpr int kBlockRows = 5;

QFont unitFont(const QString &family, double points, bool bold)
{
    return reportUnitFont(family, points, kPoint, bold);
}

QString number(const QString &digits)
{
    const BusinessNumber n = BusinessNumber::parse(digits);
    return n.ok() ? n.formatted() : digits;
}

// A framed cell with its text, inset from the frame.
void cell(QPainter &p, const QRectF &r, const QString &text, Qt::Alignment align = Qt::AlignLeft)
{
    p.drawRect(r);
    p.drawText(r.adjusted(12, 0, -12, 0), int(align | Qt::AlignVCenter) | Qt::TextSingleLine, text);
}

struct Pair
{
    QString label;
    QString value;
};

} // namespace

StatementPainter::StatementPainter(const Statement &data, const StatementLayout &layout)
    : m_data(data), m_layout(layout)
{
    m_body = unitFont(m_layout.font, m_layout.bodySize, false);
    m_bold = unitFont(m_layout.font, m_layout.bodySize, true);
    m_title = unitFont(m_layout.font, m_layout.titleSize, true);
    m_bodyPx = m_body.pixelSize();
    const double printable = PageHeight - 2 * m_layout.marginMm * 10;
    const double copyHeight = m_layout.copies == 2 ? (printable - 2 * kGap) / 2 : printable;
    m_perCopy = std::max(1, linesPerCopy(copyHeight));
    const int lines = std::max<int>(1, int(m_data.lines.size()));
    m_chunks = (lines + m_perCopy - 1) / m_perCopy;
}

int StatementPainter::linesPerCopy(double height) const
{
    const double lh = lineHeight();
    // Title, the two blocks, the sum, the header and totals rows of the lines, the balances.
    const double fixed = m_title.pixelSize() * 1.8 + lh + kBlockRows * lh + kGap + lh + kGap + 2 * lh + kGap + lh;
    return int((height - fixed) / lh);
}

int StatementPainter::pageCount() const
{
    return m_layout.copies == 2 ? m_chunks : 2 * m_chunks;
}

void StatementPainter::paintPage(QPainter &painter, int page) const
{
    const double margin = m_layout.marginMm * 10;
    const double printable = PageHeight - 2 * margin;
    painter.save();
    painter.setPen(QPen(Qt::black, 3));
    if (m_layout.copies == 2) {
        const double height = (printable - 2 * kGap) / 2;
        paintCopy(painter, margin, height, page, true);
        // The cut line between the copies.
        const double cut = margin + height + kGap;
        painter.setPen(QPen(Qt::gray, 3, Qt::DashLine));
        painter.drawLine(QPointF(margin, cut), QPointF(PageWidth - margin, cut));
        painter.setPen(QPen(Qt::black, 3));
        paintCopy(painter, cut + kGap, height, page, false);
    } else {
        paintCopy(painter, margin, printable, page / 2, page % 2 == 0);
    }
    painter.restore();
}

void StatementPainter::paintCopy(QPainter &p, double top, double height, int chunk, bool receiverCopy) const
{
    Q_UNUSED(height);
    const double left = m_layout.marginMm * 10;
    const double width = PageWidth - 2 * left;
    const double lh = lineHeight();
    const bool last = chunk == m_chunks - 1;

    // Title with the copy's name and the date.
    const double titleH = m_title.pixelSize() * 1.8;
    p.setFont(m_title);
    p.drawText(QRectF(left, top, width, titleH), Qt::AlignCenter, m_layout.titleText);
    p.setFont(m_body);
    p.drawText(QRectF(left, top, width, titleH), Qt::AlignRight | Qt::AlignBottom,
               (receiverCopy ? m_layout.receiverCopy : m_layout.supplierCopy)
                   + (m_chunks > 1 ? QStringLiteral("  %1/%2").arg(chunk + 1).arg(m_chunks) : QString()));
    double y = top + titleH;
    p.drawText(QRectF(left, y, width, lh), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("일자: ") + m_data.date.toString(Qt::ISODate));
    y += lh;

    // The receiver's block on the left, the supplier's on the right.
    const ShopDetails &s = m_data.shop;
    const ClientBusiness &c = m_data.business;
    const QList<QList<Pair>> receiver = {
        {{QStringLiteral("등록번호"), number(c.number)}},
        {{QStringLiteral("상호"), m_data.customerName}, {QStringLiteral("성명"), c.owner}},
        {{QStringLiteral("주소"), m_data.address}},
        {{QStringLiteral("업태"), c.busiType}, {QStringLiteral("종목"), c.busiItem}},
        {{QStringLiteral("전화"), m_data.tel}, {QStringLiteral("이메일"), c.email}}};
    const QList<QList<Pair>> supplier = {
        {{QStringLiteral("등록번호"), number(s.number)}},
        {{QStringLiteral("상호"), s.name}, {QStringLiteral("성명"), s.owner}},
        {{QStringLiteral("주소"), s.address}},
        {{QStringLiteral("업태"), s.busiType}, {QStringLiteral("종목"), s.busiItem}},
        {{QStringLiteral("전화"), s.tel}, {QStringLiteral("이메일"), s.email}}};
    const double blockW = (width - kGap) / 2;
    const auto block = [&](double x, const QString &name, const QList<QList<Pair>> &rows) {
        const double side = m_bodyPx * 1.8;
        p.setFont(m_bold);
        // The block's name stacked upright, one syllable a line, as the printed forms have it.
        const QRectF nameCell(x, y, side, kBlockRows * lh);
        p.drawRect(nameCell);
        p.drawText(nameCell, Qt::AlignCenter, name.split(QString(), Qt::SkipEmptyParts).join(QLatin1Char('\n')));
        p.setFont(m_body);
        const double labelW = m_bodyPx * 4.2;
        for (int r = 0; r < rows.size(); ++r) {
            const double rowY = y + r * lh;
            const double pairW = (blockW - side) / rows[r].size();
            for (int i = 0; i < rows[r].size(); ++i) {
                const double px = x + side + i * pairW;
                cell(p, QRectF(px, rowY, labelW, lh), rows[r][i].label, Qt::AlignHCenter);
                cell(p, QRectF(px + labelW, rowY, pairW - labelW, lh), rows[r][i].value);
            }
        }
    };
    block(left, QStringLiteral("공급받는자"), receiver);
    block(left + blockW + kGap, QStringLiteral("공급자"), supplier);
    y += kBlockRows * lh + kGap;

    // The sum in words and in figures.
    const double sumLabelW = m_bodyPx * 6;
    p.setFont(m_bold);
    cell(p, QRectF(left, y, sumLabelW, lh), QStringLiteral("합계금액"), Qt::AlignHCenter);
    cell(p, QRectF(left + sumLabelW, y, width - sumLabelW, lh),
         m_data.sumInWords() + QStringLiteral("  (₩") + formatMoney(m_data.sum.total())
             + QLatin1Char(')'));
    p.setFont(m_body);
    y += lh + kGap;

    // The lines.
    static const double shares[] = {11, 31, 6, 13, 13, 12, 14};
    const QStringList headers = {QStringLiteral("일자"), QStringLiteral("품목"), QStringLiteral("수량"),
                                 QStringLiteral("단가"), QStringLiteral("공급가액"), QStringLiteral("세액"),
                                 QStringLiteral("합계")};
    double xs[8] = {left};
    for (int i = 0; i < 7; ++i)
        xs[i + 1] = xs[i] + width * shares[i] / 100;
    const auto row = [&](const QStringList &texts, bool header) {
        for (int i = 0; i < 7; ++i) {
            const Qt::Alignment align = header || i == 0 ? Qt::AlignHCenter : i == 1 ? Qt::AlignLeft : Qt::AlignRight;
            cell(p, QRectF(xs[i], y, xs[i + 1] - xs[i], lh), texts.value(i), align);
        }
        y += lh;
    };
    p.setFont(m_bold);
    row(headers, true);
    p.setFont(m_body);
    const qsizetype first = qsizetype(chunk) * m_perCopy;
    const qsizetype end = std::min(m_data.lines.size(), first + m_perCopy);
    for (qsizetype i = first; i < end; ++i) {
        const StatementLine &l = m_data.lines[i];
        row({l.date.toString(Qt::ISODate), l.product, QStringLiteral("1"), formatMoney(l.amount.total()),
             formatMoney(l.amount.supply), formatMoney(l.amount.tax), formatMoney(l.amount.total())},
            false);
    }
    const int filled = int(end - first);
    for (int i = filled; i < std::min(m_layout.minLines, m_perCopy); ++i)
        row({}, false);
    p.setFont(m_bold);
    if (last)
        row({QStringLiteral("합계"), QString(), QString(), QString(), formatMoney(m_data.sum.supply),
             formatMoney(m_data.sum.tax), formatMoney(m_data.sum.total())},
            false);
    else
        row({QString(), QStringLiteral("다음 장에 계속")}, false);
    p.setFont(m_body);
    y += kGap;
    if (!last)
        return;

    // The balance lines.
    const QList<Pair> balances = {{QStringLiteral("전잔액"), formatMoney(m_data.previousBalance)},
                                  {QStringLiteral("금일 합계"), formatMoney(m_data.todayTotal)},
                                  {QStringLiteral("입금"), formatMoney(m_data.paidToday)},
                                  {QStringLiteral("현잔액"), formatMoney(m_data.currentBalance)}};
    const double pairW = width / balances.size();
    const double labelW = m_bodyPx * 4.6;
    for (int i = 0; i < balances.size(); ++i) {
        const double x = left + i * pairW;
        p.setFont(m_bold);
        cell(p, QRectF(x, y, labelW, lh), balances[i].label, Qt::AlignHCenter);
        p.setFont(m_body);
        cell(p, QRectF(x + labelW, y, pairW - labelW, lh), balances[i].value, Qt::AlignRight);
    }
}

bool StatementPainter::paintAll(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The device's dots in a tenth of a millimetre.
    const double scale = device.logicalDpiX() / 254.0;
    painter.scale(scale, scale);
    for (int page = 0; page < pageCount(); ++page) {
        if (page > 0 && !device.newPage())
            return false;
        paintPage(painter, page);
    }
    return painter.end();
}

bool StatementPainter::writePdf(const QString &path, QString *error) const
{
    // A temporary file beside the target, renamed over it once whole.
    StagedFile file(path);
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("PDF 파일을 쓸 수 없습니다: ") + path + QLatin1Char('\n') + reason;
        return false;
    };
    if (const QString reason = file.create(); !reason.isEmpty())
        return fail(reason);
    QPdfWriter writer(&file);
    writer.setResolution(254);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(m_layout.titleText + QStringLiteral(" - ") + m_data.customerName);
    writer.setCreator(programTitle());
    if (!paintAll(writer))
        return fail(file.writeFailure().isEmpty() ? QStringLiteral("PDF를 만드는 중에 오류가 났습니다.") : file.writeFailure());
    const QString reason = file.commit("%%EOF");
    return reason.isEmpty() || fail(reason);
}
