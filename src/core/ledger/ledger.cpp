// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger.h"

#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "ledgermodel.h"

Ledger::Ledger(Database &db, UserPrompt &prompt, LedgerModel &model)
    : m_db(db), m_prompt(prompt), m_model(model), m_defaultDate(today())
{
    m_model.setDefaultDate(m_defaultDate);
}

void Ledger::setDefaultDate(const QString &date)
{
    m_defaultDate = date;
    m_model.setDefaultDate(date);
}

QString Ledger::today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

QString Ledger::firstOfMonth(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy-MM-01"));
}

bool Ledger::DispList(const VoucherFilter &filter)
{
    m_shownFilter = filter;
    auto rows = loadVouchers(m_db, voucherQuery(m_db.dialect(), filter), m_prompt);
    m_listed = rows.has_value();
    if (!rows) {
        m_model.clear();
        return false;
    }
    m_model.setRows(std::move(*rows));
    AddNewRow();
    return true;
}

void Ledger::AddNewRow()
{
    m_model.AddNewRow(m_defaultDate);
}

QStringList Ledger::FillGroupCombo()
{
    QStringList items{QString()};
    if (auto groups = usedGroups(m_db, m_prompt))
        items << *groups;
    return items;
}

QString shiftDate(const QString &date, int days)
{
    const QDate d = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return date;
    return d.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
}

void ChainDate(int index, bool chained, QString dates[2], UserPrompt &prompt)
{
    if (!chained)
        return;
    if (index == 0)
        dates[1] = dates[0];
    else if (index == 1)
        dates[0] = dates[1];
    else
        prompt.MsgPlain(QStringLiteral("코딩누락"));
}
