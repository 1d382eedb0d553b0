// SPDX-License-Identifier: GPL-3.0-or-later
#include "tradeanalysis.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include "core/base/csvfield.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"

namespace {

QString groupingField(TradeAnalysis::Grouping g)
{
    switch (g) {
    case TradeAnalysis::Day:
        return QStringLiteral("maechul_date");
    case TradeAnalysis::Month:
        return QStringLiteral("substr(maechul_date,1,7)");
    case TradeAnalysis::Year:
        return QStringLiteral("substr(maechul_date,1,4)");
    case TradeAnalysis::Product:
        break;
    }
    return QStringLiteral("pro_name");
}

QDate storedDate(const QString &text)
{
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

// VB's CInt: the nearest whole number, a half to the even neighbour, within 16 bits.
int pointsPerPage(const QString &text)
{
    const double v = std::nearbyint(numericValue(text.isEmpty() ? QStringLiteral("1") : text));
    return static_cast<int>(std::clamp(v, -32768.0, 32767.0));
}

} // namespace

TradeAnalysis::TradeAnalysis(Database &db, UserPrompt &prompt) : m_db(db), m_prompt(prompt) {}

QString TradeAnalysis::captionOf(quint8 gubun)
{
    return gubun == 0 ? QStringLiteral("매입 분석 그래프") : QStringLiteral("매출 분석 그래프");
}

std::optional<QStringList> TradeAnalysis::groupNames() const
{
    return shownOnFailure(
        OpenRSTexts(m_db, QStringLiteral("SELECT distinct group_name FROM total WHERE group_name <> '' ORDER BY group_name")),
        m_prompt);
}

std::optional<QStringList> TradeAnalysis::productNames() const
{
    const SqlStatement sql(QStringLiteral("SELECT DISTINCT pro_name FROM total WHERE maechul_cost <> 0 ORDER BY pro_name"));
    QStringList names;
    SqlError e = m_db.forEachRow(sql, [&names](const Database::RowView &row) {
        const QString name = row.text(0);
        if (!name.trimmed().isEmpty())
            names.append(name);
    });
    // This procedure reports an unopened ledger in the run-time error's own words.
    if (e.kind == SqlError::Kind::NoDatabase)
        e.text = QStringLiteral("Object variable or With block variable not set");
    if (e.isError()) {
        m_prompt.ShowRunError(e.code, e.text, QStringLiteral("FillPName"), QStringLiteral("FrmTradeGraph"), true);
        return std::nullopt;
    }
    return names;
}

int TradeAnalysis::periodLength(const Filter &filter)
{
    const QDate from = storedDate(filter.from);
    const QDate to = storedDate(filter.to);
    if (!from.isValid() || !to.isValid())
        return 0;
    switch (filter.grouping) {
    case Day:
        return static_cast<int>(from.daysTo(to)) + 1;
    case Month:
        return (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
    case Year:
        return to.year() - from.year() + 1;
    case Product:
        break;
    }
    return to < from ? 0 : 1;
}

namespace {

// The FROM and WHERE pieces every form of the analysis statement shares, with bound values.
SqlStatement periodRows(const QString &columns, const TradeAnalysis::Filter &filter)
{
    SqlStatement sql(QStringLiteral("SELECT ") + columns
                     + QStringLiteral(" FROM total WHERE maechul_date BETWEEN :from AND :to AND maechul_cost <> 0"));
    sql.bind(QStringLiteral("from"), filter.from).bind(QStringLiteral("to"), filter.to);
    if (!filter.group.isEmpty()) {
        sql.text += QStringLiteral(" and group_name = :group");
        sql.bind(QStringLiteral("group"), filter.group);
    }
    if (!filter.product.isEmpty()) {
        sql.text += QStringLiteral(" AND pro_name = :product");
        sql.bind(QStringLiteral("product"), filter.product);
    }
    return sql;
}

QString amountField(quint8 tradeGubun)
{
    return tradeGubun != 0 ? QStringLiteral("maechul_cost") : QStringLiteral("maeip_cost");
}

struct NameHash
{
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// The engine's NOCASE: ASCII letters fold, nothing else does.
QString foldAscii(const QString &text)
{
    QString key = text;
    for (QChar &c : key)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    return key;
}

} // namespace

SqlStatement TradeAnalysis::query(const Filter &filter, quint8 tradeGubun)
{
    const QString g = groupingField(filter.grouping);
    SqlStatement sql = periodRows(g + QStringLiteral(", COUNT(*), SUM(") + amountField(tradeGubun) + QLatin1Char(')'),
                                  filter);
    sql.text += QStringLiteral(" GROUP BY ") + g + QStringLiteral(" Order BY ") + g;
    return sql;
}

SqlStatement TradeAnalysis::buildQuery(const Filter &filter, quint8 tradeGubun)
{
    const QString amount = amountField(tradeGubun);
    switch (filter.grouping) {
    case Day:
        break;
    case Month:
    case Year: {
        // Days come off the period index in order without a sort; the months or years are then
        // summed over a few thousand day rows instead of sorting every voucher.
        SqlStatement days = periodRows(QStringLiteral("maechul_date AS d, COUNT(*) AS n, SUM(") + amount
                                           + QStringLiteral(") AS s"),
                                       filter);
        const QString g = filter.grouping == Month ? QStringLiteral("substr(d,1,7)") : QStringLiteral("substr(d,1,4)");
        days.text = QStringLiteral("SELECT ") + g + QStringLiteral(", SUM(n), SUM(s) FROM (") + days.text
                    + QStringLiteral(" GROUP BY maechul_date) AS days GROUP BY ") + g + QStringLiteral(" ORDER BY ") + g;
        return days;
    }
    case Product:
        // One row per voucher, summed by name in build(): a hash beats the engine's sort of
        // every voucher by name.
        return periodRows(QStringLiteral("pro_name, 1, ") + amount, filter);
    }
    return query(filter, tradeGubun);
}

bool TradeAnalysis::build(const Filter &filter)
{
    m_entries.clear();
    m_filter = filter;
    const int n = periodLength(filter);
    if (n <= 0)
        return false;
    if (filter.grouping != Product)
        m_entries.reserve(n + 11);

    // Day and month rows come one per group; years are merged by label.
    const bool byName = filter.grouping == Product;
    QHash<QString, qsizetype> byLabel;
    // Products come one row per voucher and are summed by name as the engine groups names
    // (ASCII letter case aside), keeping the first spelling met. The key is looked up on the
    // row's own bytes, so a million vouchers make no string each.
    std::unordered_map<std::string, qsizetype, NameHash, std::equal_to<>> nameIndex;
    std::string key;
    const auto add = [this](qsizetype i, const Database::RowView &row) {
        AnalysisEntry &entry = m_entries[i];
        if (!row.isNull(1))
            entry.count += static_cast<qint32>(row.integer(1));
        if (!row.isNull(2))
            entry.amountWon += row.integer(2);
    };
    const SqlStatement sql = buildQuery(filter, m_tradeGubun);
    const SqlError e = m_db.forEachRow(sql, [&](const Database::RowView &row) {
        qsizetype i = m_entries.size();
        if (byName) {
            const QByteArrayView name = row.utf8(0);
            key.assign(name.data() ? name.data() : "", static_cast<size_t>(name.size()));
            for (char &c : key)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + ('a' - 'A'));
            const auto it = nameIndex.find(std::string_view(key));
            if (it != nameIndex.end()) {
                add(it->second, row);
                return;
            }
            nameIndex.emplace(key, i);
        } else if (filter.grouping == Year) {
            const QString label = row.text(0);
            const auto it = byLabel.constFind(label);
            if (it != byLabel.cend()) {
                add(*it, row);
                return;
            }
            byLabel.insert(label, i);
        }
        m_entries.append(AnalysisEntry{row.isNull(0) ? QString() : row.text(0), 0, 0});
        add(i, row);
    });
    if (e.isError()) {
        m_entries.clear();
        m_prompt.show(queryError(e));
        return false;
    }
    if (byName) {
        // The order of ORDER BY pro_name under NOCASE: folded names by their UTF-8 bytes.
        std::sort(m_entries.begin(), m_entries.end(), [](const AnalysisEntry &a, const AnalysisEntry &b) {
            return foldAscii(a.label).toUtf8() < foldAscii(b.label).toUtf8();
        });
    }
    return !m_entries.isEmpty();
}

QStringList TradeAnalysis::pages(const QString &perPageText) const
{
    QStringList items{QStringLiteral("ALL")};
    const int perPage = std::max(1, pointsPerPage(perPageText));
    const int count = lastIndex() / perPage + 1;
    for (int p = 1; p <= count; ++p)
        items.append(QString::number(p));
    return items;
}

QList<AnalysisPoint> TradeAnalysis::page(int pageIndex, int pageItems, const QString &perPageText, GraphValue value) const
{
    const int perPage = pointsPerPage(perPageText);
    int offset = 0;
    int rows = 0;
    if (pageIndex <= 0) {
        rows = lastIndex() + 1;
    } else if (pageIndex == pageItems - 1) {
        offset = perPage * (pageIndex - 1);
        rows = lastIndex() - offset + 1;
    } else {
        rows = perPage;
        offset = perPage * (pageIndex - 1);
    }
    QList<AnalysisPoint> points;
    for (int i = 0; i < rows && offset + i <= lastIndex(); ++i) {
        const AnalysisEntry &e = m_entries.at(offset + i);
        if (value == Count)
            points.append({e.label, QString::number(e.count), static_cast<double>(e.count)});
        else
            points.append({e.label, amountText(e.amountWon), amountText(e.amountWon).toDouble()});
    }
    return points;
}

QString TradeAnalysis::table(QChar separator, GraphValue value, const QString &groupingCaption,
                             const QString &valueCaption) const
{
    const bool csv = separator == QLatin1Char(',');
    const auto plain = [csv](const QString &t) { return csv ? csvField(t) : t; };
    // Days, months and years are the program's own; product names were typed by someone.
    static const QRegularExpression period(QStringLiteral("^\\d{4}(-\\d{2}(-\\d{2})?)?$"));
    const auto label = [&](const QString &t) {
        return csv && (m_filter.grouping == Product || !period.match(t).hasMatch()) ? csvTextField(t) : plain(t);
    };
    QString out = plain(groupingCaption) + separator + plain(valueCaption) + QStringLiteral("\r\n");
    for (const AnalysisEntry &e : m_entries)
        out += label(e.label) + separator + (value == Count ? QString::number(e.count) : amountText(e.amountWon))
               + QStringLiteral("\r\n");
    return out;
}

QString TradeAnalysis::filterText() const
{
    const QString all = QStringLiteral("전체");
    return QStringLiteral("기간: %1 ~ %2 · 그룹: %3 · 품목: %4")
        .arg(m_filter.from, m_filter.to, m_filter.group.isEmpty() ? all : m_filter.group,
             m_filter.product.isEmpty() ? all : m_filter.product);
}

QStringList TradeAnalysis::axisLabels(const QStringList &labels)
{
    static const QRegularExpression day(QStringLiteral("^(\\d{4})-(\\d{2}-\\d{2})$"));
    static const QRegularExpression month(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    for (const QRegularExpression *form : {&day, &month}) {
        QStringList out;
        QString year;
        for (const QString &l : labels) {
            const QRegularExpressionMatch m = form->match(l);
            if (!m.hasMatch() || (!year.isEmpty() && m.captured(1) != year))
                break;
            year = m.captured(1);
            out << (form == &day ? m.captured(2) : QString::number(m.captured(2).toInt()) + QStringLiteral("월"));
        }
        if (!labels.isEmpty() && out.size() == labels.size())
            return out;
    }
    return labels;
}

AxisLabelPlan TradeAnalysis::planAxisLabels(double slotWidth, double widestLabel, double lineHeight)
{
    // A little air between neighbours, so that two labels never touch.
    constexpr double gap = 4;
    if (widestLabel + gap <= slotWidth)
        return {false, 1};
    const double slot = std::max(slotWidth, 0.01);
    return {true, std::max(1, static_cast<int>(std::ceil((lineHeight + gap) / slot)))};
}

QString TradeAnalysis::amountText(qint64 won)
{
    const qint64 whole = won / 10000;
    qint64 fraction = won % 10000;
    QString text = QString::number(whole);
    if (won < 0 && whole == 0)
        text.prepend(QLatin1Char('-'));
    if (fraction != 0) {
        QString digits = QString::number(std::abs(fraction)).rightJustified(4, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return text;
}

double numericValue(const QString &text)
{
    // The longest leading run that reads as a number, as VB's Val takes it.
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    bool dot = false;
    while (end < t.size() && (t[end].isDigit() || (!dot && t[end] == QLatin1Char('.')))) {
        dot = dot || t[end] == QLatin1Char('.');
        ++end;
    }
    bool ok = false;
    const double v = t.left(end).toDouble(&ok);
    return ok ? v : 0;
}

bool validatePointsPerPage(QString &text, UserPrompt &prompt)
{
    if (text.trimmed().isEmpty())
        text = QStringLiteral("0");
    bool numeric = false;
    const double v = text.trimmed().toDouble(&numeric);
    if (!numeric) {
        prompt.MsgInfo(QStringLiteral("숫자만 입력할 수 있습니다."));
        return false;
    }
    if (v < 1) {
        text = QStringLiteral("1");
    } else if (v > 999) {
        prompt.MsgInfo(QStringLiteral("최대값은 999입니다."));
        text = QStringLiteral("999");
    }
    return true;
}

bool repagesOnEnter(const QString &text, int lastIndex, int pageItems)
{
    const double v = numericValue(text);
    return v > 0 && v < 100 && lastIndex > 0 && pageItems > 0;
}

bool validateGraphDate(const QString &text, UserPrompt &prompt)
{
    if (storedDate(text).isValid())
        return true;
    prompt.MsgPlain(QStringLiteral("잘못된 날짜 형식입니다.\r\n정확한 날짜 형식을 입력하세요."));
    return false;
}

QString noDataMessage()
{
    return QStringLiteral("기간내 해당 데이터가 없습니다.");
}
