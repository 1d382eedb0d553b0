// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>

#include "core/masterdata/clienteditor.h"

class ClientBusinessBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UserPrompt;

// The client edit window: adds one client or edits one. Set AddEditMode before busiMode (it
// appends to the caption AddEditMode sets), then CCode or DefaultName, then CallForm.
class FrmClient_write final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmClient_write)

public:
    // The opener's SyncUpdateClient(nCode, nBusiMode, bAdd), called after each successful save.
    using CallForm = std::function<void(ClientCode nCode, BusiMode nBusiMode, bool bAdd)>;

    FrmClient_write(Database &db, UserPrompt &prompt, const QString &postFile, QWidget *parent = nullptr);
    ~FrmClient_write() override;

    void setAddEditMode(ClientEditor::EditMode eEditMode);
    std::optional<ClientEditor::EditMode> AddEditMode() const { return m_editor.addEditMode(); }
    void setBusiMode(BusiMode iBusiMode);
    BusiMode busiMode() const { return m_editor.busiMode(); }
    // Loads the client with this code for editing; the continue box is hidden.
    void setCCode(ClientCode code);
    // After a save: the saved code (0 before).
    ClientCode CCode() const { return m_editor.CCode(); }
    QString CName() const { return m_editor.CName(); }
    // A name to start from; the continue box is hidden.
    void setDefaultName(const QString &sName);
    void setCallForm(CallForm ctlCallForm) { m_callForm = std::move(ctlCallForm); }

    void btnSave_Click();
    // The address search from the postal code field.
    void btnPost_Click();
    void ClearInput();

    QLabel *pnlTitle[ClientEditor::FieldCount] = {};
    QLineEdit *txtInput[ClientEditor::FieldCount] = {};
    // The client's business details, below the register's fields, saved with the client.
    ClientBusinessBox *grpBusiness = nullptr;
    QCheckBox *ChkContinueAdd = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnPost = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFields(const ClientRecord &c);
    ClientRecord fields() const;

    // The business details of the client saved last; false when they could not be written.
    bool saveBusiness();

    Database &m_db;
    UserPrompt &m_prompt;
    QString m_postFile;
    ClientEditor m_editor;
    CallForm m_callForm;
    // After an address search the address field keeps its caret until the user leaves it.
    bool m_keepAddressCaret = false;
};
