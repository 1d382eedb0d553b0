// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "businessstore.h"
#include "vat.h"

class Database;

// One voucher on a 거래명세표: 수량 1, 단가 its 공급가액.
struct StatementLine
{
    qint64 voucherId = 0;
    QDate date;
    QString product;
    VatSplit amount;
};

// The data of a 거래명세표 for one customer: the shop and the customer, the lines with their sum,
// and the balance lines. With D the latest sale date of the lines: 현잔액 is the customer's
// balance at D, 입금 the payments dated D, 금일 합계 the lines' sale amounts (what the balance
// counts), and 전잔액 the balance without these vouchers and that day's payments, so that
// 전잔액 + 금일 합계 − 입금 = 현잔액.
struct Statement
{
    ShopDetails shop;
    ClientCode customerCode;
    QString customerName;
    QString address;
    QString tel;
    ClientBusiness business;
    QDate date;
    QList<StatementLine> lines;
    VatSplit sum;
    qint64 previousBalance = 0; // 전잔액
    qint64 todayTotal = 0;      // 금일 합계
    qint64 paidToday = 0;       // 입금
    qint64 currentBalance = 0;  // 현잔액

    // "일금 …원정" of the sum.
    QString sumInWords() const;

    struct Outcome
    {
        QString refused; // why no statement can be made of these vouchers, in Korean
        SqlError error;
        bool ok() const { return refused.isEmpty() && !error.isError(); }
    };
    // The statement of the given saved vouchers, which must be sold to one registered customer.
    static Outcome ofVouchers(Database &db, const QList<qint64> &voucherIds, Statement &out);
    // The statement of everything sold to the customer on day.
    static Outcome ofDay(Database &db, ClientCode customerCode, const QDate &day, Statement &out);
};
