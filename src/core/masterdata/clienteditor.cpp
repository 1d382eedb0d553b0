// SPDX-License-Identifier: GPL-3.0-or-later
#include "clienteditor.h"

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/schema.h"
#include "core/layout/formrules.h"
#include "businessmode.h"
#include "clientregister.h"

QString ClientEditor::codeTakenText(ClientCode meant, ClientCode given)
{
    return QStringLiteral("다른 PC에서 거래처코드 %1번을 먼저 등록하여, 이 거래처는 %2번으로 저장했습니다.").arg(meant.value()).arg(given.value());
}

ClientEditor::ClientEditor(Database &db, UserPrompt &prompt) : m_db(db), m_prompt(prompt) {}

QString ClientEditor::fieldCaption(int field)
{
    static const QString captions[FieldCount] = {
        QStringLiteral("상 호 명"), QStringLiteral("전화번호"), QStringLiteral("핸 드 폰"),
        QStringLiteral("우편번호"), QStringLiteral("주    소"), QStringLiteral("메    모")};
    return field >= 0 && field < FieldCount ? captions[field] : QString();
}

void ClientEditor::setAddEditMode(EditMode mode)
{
    m_addEditMode = mode;
    m_caption = mode == EditMode::Add ? QStringLiteral("신규 거래처 등록") : QStringLiteral("기존 거래처 수정");
}

void ClientEditor::setBusiMode(BusiMode mode)
{
    m_busiMode = mode;
    m_caption += mode == BusiMode::Supplier ? QStringLiteral("(매입처)") : QStringLiteral("(매출처)");
}

void ClientEditor::clear()
{
    m_loadedName.clear();
    m_currentCode = ClientCode(-1);
}

std::optional<ClientRecord> ClientEditor::LoadClient(ClientCode code)
{
    const auto found = shownOnFailure(ClientRegister(m_db, m_busiMode).find(code), m_prompt);
    if (!found || !*found)
        return std::nullopt;
    m_currentCode = code;
    m_loadedName = (*found)->name;
    return *found;
}

ClientEditor::SaveResult ClientEditor::Save(const ClientRecord &input, const Hooks &hooks)
{
    const ClientRegister reg(m_db, m_busiMode);
    // A name of blanks is no name, and blanks around a name would make a second, invisible
    // spelling of the same client.
    ClientRecord rec = input;
    rec.name = input.name.trimmed();
    if (rec.name.isEmpty()) {
        m_prompt.MsgInfo(FormRules::requiredMessage(QStringLiteral("상호명")), FormRules::requiredTitle());
        return SaveResult::Refused;
    }
    if (LenAnsi(rec.name) > Schema::ClientNameSize) {
        m_prompt.MsgInfo(QStringLiteral("상호명이 너무깁니다. 최대길이는 16(한글8자)입니다."));
        return SaveResult::Refused;
    }
    const bool add = m_addEditMode == EditMode::Add;
    // A new client's code is worked out before the questions; another PC may register a client
    // while one is up, and the insert then gives the next free code instead.
    if (add) {
        const auto next = reg.nextCode();
        m_prompt.show(next.failure());
        m_currentCode = next.valueOr(ClientCode(-1));
    }
    if (m_currentCode == ClientCode(-1)) {
        m_prompt.MsgWarn(ClientRegister::codeErrorText());
        return SaveResult::Failed;
    }
    const auto same = shownOnFailure(
        reg.sameNameCount(rec.name, m_addEditMode == EditMode::Edit ? std::optional<ClientCode>(m_currentCode) : std::nullopt),
        m_prompt);
    if (!same)
        return SaveResult::Failed;
    if (*same > 0
        && !m_prompt.MsgYesNo(QStringLiteral("이미 같은 이름이 등록 되어 있습니다.\r\n그래도, 저장하시겠습니까?"), {}, false))
        return SaveResult::Failed;

    rec.id = m_currentCode;
    if (add) {
        const auto inserted = shownOnFailure(reg.insertNew(rec), m_prompt);
        if (!inserted)
            return SaveResult::Failed;
        const ClientCode given = *inserted;
        if (given != m_currentCode)
            m_prompt.MsgInfo(codeTakenText(m_currentCode, given));
        m_currentCode = given;
    } else if (const auto failure = reg.write(rec)) {
        m_prompt.show(*failure);
        return SaveResult::Failed;
    }
    m_savedCode = m_currentCode;
    m_savedName = rec.name;

    if (hooks.syncUpdateClient)
        hooks.syncUpdateClient(m_savedCode, m_busiMode, add);
    if (hooks.notice)
        hooks.notice();

    if (m_addEditMode == EditMode::Edit && rec.name != m_loadedName) {
        if (m_prompt.MsgYesNo(QStringLiteral("전표에 이미 등록된 동일한 거래처의 이름도 변경 하시겠습니까?\r\n"
                                             "(동일 거래처코드만 변경)"),
                              {}, false)) {
            if (const auto n = shownOnFailure(reg.renameInVouchers(m_savedCode, rec.name), m_prompt))
                m_prompt.MsgInfo(QStringLiteral("전표에서 ") + QString::number(*n)
                                 + QStringLiteral("건의 자료가 변경되었습니다."));
        }
        m_loadedName = rec.name;
    }
    return SaveResult::Saved;
}
