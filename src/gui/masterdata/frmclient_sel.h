// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "core/masterdata/businessmode.h"
#include "core/masterdata/clienteditor.h"
#include "core/masterdata/clientrecord.h"
#include "core/masterdata/clientregister.h"
#include "searchwindow.h"

// The client search window "매입처 검색" / "매출처 검색": lists the clients of one register,
// and adds, edits and deletes them. picked() is the chosen client.
class FrmClient_Sel final : public SearchWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmClient_Sel)

public:
    enum Column { Name, Tel, Address, Memo, Code };

    FrmClient_Sel(Database &db, UserPrompt &prompt, const QString &postFile, QWidget *parent = nullptr);

    void setMode(BusiMode iMode);
    std::optional<BusiMode> mode() const { return m_mode; }
    std::optional<PickedClient> picked() const { return m_picked; }
    void Refresh_Sheet() override;
    // The edit window's notice after a save: the saved client into the list (a new last row
    // when bAdd, else the active row).
    void SyncUpdateClient(ClientCode nCode, BusiMode nBusiMode, bool bAdd);

protected:
    void cmdAdd_Click() override;
    void cmdEdit_Click() override;
    void cmdDel_Click() override;
    void takeRow(int row) override;

private:
    ClientCode activeCode() const;
    void openEditor(ClientEditor::EditMode addEditMode, ClientCode code);
    // The register of the mode; the suppliers' while no mode was set.
    ClientRegister clients();

    QString m_postFile;
    std::optional<BusiMode> m_mode;
    std::optional<PickedClient> m_picked;
};
