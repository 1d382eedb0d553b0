// SPDX-License-Identifier: GPL-3.0-or-later
#include "namelist.h"

#include "core/base/userprompt.h"
#include "askanddelete.h"

namespace {
const QString kDuplicate = QStringLiteral("이미 같은 이름이 등록 되어 있습니다.");
} // namespace

NameList::NameList(Database &db, UserPrompt &prompt, Kind kind) : m_names(db, kind), m_prompt(prompt) {}

QString NameList::addPrompt() const
{
    return kind() == Kind::Group ? QStringLiteral("신규등록 할 그룹명을 입력하세요.")
                                 : QStringLiteral("신규등록 할 상품명을 입력하세요.");
}

std::optional<qint64> NameList::count(const QString &name) const
{
    return shownOnFailure(m_names.count(name), m_prompt);
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
    if (const auto failure = m_names.insert(name)) {
        m_prompt.show(*failure);
        return false;
    }
    return true;
}

std::optional<QStringList> NameList::list(const QString &word, const QString &group) const
{
    return shownOnFailure(m_names.list(word, group), m_prompt);
}

std::optional<QStringList> NameList::groups() const
{
    return shownOnFailure(m_names.groups(), m_prompt);
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
    if (const auto failure = m_names.rename(oldName, newName)) {
        m_prompt.show(*failure);
        return std::nullopt;
    }
    if (m_prompt.MsgYesNo(QStringLiteral("전표에 이미 등록된 동일한 이름도 변경 하시겠습니까?"), {}, false)) {
        if (const auto changed = shownOnFailure(m_names.renameInVouchers(oldName, newName), m_prompt))
            m_prompt.MsgInfo(QStringLiteral("전표에서 ") + QString::number(*changed)
                             + QStringLiteral("건의 자료가 변경되었습니다."));
    }
    return newName;
}

bool NameList::Delete(const QString &name) const
{
    return askAndDelete(m_prompt, name, [&] { return m_names.Delete(name); });
}

bool AddGroup(Database &db, UserPrompt &prompt, QString &name)
{
    return NameList(db, prompt, NameList::Kind::Group).Add(name);
}

bool AddProduct(Database &db, UserPrompt &prompt, QString &name)
{
    return NameList(db, prompt, NameList::Kind::Product).Add(name);
}
