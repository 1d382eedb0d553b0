// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The floating notice's texts, kept in one place: the edit flows of the core show them
// through their views, the gui's grid and register windows directly.
namespace FloatMsg {
inline QString saved() { return QStringLiteral("자료가 저장되었습니다."); }
inline QString deleted() { return QStringLiteral("자료를 삭제하였습니다."); }
} // namespace FloatMsg
