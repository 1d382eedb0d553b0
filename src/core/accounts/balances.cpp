// SPDX-License-Identifier: GPL-3.0-or-later
#include "balances.h"

#include <algorithm>
#include <limits>

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

QList<SqlStatement> listStatements(BusiMode mode, const QString &from, const QString &to)
{
    // What came within the period is summed beside the whole, so that each row is looked at
    // once; a NULL date is none of the period's and counts as carried forward.
    const Side s = sideOf(mode);
    const auto within = [&](const QString &date, const QString &amount) {
        return QStringLiteral("SUM(%2), SUM(CASE WHEN %1 >= :from THEN %2 ELSE 0 END)").arg(date, amount);
    };
    const auto until = [&](const QString &date) {
        return to.isEmpty() ? QString() : QStringLiteral(" AND (%1 <= :to OR %1 IS NULL)").arg(date);
    };
    QList<SqlStatement> out{
        SqlStatement(QStringLiteral("SELECT %1, %2 FROM total WHERE %1 <> 0%3 GROUP BY %1 ORDER BY %1")
                         .arg(s.code, within(s.date, s.cost), until(s.date))),
        SqlStatement(QStringLiteral("SELECT client_code, %1 FROM payment WHERE busi_mode = :mode%2 GROUP BY client_code "
                                    "ORDER BY client_code")
                         .arg(within(QStringLiteral("pay_date"), QStringLiteral("amount")), until(QStringLiteral("pay_date")))),
        SqlStatement(QStringLiteral("SELECT client_code, SUM(amount) FROM client_opening WHERE busi_mode = :mode "
                                    "GROUP BY client_code ORDER BY client_code")),
        SqlStatement(QStringLiteral("SELECT id, name FROM %1 ORDER BY id").arg(clientTable(mode)))};
    for (int i = 0; i < 3; ++i) {
        if (i < 2)
            out[i].bind(QStringLiteral("from"), from);
        if (i < 2 && !to.isEmpty())
            out[i].bind(QStringLiteral("to"), to);
        if (i > 0)
            out[i].bind(QStringLiteral("mode"), toInt(mode));
    }
    return out;
}

SqlError list(Database &db, BusiMode mode, const QString &from, const QString &to, std::vector<Row> &out)
{
    out.clear();
    struct Sums
    {
        qint64 code, all, within;
    };
    std::vector<Sums> parts[3];
    std::vector<std::pair<qint64, QString>> names;
    const QList<SqlStatement> statements = listStatements(mode, from, to);
    for (int i = 0; i < 3; ++i)
        if (const SqlError e = db.forEachRow(statements[i],
                                             [&](const Database::RowView &v) {
                                                 parts[i].push_back({v.integer(0), v.integer(1), i < 2 ? v.integer(2) : 0});
                                             });
            e.isError())
            return e;
    if (const SqlError e = db.forEachRow(statements[3], [&](const Database::RowView &v) { names.emplace_back(v.integer(0), v.text(1)); });
        e.isError())
        return e;
    // Every list is in code order: one merge, every client of the register with or without trade,
    // and the codes of trade that the register no longer has.
    size_t at[3] = {0, 0, 0};
    size_t n = 0;
    out.reserve(names.size());
    for (;;) {
        qint64 code = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 3; ++i)
            if (at[i] < parts[i].size())
                code = std::min(code, parts[i][at[i]].code);
        if (n < names.size())
            code = std::min(code, names[n].first);
        if (code == std::numeric_limits<qint64>::max())
            break;
        Row r;
        r.code = code;
        if (n < names.size() && names[n].first == code)
            r.name = std::move(names[n++].second);
        else
            r.name = PaymentRules::deletedClientName();
        const auto take = [&](int i) -> const Sums * {
            return at[i] < parts[i].size() && parts[i][at[i]].code == code ? &parts[i][at[i]++] : nullptr;
        };
        if (const Sums *v = take(0)) {
            r.carried += v->all - v->within;
            r.traded = v->within;
        }
        if (const Sums *p = take(1)) {
            r.carried -= p->all - p->within;
            r.paid = p->within;
        }
        if (const Sums *o = take(2))
            r.carried += o->all;
        r.balance = r.carried + r.traded - r.paid;
        out.push_back(std::move(r));
    }
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
