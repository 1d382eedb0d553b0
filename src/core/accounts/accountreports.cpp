// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountreports.h"

#include <memory>

#include "balances.h"
#include "clientledger.h"
#include "core/base/textutil.h"
#include "payment.h"

namespace {

// Both reports' files name the same placeholders; columns and totals are their own.
QString layoutText(const QString &name, const QString &fields, const QString &columns, const QString &totalsLabel)
{
    return layoutFileText({name,
                           QStringLiteral("; 자리표시: {title} 제목, {heading} 거래처와 기간, {date} 인쇄일, {page} 쪽 번호, "
                                          "{pages} 전체 쪽 수,\n"
                                          ";           {traded} 매출 또는 매입, {paid} 입금 또는 지급 (머리글에도 쓸 수 "
                                          "있습니다)\n"),
                           QStringLiteral("12"), QStringLiteral("9"), QStringLiteral("; 값: ") + fields + u'\n' + columns,
                           totalsLabel});
}

QMap<QString, QString> sideWords(BusiMode mode)
{
    return {{QStringLiteral("traded"), busiWord(mode)}, {QStringLiteral("paid"), PaymentRules::paymentWord(mode)}};
}

const QStringList kWords{QStringLiteral("traded"), QStringLiteral("paid")};

} // namespace

namespace AccountReports {

const ReportForm &clientLedgerForm()
{
    static const ReportForm form{
        QStringLiteral("ClientLedger.ini"),
        layoutText(QStringLiteral("거래처원장"), QStringLiteral("{date} {text} {traded} {paid} {balance}"),
                   QStringLiteral("일자 | {date} | 10 | center\n"
                                  "적요 | {text} | 34 | left\n"
                                  "{traded} | {traded} | 14 | right\n"
                                  "{paid} | {paid} | 14 | right\n"
                                  "잔액 | {balance} | 14 | right\n"),
                   QStringLiteral("[기간 합계 · 기말 잔액]")),
        {QStringLiteral("date"), QStringLiteral("text"), QStringLiteral("traded"), QStringLiteral("paid"),
         QStringLiteral("balance")},
        kWords};
    return form;
}

const ReportForm &balancesForm()
{
    static const ReportForm form{
        QStringLiteral("Balances.ini"),
        layoutText(QStringLiteral("미수금·미지급금 현황"),
                   QStringLiteral("{code} {name} {carried} {traded} {paid} {balance}"),
                   QStringLiteral("코드 | {code} | 7 | right\n"
                                  "상호 | {name} | 30 | left\n"
                                  "이월 | {carried} | 14 | right\n"
                                  "{traded} | {traded} | 14 | right\n"
                                  "{paid} | {paid} | 14 | right\n"
                                  "잔액 | {balance} | 14 | right\n"),
                   QStringLiteral("[합 계]")),
        {QStringLiteral("code"), QStringLiteral("name"), QStringLiteral("carried"), QStringLiteral("traded"),
         QStringLiteral("paid"), QStringLiteral("balance")},
        kWords};
    return form;
}

QString periodText(const QString &from, const QString &to)
{
    if (from.isEmpty() && to.isEmpty())
        return QStringLiteral("기간: 전체");
    return QStringLiteral("기간: %1 ~ %2")
        .arg(from.isEmpty() ? QStringLiteral("처음") : from, to.isEmpty() ? QStringLiteral("끝") : to);
}

QString clientHeading(BusiMode mode, qint64 code, const QString &name, const QString &from, const QString &to)
{
    return QStringLiteral("%1처 %2 %3 · %4").arg(busiWord(mode)).arg(code).arg(name, periodText(from, to));
}

LedgerExport::Table clientLedgerExport(const ClientLedgerModel &model)
{
    // Shares the printed table's rows and totals, so the file and the paper agree.
    auto printed = std::make_shared<ClientLedgerTable>(model, QString(), QDate());
    LedgerExport::Table t;
    t.sheet = ClientLedgerModel::title();
    const QStringList headers = ClientLedgerModel::headers(model.mode());
    for (int c = 0; c < headers.size(); ++c)
        t.columns.push_back({headers[c], c >= ClientLedgerTable::Traded, c == ClientLedgerTable::Date});
    t.rows = static_cast<int>(printed->rows().size());
    t.value = [&model, printed](int row, int column) -> QVariant {
        const ClientLedger::Row &r = model.lines()[printed->rows()[size_t(row)]];
        const bool carried = r.kind == ClientLedger::Row::Kind::CarriedForward;
        switch (column) {
        case ClientLedgerTable::Date:
            return r.date;
        case ClientLedgerTable::Text:
            return r.text;
        case ClientLedgerTable::Traded:
            return carried ? QVariant() : QVariant(r.traded);
        case ClientLedgerTable::Paid:
            return carried ? QVariant() : QVariant(r.paid);
        default:
            return r.balance;
        }
    };
    t.totals = {QVariant(QStringLiteral("[기간 합계 · 기말 잔액]")), QVariant(), QVariant(printed->tradedTotal()),
                QVariant(printed->paidTotal()), QVariant(printed->closing())};
    return t;
}

} // namespace AccountReports

