// SPDX-License-Identifier: GPL-3.0-or-later
#include "balances.h"

#include <algorithm>
#include <unordered_map>

#include "core/base/textutil.h"
#include "core/data/database.h"
#include "payment.h"

namespace {

// The code, date and amount fields of the vouchers of a side.
struct Side
{
    QString code, date, cost;
};

Side sideOf(BusiMode mode)
{
    return {voucherCodeField(mode), Balances::voucherDateField(mode), Balances::voucherAmountField(mode)};
}

// " AND date <= :to" when the period has an end.
QString upTo(const QString &dateField, const QString &to)
{
    return to.isEmpty() ? QString() : QStringLiteral(" AND %1 <= :to").arg(dateField);
}

// Per client: what came before from and what came within the period, of the vouchers and of the
// payments; a NULL date counts as the earliest.
SqlStatement splitByPeriod(const QString &sql, const QString &from, const QString &to)
{
    SqlStatement st(sql);
    st.bind(QStringLiteral("from"), from);
    if (!to.isEmpty())
        st.bind(QStringLiteral("to"), to);
    return st;
}

// The opening balance plus the client's trade less their payments, of the dates that stand in
// comparison to date (none: every date). Three sums over the client's own index entries.
std::optional<qint64> sumOf(Database &db, BusiMode mode, qint64 clientCode, const QString &comparison, const QString &date,
                            SqlError *error)
{
    const Side s = sideOf(mode);
    const auto dated = [&](const QString &field) {
        return comparison.isEmpty() ? QString() : QStringLiteral(" AND %1 %2 :date").arg(field, comparison);
    };
    SqlStatement st(QStringLiteral("SELECT (SELECT COALESCE(SUM(amount), 0) FROM client_opening WHERE client_code = :code "
                                   "AND busi_mode = :mode) + (SELECT COALESCE(SUM(%2), 0) FROM total WHERE %1 = :code%3) "
                                   "- (SELECT COALESCE(SUM(amount), 0) FROM payment WHERE client_code = :code AND busi_mode = :mode%4)")
                        .arg(s.code, s.cost, dated(QStringLiteral("COALESCE(%1, '')").arg(s.date)), dated(QStringLiteral("pay_date"))));
    st.bind(QStringLiteral("code"), clientCode).bind(QStringLiteral("mode"), toInt(mode));
    if (!comparison.isEmpty())
        st.bind(QStringLiteral("date"), date);
    std::optional<qint64> out;
    const SqlError e = db.forEachRow(st, [&](const Database::RowView &row) { out = row.integer(0); });
    if (error)
        *error = e;
    return e.isError() ? std::nullopt : out;
}

} // namespace

