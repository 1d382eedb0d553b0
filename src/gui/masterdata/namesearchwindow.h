// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/masterdata/namelist.h"
#include "searchwindow.h"

// The group and product search windows: one column "이름", add, rename and delete of names.
class NameSearchWindow : public SearchWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NameSearchWindow)

public:
    ~NameSearchWindow() override;
    // The chosen name; empty when none was chosen.
    QString result() const { return m_result; }

protected:
    NameSearchWindow(Database &db, UserPrompt &prompt, NameList::Kind kind, QWidget *parent);

    void cmdAdd_Click() override;
    void cmdEdit_Click() override;
    void cmdDel_Click() override;
    void takeRow(int row) override;
    // Rows of the list query; nullopt after its box.
    void fill(const std::optional<QStringList> &names);

    NameList m_names;

private:
    QString m_result;
};
