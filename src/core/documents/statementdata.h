// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QString>

#include "businessstore.h"
#include "vat.h"

class Database;

// One line of a 거래명세표: a sold voucher, one piece at its amount.
struct StatementLine
{
    QString date;
    QString product;
    qint64 amount = 0; // the ledger's sale amount, as the balance counts it
    VatSplit split;
};

// What a 거래명세표 prints: the shop as supplier, the customer as receiver, the lines with their
// sum, and the balance lines. The balances follow the balances rule: 현잔액 is the customer's
// balance at the statement's date (the last line's), 입금 the payments of that day, and
// 전잔액 what was owed before these vouchers (현잔액 − 금일 합계 + 입금).
struct StatementData
{
    ShopDetails shop;
    qint64 customerCode = 0;
    QString customerName;
    QString customerAddress;
    QString customerTel;
    ClientBusiness customer;
    QString date;
    std::vector<StatementLine> lines;
    VatSplit sum;
    qint64 previousBalance = 0; // 전잔액
    qint64 todayTotal = 0;      // 금일 합계
    qint64 paidToday = 0;       // 입금
    qint64 currentBalance = 0;  // 현잔액

    // The saved vouchers with these keys, which must all be sold to one customer; refused gets
    // the Korean reason when they are not (several customers, no customer, none found).
    static SqlError ofVouchers(Database &db, const std::vector<qint64> &totalIds, StatementData &out, QString *refused);
    // Every voucher sold to customer code on date ("YYYY-MM-DD").
    static SqlError ofDay(Database &db, qint64 code, const QString &date, StatementData &out, QString *refused);

    static QString mixedCustomersMessage();
};
