// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QDate>
#include <QString>

#include "core/data/sqldialect.h"
#include "core/data/sqlstatement.h"
#include "core/masterdata/businessmode.h"
#include "ledgerrow.h"

class Database;
class UserPrompt;

// What the filter strip of the main window asks for.
struct VoucherFilter
{
    // The longest text the search boxes take: no name on a voucher is longer (an older file's
    // text fields held at most 255 characters), so a pasted page never reaches the query.
    static constexpr int MaxSearchLength = 255;
    QString clientName;
    BusiMode clientSide = BusiMode::Customer;
    // The side of cmbGu's item: 0 "판매처" (customers), 1 "매입처" (suppliers).
    static BusiMode sideOfCmbGu(int index) { return index == 1 ? BusiMode::Supplier : BusiMode::Customer; }
    QString productName;
    QDate fromDate;
    QDate toDate;
    QString group;
    bool noSale = false;
};

// Exactly one filter applies: the client name, else the product name, else the period with
// the optional group and unsold filters.
// With keys, only those of the vouchers the filter finds (a few hundred at most).
SqlStatement voucherQuery(const SqlDialect &dialect, const VoucherFilter &filter, const QList<qint64> &keys = {});
// Every row of table (total or a table of its fields), in the columns of voucherQuery.
SqlStatement voucherSelect(const QString &table);
// The voucher with key total_id, in the columns of voucherQuery.
SqlStatement voucherByKey(qint64 totalId);
// The vouchers of the keys (a few hundred at most), in the columns of voucherQuery.
SqlStatement vouchersByKeys(const QList<qint64> &keys);
// Runs a voucher query into rows; the engine's error, shown to nobody.
SqlError readVouchers(Database &db, const SqlStatement &sql, std::vector<LedgerRow> &rows);
// Runs a voucher query; nullopt after the failure box.
std::optional<std::vector<LedgerRow>> loadVouchers(Database &db, const SqlStatement &sql,
                                                   UserPrompt &prompt);
// The distinct group names used on vouchers, in order.
std::optional<QStringList> usedGroups(Database &db, UserPrompt &prompt);
