// SPDX-License-Identifier: GPL-3.0-or-later
#include "clientregister.h"

#include <limits>

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/data/database.h"
#include "core/data/recordset.h"

namespace {
const QString kSaveError = QStringLiteral("자료를 저장하는 중 오류가 발생했습니다.");

ClientRecord readClient(const QSqlQuery &q)
{
    ClientRecord c;
    c.id = ClientCode::fromVariant(q.value(QStringLiteral("id")));
    c.name = NullToStr(q.value(QStringLiteral("name")));
    c.tel = NullToStr(q.value(QStringLiteral("tel")));
    c.phone = NullToStr(q.value(QStringLiteral("phone")));
    c.zipcode = NullToStr(q.value(QStringLiteral("zipcode")));
    c.address = NullToStr(q.value(QStringLiteral("address")));
    c.memo = NullToStr(q.value(QStringLiteral("memo")));
    return c;
}
} // namespace

ClientRegister::ClientRegister(Database &db, BusiMode busiMode) : m_db(db), m_mode(busiMode)
{
}

QString ClientRegister::table() const
{
    return clientTable(m_mode);
}

Fallible<std::vector<ClientRecord>> ClientRegister::list(const QString &word) const
{
    SqlStatement st(QStringLiteral("SELECT id, name, tel, phone, zipcode, address, memo FROM ") + table());
    if (!word.isEmpty())
        st.whereContains(m_db.dialect(), QStringLiteral("name"), word);
    st.text += QStringLiteral(" ORDER BY name");
    auto rs = OpenRS(m_db, st);
    if (!rs)
        return rs.failure();
    std::vector<ClientRecord> out;
    while (rs->next())
        out.push_back(readClient(*rs));
    CloseObj(rs);
    return out;
}

Fallible<std::optional<ClientRecord>> ClientRegister::find(ClientCode code) const
{
    SqlStatement st(QStringLiteral("SELECT * FROM ") + table() + QStringLiteral(" WHERE id = :id"));
    st.bind(QStringLiteral("id"), code.toVariant());
    auto rs = OpenRS(m_db, st);
    if (!rs)
        return rs.failure();
    if (!rs->next())
        return std::optional<ClientRecord>();
    std::optional<ClientRecord> c = readClient(*rs);
    CloseObj(rs);
    return c;
}

Fallible<qint64> ClientRegister::sameNameCount(const QString &name, std::optional<ClientCode> except) const
{
    SqlStatement st(QStringLiteral("name = :name"));
    st.bind(QStringLiteral("name"), name);
    if (except) {
        st.text += QStringLiteral(" and id <> :id");
        st.bind(QStringLiteral("id"), except->toVariant());
    }
    return OpenRSCount(m_db, table(), st);
}

Fallible<ClientCode> ClientRegister::nextCode() const
{
    const QString codeField = voucherCodeField(m_mode);
    auto rs = OpenRS(m_db, SqlStatement(QStringLiteral("SELECT MAX(m) FROM (SELECT MAX(id) AS m FROM ") + table()
                                        + QStringLiteral(" UNION ALL SELECT MAX(") + codeField
                                        + QStringLiteral(") FROM total) AS used")));
    if (!rs)
        return rs.failure();
    qint64 next = 1;
    if (rs->next() && !rs->value(0).isNull())
        next = std::max<qint64>(rs->value(0).toLongLong() + 1, 1);
    CloseObj(rs);
    return ClientCode(next > std::numeric_limits<qint32>::max() ? -1 : static_cast<qint32>(next));
}

QString ClientRegister::codeErrorText()
{
    return QStringLiteral("CODE 생성 및 정의 오류입니다.");
}

SqlStatement ClientRegister::recordStatement(const QString &sql, const ClientRecord &c) const
{
    SqlStatement st(sql.arg(table()));
    st.bind(QStringLiteral("id"), c.id.toVariant())
        .bind(QStringLiteral("name"), c.name)
        .bind(QStringLiteral("tel"), c.tel)
        .bind(QStringLiteral("phone"), c.phone)
        .bind(QStringLiteral("zipcode"), c.zipcode)
        .bind(QStringLiteral("address"), c.address)
        .bind(QStringLiteral("memo"), c.memo)
        .into(table());
    return st;
}

Fallible<ClientCode> ClientRegister::insertNew(ClientRecord c) const
{
    // Two PCs may work out the same code at once; the register's unique key lets only one of
    // them have it, and the other takes the next free code. A few rounds are plenty: each one
    // loses only to a client saved in the same moment.
    constexpr int Rounds = 10;
    SqlError error;
    for (int round = 0; round < Rounds; ++round) {
        const SqlStatement st =
            recordStatement(QStringLiteral("INSERT INTO %1 (id, name, tel, phone, zipcode, address, memo) "
                                           "VALUES (:id, :name, :tel, :phone, :zipcode, :address, :memo)"),
                            c);
        {
            // Rolled back, when the code was taken, before the next code is looked for: the
            // server reads nothing more in a failed transaction.
            TransactionGuard guard(m_db, QStringLiteral("client"));
            error = m_db.exec(st).error;
            if (!error.isError())
                error = guard.commit();
        }
        if (!error.isError())
            return c.id;
        if (error.kind != SqlError::Kind::Duplicate)
            break;
        const auto next = nextCode();
        c.id = next.valueOr(ClientCode(-1));
        if (c.id == ClientCode(-1))
            return next.failure() + Notices{Notice::warn(codeErrorText())};
    }
    return Notice::errBox(kSaveError, error.code, error.text);
}

std::optional<Notice> ClientRegister::write(const ClientRecord &c) const
{
    Database::Result r = m_db.exec(recordStatement(
        QStringLiteral("UPDATE %1 SET name = :name, tel = :tel, phone = :phone, zipcode = :zipcode, "
                       "address = :address, memo = :memo WHERE id = :id"),
        c));
    if (r.ok() && r.rowsAffected < 1) {
        r.error.kind = SqlError::Kind::Other;
        r.error.text = QStringLiteral("저장할 거래처가 없습니다. 다른 PC에서 삭제되었을 수 있습니다.");
    }
    if (!r.ok())
        return Notice::errBox(kSaveError, r.error.code, r.error.text);
    return std::nullopt;
}

std::optional<Notice> ClientRegister::Delete(ClientCode code) const
{
    SqlStatement st(QStringLiteral("DELETE FROM ") + table() + QStringLiteral(" WHERE id = :id"));
    st.bind(QStringLiteral("id"), code.toVariant());
    return deleteOne(m_db, st);
}

Fallible<int> ClientRegister::renameInVouchers(ClientCode code, const QString &name) const
{
    const QString nameField = voucherNameField(m_mode);
    SqlStatement st(QStringLiteral("UPDATE total SET ") + nameField + QStringLiteral(" = :") + nameField
                    + QStringLiteral(" WHERE ") + voucherCodeField(m_mode) + QStringLiteral(" = :code"));
    st.bind(nameField, name).bind(QStringLiteral("code"), code.toVariant()).into(QStringLiteral("total"));
    const Database::Result r = m_db.exec(st);
    if (!r.ok())
        return queryError(r.error);
    return r.rowsAffected;
}
