// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

#include "core/ledger/ledgerexport.h"
#include "core/report/reportlayout.h"
#include "core/masterdata/businessmode.h"

class BalancesModel;
class ClientLedgerModel;

// The printed client ledger and balances list: their layout files in the report folder (edited
// by the shop like LedgerList.ini) and their rows as report tables. The trade and payment
// columns are named by the side: {traded} is 매출 or 매입, {paid} 입금 or 지급.
namespace AccountReports {

const ReportForm &clientLedgerForm(); // ClientLedger.ini
const ReportForm &balancesForm();     // Balances.ini

// "매출처 12 가나상회 · 기간: 2026-01-01 ~ 2026-01-31"; an open end of the period is left out.
QString clientHeading(BusiMode mode, qint64 code, const QString &name, const QString &from, const QString &to);
// "기간: 2026-01-01 ~ 2026-01-31", "기간: 처음 ~ 2026-01-31".
QString periodText(const QString &from, const QString &to);
// The client ledger for a workbook or CSV as it prints: 전기이월, the vouchers and payments with
// their running balance, and last the period's trade and payments with the closing balance.
LedgerExport::Table clientLedgerExport(const ClientLedgerModel &model);

} // namespace AccountReports

// The client ledger's lines as printed: 전기이월 and the vouchers and payments, and in the totals
// line the period's trade and payments with the closing balance. model outlives the table.
class ClientLedgerTable final : public ReportTable
{
public:
    enum Field { Date, Text, Traded, Paid, Balance };
    ClientLedgerTable(const ClientLedgerModel &model, QString heading, const QDate &printDate);
    // The printed rows, as lines of the model.
    const std::vector<size_t> &rows() const { return m_rows; }
    qint64 tradedTotal() const { return m_traded; }
    qint64 paidTotal() const { return m_paid; }
    qint64 closing() const { return m_closing; }

    QString title() const override;
    QString heading() const override { return m_heading; }
    QDate printDate() const override { return m_printDate; }
    size_t rowCount() const override { return m_rows.size(); }
    QString cellText(size_t row, int field) const override;
    QString totalText(int field) const override;
    QMap<QString, QString> words() const override;

private:
    const ClientLedgerModel &m_model;
    QString m_heading;
    QDate m_printDate;
    std::vector<size_t> m_rows; // the model's lines printed as rows
    qint64 m_traded = 0, m_paid = 0, m_closing = 0;
};

// The balances list as printed, with its totals. model outlives the table; order gives the
// model's rows in the order shown (empty: the model's own).
class BalancesTable final : public ReportTable
{
public:
    enum Field { Code, Name, Carried, Traded, Paid, Balance };
    BalancesTable(const BalancesModel &model, QString heading, const QDate &printDate, std::vector<int> order = {});

    QString title() const override;
    QString heading() const override { return m_heading; }
    QDate printDate() const override { return m_printDate; }
    size_t rowCount() const override;
    QString cellText(size_t row, int field) const override;
    QString totalText(int field) const override;
    QMap<QString, QString> words() const override;

private:
    const BalancesModel &m_model;
    QString m_heading;
    QDate m_printDate;
    std::vector<int> m_order;
};