namespace Balances {

QString voucherDateField(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("maechul_date") : QStringLiteral("maeip_date");
}

QString voucherAmountField(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("maechul_cost") : QStringLiteral("maeip_cost");
}

std::optional<qint64> balanceAt(Database &db, BusiMode mode, qint64 clientCode, const QString &date, SqlError *error)
{
    return sumOf(db, mode, clientCode, date.isEmpty() ? QString() : QStringLiteral("<="), date, error);
}

std::optional<qint64> balanceBefore(Database &db, BusiMode mode, qint64 clientCode, const QString &date, SqlError *error)
{
    // Before an open start there is only the opening balance: no date is below "".
    return sumOf(db, mode, clientCode, QStringLiteral("<"), date, error);
}

SqlError list(Database &db, BusiMode mode, const QString &from, const QString &to, std::vector<Row> &out)
{
    out.clear();
    std::unordered_map<qint64, Row> rows;
    const auto at = [&rows](qint64 code) -> Row & {
        Row &r = rows[code];
        r.code = code;
        return r;
    };
    const Side s = sideOf(mode);
    const QString date = QStringLiteral("COALESCE(%1, '')").arg(s.date);
    SqlError e = db.forEachRow(
        splitByPeriod(QStringLiteral("SELECT %1, SUM(CASE WHEN %2 < :from THEN %3 ELSE 0 END), "
                                     "SUM(CASE WHEN %2 < :from THEN 0 ELSE %3 END) FROM total WHERE %1 <> 0%4 GROUP BY %1")
                          .arg(s.code, date, s.cost, upTo(date, to)),
                      from, to),
        [&](const Database::RowView &v) {
            Row &r = at(v.integer(0));
            r.carried += v.integer(1);
            r.traded += v.integer(2);
        });
    if (e.isError())
        return e;
    SqlStatement paid = splitByPeriod(QStringLiteral("SELECT client_code, SUM(CASE WHEN pay_date < :from THEN amount ELSE 0 END), "
                                                     "SUM(CASE WHEN pay_date < :from THEN 0 ELSE amount END) FROM payment "
                                                     "WHERE busi_mode = :mode%1 GROUP BY client_code")
                                          .arg(upTo(QStringLiteral("pay_date"), to)),
                                      from, to);
    e = db.forEachRow(paid.bind(QStringLiteral("mode"), toInt(mode)), [&](const Database::RowView &v) {
        Row &r = at(v.integer(0));
        r.carried -= v.integer(1);
        r.paid += v.integer(2);
    });
    if (e.isError())
        return e;
    SqlStatement opening(QStringLiteral("SELECT client_code, amount FROM client_opening WHERE busi_mode = :mode"));
    e = db.forEachRow(opening.bind(QStringLiteral("mode"), toInt(mode)),
                      [&](const Database::RowView &v) { at(v.integer(0)).carried += v.integer(1); });
    if (e.isError())
        return e;
    // Every client of the register, with or without trade; the codes left over are deleted ones.
    e = db.forEachRow(SqlStatement(QStringLiteral("SELECT id, name FROM ") + clientTable(mode)),
                      [&](const Database::RowView &v) { at(v.integer(0)).name = v.text(1); });
    if (e.isError())
        return e;
    out.reserve(rows.size());
    for (auto &[code, row] : rows) {
        if (row.name.isNull())
            row.name = PaymentRules::deletedClientName();
        row.balance = row.carried + row.traded - row.paid;
        out.push_back(std::move(row));
    }
    std::sort(out.begin(), out.end(), [](const Row &a, const Row &b) { return a.code < b.code; });
    return {};
}

Row totals(const std::vector<Row> &rows)
{
    Row t;
    for (const Row &r : rows) {
        t.carried += r.carried;
        t.traded += r.traded;
        t.paid += r.paid;
        t.balance += r.balance;
    }
    return t;
}

} // namespace Balances

BalancesModel::BalancesModel(QObject *parent) : QAbstractTableModel(parent) {}

SqlError BalancesModel::load(Database &db, BusiMode mode, const QString &from, const QString &to)
{
    std::vector<Balances::Row> rows;
    const SqlError e = Balances::list(db, mode, from, to, rows);
    if (e.isError())
        return e;
    beginResetModel();
    m_mode = mode;
    m_all = std::move(rows);
    endResetModel();
    refilter();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    return {};
}

void BalancesModel::setNonZeroOnly(bool on)
{
    if (on == m_nonZeroOnly)
        return;
    m_nonZeroOnly = on;
    refilter();
}

void BalancesModel::refilter()
{
    beginResetModel();
    m_shown.clear();
    for (const Balances::Row &r : m_all)
        if (!m_nonZeroOnly || r.balance != 0)
            m_shown.push_back(r);
    m_totals = Balances::totals(m_shown);
    endResetModel();
}

QString BalancesModel::title(BusiMode mode)
{
    return mode == BusiMode::Customer ? QStringLiteral("미수금 현황") : QStringLiteral("미지급금 현황");
}

QStringList BalancesModel::headers(BusiMode mode)
{
    return {QStringLiteral("코드"), QStringLiteral("상호명"), QStringLiteral("이월"), busiWord(mode),
            PaymentRules::paymentWord(mode), QStringLiteral("잔액")};
}

int BalancesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int BalancesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BalancesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Balances::Row &r = m_shown.at(static_cast<size_t>(index.row()));
    const auto raw = [&]() -> QVariant {
        switch (index.column()) {
        case ColCode: return r.code;
        case ColName: return r.name;
        case ColCarried: return r.carried;
        case ColTraded: return r.traded;
        case ColPaid: return r.paid;
        case ColBalance: return r.balance;
        default: return {};
        }
    };
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = raw();
        return index.column() >= ColCarried ? QVariant(formatMoney(v.toLongLong())) : v;
    }
    case Qt::EditRole:
    case SortRole:
        return raw();
    case Qt::TextAlignmentRole:
        return index.column() == ColName ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BalancesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers(m_mode).at(section);
}
