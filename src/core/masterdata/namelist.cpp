// SPDX-License-Identifier: GPL-3.0-or-later
#include "namelist.h"

#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"
#include "askanddelete.h"

namespace {
const QString kDuplicate = QStringLiteral("이미 같은 이름이 등록 되어 있습니다.");
} // namespace

NameList::NameList(Database &db, UserPrompt &prompt, Kind kind) : m_db(db), m_prompt(prompt), m_kind(kind) {}

QString NameList::table() const
{
    return m_kind == Kind::Group ? QStringLiteral("group_name") : QStringLiteral("product");
}

QString NameList::voucherField() const
{
    return m_kind == Kind::Group ? QStringLiteral("group_name") : QStringLiteral("pro_name");
}

QString NameList::addPrompt() const
{
    return m_kind == Kind::Group ? QStringLiteral("신규등록 할 그룹명을 입력하세요.")
                                 : QStringLiteral("신규등록 할 상품명을 입력하세요.");
}

QString NameList::procedure() const
{
    return m_kind == Kind::Group ? QStringLiteral("AddGroup") : QStringLiteral("AddProduct");
}

std::optional<qint64> NameList::count(const QString &name) const
{
    return shownOnFailure(
        OpenRSCount(m_db, table(), SqlStatement(QStringLiteral("name = :name")).bind(QStringLiteral("name"), name)),
        m_prompt);
}

bool NameList::Add(QString &name) const
{
    if (name.trimmed().isEmpty()) {
        name = m_prompt.inputText(addPrompt(), {}, {}).value_or(QString());
        if (name.trimmed().isEmpty())
            return false;
    }
    name = name.trimmed();
    const auto n = count(name);
    if (!n)
        return false;
    if (*n > 0) {
        m_prompt.MsgInfo(kDuplicate);
        return false;
    }
    SqlStatement st(QStringLiteral("INSERT INTO ") + table() + QStringLiteral(" (name) values (:name)"));
    st.bind(QStringLiteral("name"), name).into(table());
    const Database::Result r = m_db.exec(st);
    if (!r.ok()) {
        m_prompt.ShowRunError(r.error.code, r.error.text, procedure(), QStringLiteral("modMain_SQL"), false);
        return false;
    }
    if (r.rowsAffected < 1) {
        m_prompt.MsgInfo(QStringLiteral("저장중 오류가 발생하였습니다."));
        return false;
    }
    return true;
}

std::optional<QStringList> NameList::list(const QString &word, const QString &group) const
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
    return shownOnFailure(OpenRSTexts(m_db, st), m_prompt);
}

std::optional<QStringList> NameList::groups() const
{
    return shownOnFailure(OpenRSTexts(m_db, SqlStatement(QStringLiteral("SELECT name FROM group_name ORDER BY name"))),
                          m_prompt);
}

std::optional<QString> NameList::rename(const QString &oldName) const
{
    const auto answer = m_prompt.inputText(QStringLiteral("수정할 이름을 입력하세요."), {}, oldName);
    const QString newName = answer.value_or(QString()).trimmed();
    if (newName.isEmpty() || newName == oldName)
        return std::nullopt;
    // The database compares without letter case, so ABC -> abc counts as a duplicate too.
    const auto n = count(newName);
    if (!n)
        return std::nullopt;
    if (*n > 0) {
        m_prompt.MsgInfo(kDuplicate);
        return std::nullopt;
    }
    // Exactly this entry: an older file may hold another spelling differing in letter case.
    SqlStatement st(QStringLiteral("UPDATE ") + table() + QStringLiteral(" SET name = :name WHERE ")
                    + m_db.dialect().equalsExactly(QStringLiteral("name"), QStringLiteral("old")));
    st.bind(QStringLiteral("name"), newName).bind(QStringLiteral("old"), oldName).into(table());
    const Database::Result r = m_db.exec(st);
    if (!r.ok()) {
        m_prompt.show(queryError(r.error));
        return std::nullopt;
    }
    if (r.rowsAffected < 1) {
        m_prompt.MsgInfo(QStringLiteral("수정중 오류가 발생하였습니다."));
        return std::nullopt;
    }
    if (m_prompt.MsgYesNo(QStringLiteral("전표에 이미 등록된 동일한 이름도 변경 하시겠습니까?"), {}, false)) {
        SqlStatement v(QStringLiteral("UPDATE total SET ") + voucherField() + QStringLiteral(" = :name WHERE ")
                       + voucherField() + QStringLiteral(" = :old"));
        v.bind(QStringLiteral("name"), newName).bind(QStringLiteral("old"), oldName).into(QStringLiteral("total"));
        const Database::Result vr = m_db.exec(v);
        if (!vr.ok())
            m_prompt.show(queryError(vr.error));
        else
            m_prompt.MsgInfo(QStringLiteral("전표에서 ") + QString::number(vr.rowsAffected)
                             + QStringLiteral("건의 자료가 변경되었습니다."));
    }
    return newName;
}

bool NameList::Delete(const QString &name) const
{
    // Exactly this name: an older file may hold another spelling differing in letter case.
    SqlStatement st(QStringLiteral("DELETE FROM ") + table() + QStringLiteral(" WHERE ")
                    + m_db.dialect().equalsExactly(QStringLiteral("name"), QStringLiteral("name")));
    st.bind(QStringLiteral("name"), name);
    return askAndDelete(m_prompt, name, [&] { return deleteOne(m_db, st); });
}

bool AddGroup(Database &db, UserPrompt &prompt, QString &name)
{
    return NameList(db, prompt, NameList::Kind::Group).Add(name);
}

bool AddProduct(Database &db, UserPrompt &prompt, QString &name)
{
    return NameList(db, prompt, NameList::Kind::Product).Add(name);
}
