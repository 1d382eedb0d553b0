// SPDX-License-Identifier: GPL-3.0-or-later
#include "nameregister.h"

#include "core/data/database.h"
#include "core/data/recordset.h"

QString NameRegister::table() const
{
    return m_kind == Kind::Group ? QStringLiteral("group_name") : QStringLiteral("product");
}

QString NameRegister::voucherField() const
{
    return m_kind == Kind::Group ? QStringLiteral("group_name") : QStringLiteral("pro_name");
}

Fallible<qint64> NameRegister::count(const QString &name) const
{
    return OpenRSCount(m_db, table(), SqlStatement(QStringLiteral("name = :name")).bind(QStringLiteral("name"), name));
}

std::optional<Notice> NameRegister::insert(const QString &name) const
{
    SqlStatement st(QStringLiteral("INSERT INTO ") + table() + QStringLiteral(" (name) values (:name)"));
    st.bind(QStringLiteral("name"), name).into(table());
    const Database::Result r = m_db.exec(st);
    if (!r.ok())
        return Notice::runError(r.error.code, r.error.text,
                                m_kind == Kind::Group ? QStringLiteral("AddGroup") : QStringLiteral("AddProduct"),
                                QStringLiteral("modMain_SQL"), false);
    if (r.rowsAffected < 1)
        return Notice::info(QStringLiteral("저장중 오류가 발생하였습니다."));
    return std::nullopt;
}

Fallible<QStringList> NameRegister::list(const QString &word, const QString &group) const
{
    SqlStatement st;
    if (m_kind == Kind::Product && word.isEmpty() && !group.isEmpty()) {
        st.text = QStringLiteral("SELECT name FROM product INNER JOIN total on product.name = total.pro_name"
                                 " WHERE group_name = :group GROUP BY name ORDER BY name");
        st.bind(QStringLiteral("group"), group);
    } else {
        st.text = QStringLiteral("SELECT name FROM ") + table();
        if (!word.isEmpty())
            st.whereContains(m_db.dialect(), QStringLiteral("name"), word);
        st.text += QStringLiteral(" ORDER BY name");
    }
    return OpenRSTexts(m_db, st);
}

Fallible<QStringList> NameRegister::groups() const
{
    return OpenRSTexts(m_db, SqlStatement(QStringLiteral("SELECT name FROM group_name ORDER BY name")));
}

std::optional<Notice> NameRegister::rename(const QString &oldName, const QString &newName) const
{
    // Exactly this entry: an older file may hold another spelling differing in letter case.
    SqlStatement st(QStringLiteral("UPDATE ") + table() + QStringLiteral(" SET name = :name WHERE ")
                    + m_db.dialect().equalsExactly(QStringLiteral("name"), QStringLiteral("old")));
    st.bind(QStringLiteral("name"), newName).bind(QStringLiteral("old"), oldName).into(table());
    return changeOne(m_db, st, QStringLiteral("수정중 오류가 발생하였습니다."));
}

Fallible<int> NameRegister::renameInVouchers(const QString &oldName, const QString &newName) const
{
    SqlStatement v(QStringLiteral("UPDATE total SET ") + voucherField() + QStringLiteral(" = :name WHERE ")
                   + voucherField() + QStringLiteral(" = :old"));
    v.bind(QStringLiteral("name"), newName).bind(QStringLiteral("old"), oldName).into(QStringLiteral("total"));
    const Database::Result r = m_db.exec(v);
    if (!r.ok())
        return queryError(r.error);
    return r.rowsAffected;
}

std::optional<Notice> NameRegister::Delete(const QString &name) const
{
    // Exactly this name: an older file may hold another spelling differing in letter case.
    SqlStatement st(QStringLiteral("DELETE FROM ") + table() + QStringLiteral(" WHERE ")
                    + m_db.dialect().equalsExactly(QStringLiteral("name"), QStringLiteral("name")));
    st.bind(QStringLiteral("name"), name);
    return deleteOne(m_db, st);
}
