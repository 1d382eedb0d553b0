// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "core/data/sqlstatement.h"

class Database;
class UserPrompt;

// One charted group: a day, a month, a year or a product.
struct AnalysisEntry
{
    QString label;
    qint32 count = 0;
    qint64 amountWon = 0; // whole won; divided once, for display only
};

// How the chart's axis shows its labels, for labels of the given width in a slot per bar:
// level while the widest fits its slot, else upright, and then only every step-th label when
// even upright ones would overlap (the others are left blank).
struct AxisLabelPlan
{
    bool upright = false;
    int step = 1;
    friend bool operator==(const AxisLabelPlan &, const AxisLabelPlan &) = default;
};

// One bar of a drawn page.
struct AnalysisPoint
{
    QString label;
    QString text;  // the value as the chart's data text
    double value = 0;
};

// The purchase and sales analysis behind FrmTradeGraph: the vouchers of a period grouped by
// day, month, year or product, counted and summed, then cut into pages for the chart.
class TradeAnalysis final
{
public:
    enum Grouping { Day = 0, Month = 1, Year = 2, Product = 3 };
    enum GraphValue { Count = 0, Amount = 1 };

    struct Filter
    {
        QString from; // "YYYY-MM-DD", as typed
        QString to;
        QString group;   // empty: all groups
        QString product; // empty: all products
        Grouping grouping = Day;
    };

    TradeAnalysis(Database &db, UserPrompt &prompt);

    // 0 charts purchases (maeip_cost), anything else sales (maechul_cost).
    void setTradeGubun(quint8 gubun) { m_tradeGubun = gubun; }
    quint8 tradeGubun() const { return m_tradeGubun; }
    QString caption() const { return captionOf(m_tradeGubun); }
    static QString captionOf(quint8 gubun);

    // The group list's items after its empty first item; nullopt after the query's box.
    std::optional<QStringList> groupNames() const;
    // FillPName's items after its empty first item; a failure shows the routine's error box.
    std::optional<QStringList> productNames() const;

    // Rebuilds the table; false (after any query box) when the period and filters hold no data.
    bool build(const Filter &filter);
    // The number of days, months or years of the period, both ends counted (N); 0 or less
    // means no data. By product the table is sized by the rows the query gives: a product
    // that has no sold voucher in the whole ledger cannot appear in the period either.
    static int periodLength(const Filter &filter);
    // The grouping statement the table answers to: one row per day, month, year or product.
    static SqlStatement query(const Filter &filter, quint8 tradeGubun);
    // What build() runs for the same table: months and years summed from day rows, products
    // from voucher rows, so no grouping sorts every voucher of a long period.
    static SqlStatement buildQuery(const Filter &filter, quint8 tradeGubun);

    const QList<AnalysisEntry> &entries() const { return m_entries; }
    int lastIndex() const { return static_cast<int>(m_entries.size()) - 1; }

    // The page list: "ALL", then "1" to the last page, for perPageText points per page.
    QStringList pages(const QString &perPageText) const;
    // The bars of page index pageIndex (0 is "ALL") of a list of pageItems items.
    QList<AnalysisPoint> page(int pageIndex, int pageItems, const QString &perPageText, GraphValue value) const;

    // The whole table of the last build (every page), a header line of the two captions first,
    // with separator between the fields; a CSV (',') has its product names as text cells.
    QString table(QChar separator, GraphValue value, const QString &groupingCaption, const QString &valueCaption) const;
    // The period and the filters of the last build, for the saved picture:
    // "기간: 2026-01-01 ~ 2026-03-31 · 그룹: 가전 · 품목: 전체".
    QString filterText() const;

    // The labels as the axis shows them: days of one year as "11-03" and months of one year as
    // "11월" (the period beside the chart names the year); anything else as it is.
    static QStringList axisLabels(const QStringList &labels);
    static AxisLabelPlan planAxisLabels(double slotWidth, double widestLabel, double lineHeight);

    // Whole won in units of 10,000 won, exact: 1234500 gives "123.45".
    static QString amountText(qint64 won);

private:
    Database &m_db;
    UserPrompt &m_prompt;
    quint8 m_tradeGubun = 1;
    Filter m_filter;
    QList<AnalysisEntry> m_entries;
};

// The points-per-page box: VB's Val (the leading number, 0 when there is none) and the rules
// applied when the focus leaves the box. False, after the box, when the text is no number:
// the focus then goes back.
double numericValue(const QString &text);
bool validatePointsPerPage(QString &text, UserPrompt &prompt);
// Enter in the box re-pages only for 1 to 99 points, and only when there is something to page.
bool repagesOnEnter(const QString &text, int lastIndex, int pageItems);
// A period box: false, after the box, when text is not a date.
bool validateGraphDate(const QString &text, UserPrompt &prompt);

// Shown when a build finds nothing.
QString noDataMessage();
