// SPDX-License-Identifier: GPL-3.0-or-later
#include "login.h"

#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/schemamaint.h"
#include "settingkeys.h"
#include "passwordhash.h"

namespace {
const QChar cr(13);
}

Login::Login(Database &db, AppSettings &settings, UserPrompt &prompt)
    : m_db(db), m_user(db, prompt), m_settings(settings), m_prompt(prompt)
{
}

bool Login::load()
{
    m_failures = 0;
    // A file that cannot be read, or holds no ledger at all (an empty file), is reported once,
    // by the group check that follows; only a user table of its own that cannot be read is
    // reported here.
    if (!HoldsLedger(m_db))
        return false;
    return m_user.read();
}

QString Login::userName() const
{
    return m_user.hasRow() ? m_user.userName() : programTitle();
}

Login::Outcome Login::enter(const QString &typed, const std::function<void()> &checked)
{
    const bool matches = m_user.matches(typed);
    if (checked)
        checked();
    if (matches) {
        // An older ledger's plain-text password becomes a hash now that it is known. A failed
        // write changes nothing and is tried again at the next login.
        if (m_user.hasPassword() && !PasswordHash::isHash(m_user.stored()))
            m_user.store(typed);
        return Outcome::Admit;
    }
    if (!m_user.hasPassword()) {
        m_prompt.MsgPlain(QStringLiteral("보안을 위해 암호를 설정해 주시기 바랍니다."));
        return Outcome::Admit;
    }
    ++m_failures;
    if (m_failures < 3) {
        m_prompt.MsgPlain(QStringLiteral("암호가 일치하지 않습니다.  ") + cr + QStringLiteral("다시 입력하여주십시오.  "));
        return Outcome::Stay;
    }
    QString tel = m_settings.get(Settings::sellerTel).trimmed();
    if (tel.isEmpty())
        tel = QStringLiteral("판매처 전화번호는 구입하신 곳에 문의하십시오.");
    m_prompt.MsgPlain(QStringLiteral("암호가 일치하지 않습니다.") + cr
                      + QStringLiteral("다시확인하시고 입력하여 주시기 바랍니다.   ") + cr
                      + QStringLiteral("문제가 발생하면 판매처로 연락바랍니다.   ") + cr + tel);
    return Outcome::End;
}

Login::Outcome Login::escape()
{
    const auto answer = m_prompt.message(UserPrompt::Icon::None,
                                         programTitle() + QStringLiteral(" 프로그램을 종료하시겠습니까?   "),
                                         QStringLiteral("판매 장부"), UserPrompt::Buttons::YesNo,
                                         UserPrompt::Answer::Yes);
    return answer == UserPrompt::Answer::Yes ? Outcome::End : Outcome::Stay;
}
