// SPDX-License-Identifier: GPL-3.0-or-later
#include "askanddelete.h"

#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"

bool askAndDelete(Database &db, UserPrompt &prompt, const QString &name, const SqlStatement &deletion)
{
    if (!prompt.MsgYesNo(name + QStringLiteral("을(를) 정말 삭제하시겠습니까?"), {}, false))
        return false;
    const Database::Result r = db.exec(deletion);
    if (!r.ok()) {
        reportQueryError(r.error, prompt);
        return false;
    }
    if (r.rowsAffected < 1) {
        prompt.MsgInfo(QStringLiteral("삭제중 오류가 발생하였습니다."));
        return false;
    }
    return true;
}
