// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "businessstore.h"
#include "vat.h"

class Database;

// One sold voucher on a tax invoice.
struct TaxInvoiceItem
{
    QDate date;
    QString product;
    VatSplit amount;
};

// One tax invoice: a customer's sales of the month, or one voucher.
struct TaxInvoice
{
    ClientCode customerCode;
    QString customerName; // the register's name, else the name the vouchers carry
    QString address;
    ClientBusiness business;
    QList<TaxInvoiceItem> items; // by sale date and key
    VatSplit total;
};

// Sales that cannot be issued, one line per customer (or per voucher), with the reason.
struct UnissuableSales
{
    ClientCode customerCode; // 0: vouchers sold to no registered customer
    QString customerName;
    int vouchers = 0;
    VatSplit total;
    QString reason;
};

// The month's tax-invoice data: what can be issued and what cannot, with the shop as supplier.
struct TaxInvoiceData
{
    enum class Grouping { PerCustomer, PerVoucher };

    ShopDetails shop;
    QDate issueDate; // 작성일자
    QList<TaxInvoice> invoices;
    QList<UnissuableSales> unissuable;

    // The customers with a valid number and sales in month (its first day), one invoice each or
    // one per voucher, dated issueDate or else the month's last day. Amounts are split by the
    // shop's VAT switch voucher by voucher, so that the items add up to the invoice. Every line
    // lands among the unissuable when the shop has no valid number of its own.
    static SqlError build(Database &db, const QDate &month, Grouping grouping, TaxInvoiceData &out,
                          const QDate &issueDate = {});
};
