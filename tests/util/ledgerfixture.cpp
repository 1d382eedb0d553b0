// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerfixture.h"

#include <QSqlQuery>

#include "core/ledger/voucherquery.h"

QString cellText(const LedgerModel &model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

void LedgerFixture::openLedger()
{
    // The previous test's pieces go in the reverse order of their making: each refers to the
    // ones made before it.
    m_ed.reset();
    m_ledger.reset();
    m_model.reset();
    m_lookups.reset();
    m_prompt.reset();
    m_l = std::make_unique<TempLedger>();
    m_prompt = std::make_unique<ScriptedPrompt>();
    m_lookups = std::make_unique<ScriptedLookups>();
    m_model = std::make_unique<LedgerModel>();
    m_ledger = std::make_unique<Ledger>(m_l->db(), *m_prompt, *m_model);
    m_ledger->setDefaultDate(today().toString(Qt::ISODate));
}

void LedgerFixture::startEditor(VoucherEditor::View &view)
{
    m_ed = std::make_unique<VoucherEditor>(m_l->db(), *m_prompt, *m_lookups, *m_model, *m_ledger, view);
    m_ed->setToday(today());
}

bool LedgerFixture::showPeriod(const QString &from, const QString &to)
{
    VoucherFilter f;
    f.fromDate = QDate::fromString(from, Qt::ISODate);
    f.toDate = QDate::fromString(to, Qt::ISODate);
    return m_ledger->DispList(f);
}

QVariant LedgerFixture::stored(qint64 id, const QString &field)
{
    auto r = m_l->db().exec(SqlStatement(QStringLiteral("SELECT %1 FROM total WHERE total_id = :id").arg(field))
                                .bind(QStringLiteral("id"), id));
    return r.ok() && r.query.next() ? r.query.value(0) : QVariant();
}
