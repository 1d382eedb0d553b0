// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "core/base/clientcode.h"
#include "core/base/notice.h"

class ClientRegister;
class UserPrompt;

// Asks "name을(를) 정말 삭제하시겠습니까?" (No by default), then runs remove and shows its
// failure; true when the row went.
bool askAndDelete(UserPrompt &prompt, const QString &name, const std::function<std::optional<Notice>()> &remove);
// The delete command of a client list: the client chosen (code 0: none, which is said) asked
// about and deleted; true when it went.
bool askAndDeleteClient(UserPrompt &prompt, const ClientRegister &clients, ClientCode code, const QString &name);
