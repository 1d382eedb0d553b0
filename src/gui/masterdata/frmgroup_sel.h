// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "namesearchwindow.h"

// The group search window "그룹검색".
class FrmGroup_sel final : public NameSearchWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmGroup_sel)

public:
    FrmGroup_sel(Database &db, UserPrompt &prompt, QWidget *parent = nullptr);
    void Refresh_Sheet() override;
};
