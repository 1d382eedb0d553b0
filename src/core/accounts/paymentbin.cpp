// SPDX-License-Identifier: GPL-3.0-or-later
#include "paymentbin.h"

#include <map>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"

SqlError PaymentBin::load(std::vector<Entry> &entries)
{
    entries.clear();
    std::vector<PaymentStore::DeletedPayment> deleted;
    if (const SqlError e = m_store.loadDeleted(deleted); e.isError())
        return e;
    // Each client's name once: the bin holds few clients, the registers many.
    std::map<std::pair<BusiMode, qint64>, QString> names;
    for (PaymentStore::DeletedPayment &d : deleted) {
        const std::pair key{d.payment.mode, d.payment.clientCode};
        auto found = names.find(key);
        if (found == names.end()) {
            const QString table = key.first == BusiMode::Customer ? QStringLiteral("maechul") : QStringLiteral("maeip");
            SqlStatement st(QStringLiteral("SELECT name FROM %1 WHERE id = :id").arg(table));
            st.bind(QStringLiteral("id"), key.second).into(table);
            auto r = m_db.exec(st);
            if (!r.ok())
                return r.error;
            found = names.emplace(key, r.query.next() ? r.query.value(0).toString() : PaymentRules::deletedClientName()).first;
        }
        entries.push_back({std::move(d), found->second});
    }
    return {};
}

bool PaymentBin::restoreSelected(const QList<qint64> &ids, UserPrompt &prompt)
{
    if (ids.isEmpty()) {
        prompt.MsgInfo(QStringLiteral("복원할 입금·지급을 선택하세요."), title());
        return false;
    }
    if (const SqlError e = m_store.restore(ids); e.isError()) {
        prompt.ShowErrBox(QStringLiteral("삭제된 입금·지급을 복원하지 못했습니다."), e.code, e.text);
        return false;
    }
    return true;
}

bool PaymentBin::askAndEmpty(int count, UserPrompt &prompt)
{
    if (count == 0)
        return false;
    if (!prompt.MsgYesNo(QStringLiteral("삭제된 입금·지급 %1건을 모두 지우시겠습니까?\r\n지운 입금·지급은 되살릴 수 없습니다.")
                             .arg(count),
                         title(), false))
        return false;
    if (const SqlError e = m_store.emptyDeleted(); e.isError()) {
        prompt.ShowErrBox(QStringLiteral("삭제된 입금·지급을 지우지 못했습니다."), e.code, e.text);
        return false;
    }
    return true;
}

QStringList PaymentBin::headers()
{
    return {QStringLiteral("삭제일시"), QStringLiteral("구분"), QStringLiteral("거래처"), QStringLiteral("코드"),
            QStringLiteral("일자"),     QStringLiteral("금액"), QStringLiteral("방법"),   QStringLiteral("메모")};
}

QStringList PaymentBin::texts(const Entry &e)
{
    const Payment &p = e.deleted.payment;
    return {e.deleted.deleted, PaymentRules::paymentWord(p.mode), e.clientName, QString::number(p.clientCode),
            p.date,            formatMoney(p.amount),             p.method,     p.memo};
}
