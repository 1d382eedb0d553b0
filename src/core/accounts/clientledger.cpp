// SPDX-License-Identifier: GPL-3.0-or-later
#include "clientledger.h"

#include "balances.h"
#include "core/base/textutil.h"
#include "core/data/database.h"
#include "payment.h"

namespace {

using Row = ClientLedger::Row;

// Lines of one kind within [from, to], in date order.
SqlError readLines(Database &db, const QString &sql, BusiMode mode, qint64 code, const QString &from, const QString &to,
                   Row::Kind kind, std::vector<Row> &out)
{
    SqlStatement st(sql);
    st.bind(QStringLiteral("code"), code).bind(QStringLiteral("from"), from);
    if (sql.contains(QLatin1String(":mode")))
        st.bind(QStringLiteral("mode"), toInt(mode));
    if (!to.isEmpty())
        st.bind(QStringLiteral("to"), to);
    return db.forEachRow(st, [&](const Database::RowView &v) {
        Row r;
        r.kind = kind;
        r.key = v.integer(0);
        r.date = v.text(1);
        r.text = v.text(2);
        (kind == Row::Kind::Voucher ? r.traded : r.paid) = v.integer(3);
        out.push_back(std::move(r));
    });
}

} // namespace

namespace ClientLedger {

QString carriedForwardLabel()
{
    return QStringLiteral("전기이월");
}

QString totalsLabel()
{
    return QStringLiteral("기간 합계");
}

QString closingLabel()
{
    return QStringLiteral("기말 잔액");
}

SqlError build(Database &db, BusiMode mode, qint64 code, const QString &from, const QString &to, std::vector<Row> &out)
{
    out.clear();
    SqlError e;
    const auto carried = Balances::balanceBefore(db, mode, code, from, &e);
    if (!carried)
        return e;
    const QString date = QStringLiteral("COALESCE(%1, '')").arg(Balances::voucherDateField(mode));
    const auto end = [&to](const QString &field) { return to.isEmpty() ? QString() : QStringLiteral(" AND %1 <= :to").arg(field); };
    std::vector<Row> vouchers, payments;
    e = readLines(db,
                  QStringLiteral("SELECT total_id, %2, pro_name, %3 FROM total WHERE %1 = :code "
                                 "AND %2 >= :from%4 ORDER BY %2, total_id")
                      .arg(voucherCodeField(mode), date, Balances::voucherAmountField(mode), end(date)),
                  mode, code, from, to, Row::Kind::Voucher, vouchers);
    if (e.isError())
        return e;
    e = readLines(db,
                  QStringLiteral("SELECT payment_id, pay_date, TRIM(COALESCE(method, '') || ' ' || COALESCE(memo, '')), amount FROM payment "
                                 "WHERE client_code = :code AND busi_mode = :mode AND pay_date >= :from%1 "
                                 "ORDER BY pay_date, payment_id")
                      .arg(end(QStringLiteral("pay_date"))),
                  mode, code, from, to, Row::Kind::Payment, payments);
    if (e.isError())
        return e;

    out.reserve(vouchers.size() + payments.size() + 3);
    Row first{Row::Kind::CarriedForward, from, carriedForwardLabel(), 0, 0, *carried, 0};
    out.push_back(first);
    qint64 balance = *carried, traded = 0, paid = 0;
    // Merged by date; on one day the vouchers come before the payments.
    auto v = vouchers.begin(), p = payments.begin();
    while (v != vouchers.end() || p != payments.end()) {
        const bool voucherNext = p == payments.end() || (v != vouchers.end() && v->date <= p->date);
        Row &r = voucherNext ? *v++ : *p++;
        traded += r.traded;
        paid += r.paid;
        balance += r.traded - r.paid;
        r.balance = balance;
        out.push_back(std::move(r));
    }
    out.push_back({Row::Kind::Totals, {}, totalsLabel(), traded, paid, balance, 0});
    out.push_back({Row::Kind::Closing, to, closingLabel(), 0, 0, balance, 0});
    return {};
}

} // namespace ClientLedger

ClientLedgerModel::ClientLedgerModel(QObject *parent) : QAbstractTableModel(parent) {}

SqlError ClientLedgerModel::load(Database &db, BusiMode mode, qint64 code, const QString &from, const QString &to)
{
    std::vector<ClientLedger::Row> rows;
    const SqlError e = ClientLedger::build(db, mode, code, from, to, rows);
    if (e.isError())
        return e;
    beginResetModel();
    m_mode = mode;
    m_rows = std::move(rows);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    return {};
}

QStringList ClientLedgerModel::headers(BusiMode mode)
{
    return {QStringLiteral("일자"), QStringLiteral("적요"), busiWord(mode), PaymentRules::paymentWord(mode),
            QStringLiteral("잔액")};
}

int ClientLedgerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ClientLedgerModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClientLedgerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ClientLedger::Row &r = m_rows.at(static_cast<size_t>(index.row()));
    using K = ClientLedger::Row::Kind;
    // The carried-forward and closing lines have a balance only.
    const bool movement = r.kind != K::CarriedForward && r.kind != K::Closing;
    QVariant raw;
    switch (index.column()) {
    case ColDate: raw = r.date; break;
    case ColText: raw = r.text; break;
    case ColTraded: raw = movement ? QVariant(r.traded) : QVariant(); break;
    case ColPaid: raw = movement ? QVariant(r.paid) : QVariant(); break;
    case ColBalance: raw = r.balance; break;
    default: return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return index.column() >= ColTraded && !raw.isNull() ? QVariant(formatMoney(raw.toLongLong())) : raw;
    case Qt::EditRole:
    case SortRole:
        return raw;
    case Qt::TextAlignmentRole:
        return index.column() >= ColTraded ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant ClientLedgerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers(m_mode).at(section);
}
