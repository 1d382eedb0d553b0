// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "searchwindow.h"

// The client search window "매입처 검색" / "매출처 검색": lists the clients of one register,
// and adds, edits and deletes them. result() is the chosen code, NUL, the name.
class FrmClient_Sel final : public SearchWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmClient_Sel)

public:
    enum Column { Name, Tel, Address, Memo, Code };

    FrmClient_Sel(Database &db, UserPrompt &prompt, const QString &postFile, QWidget *parent = nullptr);

    // 0 suppliers, 1 customers; other values only store.
    void setMode(int iMode);
    int mode() const { return m_mode; }
    void Refresh_Sheet() override;
    // The edit window's notice after a save: the saved client into the list (a new last row
    // when bAdd, else the active row).
    void SyncUpdateClient(qint32 nCode, int nBusiMode, bool bAdd);

protected:
    void cmdAdd_Click() override;
    void cmdEdit_Click() override;
    void cmdDel_Click() override;
    QString resultOf(int row) const override;

private:
    qint32 activeCode() const;
    void openEditor(int addEditMode, qint32 code);

    QString m_postFile;
    int m_mode = -1;
};
