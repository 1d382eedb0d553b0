// SPDX-License-Identifier: GPL-3.0-or-later
#include "askanddelete.h"

#include "core/base/userprompt.h"
#include "clientregister.h"

bool askAndDelete(UserPrompt &prompt, const QString &name, const std::function<std::optional<Notice>()> &remove)
{
    if (!prompt.MsgYesNo(name + QStringLiteral("을(를) 정말 삭제하시겠습니까?"), {}, false))
        return false;
    const auto failure = remove();
    if (failure)
        prompt.show(*failure);
    return !failure;
}

bool askAndDeleteClient(UserPrompt &prompt, const ClientRegister &clients, ClientCode code, const QString &name)
{
    if (code == ClientCode()) {
        prompt.MsgInfo(QStringLiteral("삭제할 자료를 먼저 선택하세요."));
        return false;
    }
    return askAndDelete(prompt, name, [&] { return clients.Delete(code); });
}
