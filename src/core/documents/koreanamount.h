// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// An amount as written on a statement: "일금 일백이십삼만사천오백원정". Every digit is written
// with its unit, 일 included (일십, 일백), as on cheques, so that nothing can be slipped in front.
QString amountInKoreanWords(qint64 amount);
