// SPDX-License-Identifier: GPL-3.0-or-later
#include "recyclebin.h"

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/schema.h"
#include "voucherquery.h"

namespace {

// Every field of a voucher, so that a round trip through the bin keeps the row exactly.
QString voucherFields()
{
    QStringList names;
    for (const Schema::Field &f : Schema::ledgerTable(QStringLiteral("total"))->fields)
        names << QLatin1Char('"') + f.name + QLatin1Char('"');
    return names.join(QStringLiteral(", "));
}

const QString kOrder = QStringLiteral(" ORDER BY deleted_date DESC, total_id DESC");

} // namespace

SqlError RecycleBin::keep(qint64 id, const QDateTime &when)
{
    const QString fields = voucherFields();
    SqlStatement st(QStringLiteral("INSERT INTO \"%1\" (%2, deleted_date) SELECT %2, :deleted FROM total WHERE total_id = :id")
                        .arg(Schema::recycleBinTable(), fields));
    st.bind(QStringLiteral("deleted"), when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))).bind(QStringLiteral("id"), id);
    return m_db.exec(st).error;
}

SqlError RecycleBin::load(std::vector<Entry> &entries)
{
    entries.clear();
    std::vector<LedgerRow> rows;
    SqlStatement select = voucherSelect(Schema::recycleBinTable());
    select.text += kOrder;
    if (const SqlError e = readVouchers(m_db, select, rows); e.isError())
        return e;
    Database::Result dates =
        m_db.exec(SqlStatement(QStringLiteral("SELECT deleted_date FROM \"") + Schema::recycleBinTable() + QLatin1Char('"') + kOrder));
    if (!dates.ok())
        return dates.error;
    for (LedgerRow &row : rows) {
        dates.query.next();
        entries.push_back({dates.query.value(0).toString(), std::move(row)});
    }
    return {};
}

SqlError RecycleBin::restore(const QList<qint64> &ids)
{
    const QString fields = voucherFields();
    TransactionGuard guard(m_db, QStringLiteral("recyclebin"));
    for (qint64 id : ids) {
        SqlStatement back(QStringLiteral("INSERT INTO total (%2) SELECT %2 FROM \"%1\" WHERE total_id = :id")
                              .arg(Schema::recycleBinTable(), fields));
        if (const SqlError e = m_db.exec(back.bind(QStringLiteral("id"), id)).error; e.isError())
            return e;
        SqlStatement out(QStringLiteral("DELETE FROM \"%1\" WHERE total_id = :id").arg(Schema::recycleBinTable()));
        if (const SqlError e = m_db.exec(out.bind(QStringLiteral("id"), id)).error; e.isError())
            return e;
    }
    return guard.commit();
}

SqlError RecycleBin::empty()
{
    return m_db.exec(SqlStatement(QStringLiteral("DELETE FROM \"") + Schema::recycleBinTable() + QLatin1Char('"'))).error;
}

bool RecycleBin::restoreSelected(const QList<qint64> &ids, UserPrompt &prompt)
{
    if (ids.isEmpty()) {
        prompt.MsgInfo(QStringLiteral("복원할 전표를 선택하세요."), title());
        return false;
    }
    if (const SqlError e = restore(ids); e.isError()) {
        prompt.ShowErrBox(QStringLiteral("삭제된 전표를 복원하지 못했습니다."), e.code, e.text);
        return false;
    }
    return true;
}

bool RecycleBin::askAndEmpty(int count, UserPrompt &prompt)
{
    if (count == 0)
        return false;
    if (!prompt.MsgYesNo(QStringLiteral("삭제된 전표 %1건을 모두 지우시겠습니까?\r\n지운 전표는 되살릴 수 없습니다.").arg(count),
                         title(), false))
        return false;
    if (const SqlError e = empty(); e.isError()) {
        prompt.ShowErrBox(QStringLiteral("삭제된 전표를 지우지 못했습니다."), e.code, e.text);
        return false;
    }
    return true;
}

QStringList RecycleBin::headers()
{
    return {QStringLiteral("삭제일시"), QStringLiteral("매입일자"), QStringLiteral("그룹"),   QStringLiteral("품명"),
            QStringLiteral("매입처"),   QStringLiteral("매입금액"), QStringLiteral("판매일자"), QStringLiteral("판매처"),
            QStringLiteral("판매금액"), QStringLiteral("판매경비")};
}

QStringList RecycleBin::texts(const Entry &e)
{
    const LedgerRow &r = e.row;
    return {e.deleted,     r.maeipDate,   r.groupName,          r.proName,
            r.maeipName,   formatMoney(r.maeipCost), r.maechulDate, r.maechulName,
            formatMoney(r.maechulCost), formatMoney(r.maechulUsecost)};
}
