// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerfilter.h"

#include "core/base/userprompt.h"
#include "checkdate.h"
#include "ledger.h"

LedgerFilter::LedgerFilter(UserPrompt &prompt, QObject *parent) : QObject(parent), m_prompt(prompt) {}

void LedgerFilter::resetPeriod()
{
    const QDate day = today();
    setPeriod(QDate(day.year(), day.month(), 1), day);
}

void LedgerFilter::setPeriod(const QDate &from, const QDate &to)
{
    m_date[0] = from.toString(QStringLiteral("yyyy-MM-dd"));
    m_date[1] = to.toString(QStringLiteral("yyyy-MM-dd"));
    m_goodDate[0] = m_date[0];
    m_goodDate[1] = m_date[1];
    emit changed();
}

void LedgerFilter::setDate(int index, const QString &text)
{
    if (m_date[index] == text)
        return;
    m_date[index] = text;
    chain(index);
    emit changed();
}

template<typename T>
void LedgerFilter::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit changed();
}

void LedgerFilter::chain(int index)
{
    ChainDate(index, m_chained, m_date, m_prompt);
}

void LedgerFilter::shiftDay(int index, int days)
{
    setDate(index, shiftDate(m_date[index], days));
}

void LedgerFilter::pickDate(int index, const QObject *anchor)
{
    if (auto picked = m_prompt.pickDate(m_date[index], anchor))
        setDate(index, *picked);
}

void LedgerFilter::commitDate(int index)
{
    if (m_checking)
        return;
    m_checking = true;
    QString text = m_date[index];
    if (text != m_goodDate[index]) {
        if (CheckDate(text, m_prompt, today())) {
            m_date[index] = text;
            chain(index);
        } else {
            m_date[index] = m_goodDate[index];
        }
        emit changed();
    }
    m_goodDate[0] = m_date[0];
    m_goodDate[1] = m_date[1];
    m_checking = false;
}

void LedgerFilter::setGroup(const QString &group)
{
    assign(m_group, group);
}

void LedgerFilter::setProductName(const QString &text)
{
    assign(m_productName, text);
}

void LedgerFilter::setClientSide(BusiMode side)
{
    assign(m_clientSide, side);
}

void LedgerFilter::setClientName(const QString &text)
{
    assign(m_clientName, text);
}

void LedgerFilter::setNoSale(bool on)
{
    assign(m_noSale, on);
}

void LedgerFilter::beginClientSearch()
{
    setProductName(QString());
}

void LedgerFilter::clearSearches()
{
    m_clientName.clear();
    m_productName.clear();
    emit changed();
}

LedgerFilter::Mode LedgerFilter::mode() const
{
    if (!m_clientName.isEmpty())
        return Mode::ClientName;
    if (!m_productName.isEmpty())
        return Mode::ProductName;
    return Mode::Period;
}

VoucherFilter LedgerFilter::voucherFilter() const
{
    VoucherFilter f;
    f.clientName = m_clientName;
    f.clientSide = m_clientSide;
    f.productName = m_productName;
    f.fromDate = QDate::fromString(m_date[0], Qt::ISODate);
    f.toDate = QDate::fromString(m_date[1], Qt::ISODate);
    f.group = m_group;
    f.noSale = m_noSale;
    return f;
}