ClientLedgerTable::ClientLedgerTable(const ClientLedgerModel &model, QString heading, const QDate &printDate)
    : m_model(model), m_heading(std::move(heading)), m_printDate(printDate)
{
    using Kind = ClientLedger::Row::Kind;
    const std::vector<ClientLedger::Row> &lines = model.lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        switch (lines[i].kind) {
        case Kind::Totals:
            m_traded = lines[i].traded;
            m_paid = lines[i].paid;
            break;
        case Kind::Closing:
            m_closing = lines[i].balance;
            break;
        default:
            m_rows.push_back(i);
        }
    }
}

QString ClientLedgerTable::title() const
{
    return ClientLedgerModel::title();
}

QString ClientLedgerTable::cellText(size_t row, int field) const
{
    const ClientLedger::Row &line = m_model.lines()[m_rows[row]];
    const bool carried = line.kind == ClientLedger::Row::Kind::CarriedForward;
    switch (field) {
    case Date:
        return line.date;
    case Text:
        return line.text;
    case Traded:
        return carried ? QString() : formatMoney(line.traded);
    case Paid:
        return carried ? QString() : formatMoney(line.paid);
    case Balance:
        return formatMoney(line.balance);
    default:
        return {};
    }
}

QString ClientLedgerTable::totalText(int field) const
{
    switch (field) {
    case Traded:
        return formatMoney(m_traded);
    case Paid:
        return formatMoney(m_paid);
    case Balance:
        return formatMoney(m_closing);
    default:
        return {};
    }
}

QMap<QString, QString> ClientLedgerTable::words() const
{
    return sideWords(m_model.mode());
}

BalancesTable::BalancesTable(const BalancesModel &model, QString heading, const QDate &printDate, std::vector<int> order)
    : m_model(model), m_heading(std::move(heading)), m_printDate(printDate), m_order(std::move(order))
{
}

QString BalancesTable::title() const
{
    return BalancesModel::title(m_model.mode());
}

size_t BalancesTable::rowCount() const
{
    return size_t(m_model.rowCount());
}

namespace {

QString fieldText(const Balances::Row &r, int field)
{
    switch (field) {
    case BalancesTable::Code:
        return QString::number(r.code);
    case BalancesTable::Name:
        return r.name;
    case BalancesTable::Carried:
        return formatMoney(r.carried);
    case BalancesTable::Traded:
        return formatMoney(r.traded);
    case BalancesTable::Paid:
        return formatMoney(r.paid);
    case BalancesTable::Balance:
        return formatMoney(r.balance);
    default:
        return {};
    }
}

} // namespace

QString BalancesTable::cellText(size_t row, int field) const
{
    return fieldText(m_model.balanceRow(m_order.empty() ? int(row) : m_order[row]), field);
}

QString BalancesTable::totalText(int field) const
{
    return field == Code || field == Name ? QString() : fieldText(m_model.totals(), field);
}

QMap<QString, QString> BalancesTable::words() const
{
    return sideWords(m_model.mode());
}
