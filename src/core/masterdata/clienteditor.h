// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "businessmode.h"
#include "clientrecord.h"

class Database;
class UserPrompt;

// What the client edit window does, without the window: its properties, loading a client and
// the save with its steps in their order.
class ClientEditor final
{
public:
    enum Field { Name = 0, Tel, Phone, Zipcode, Address, Memo, FieldCount };
    enum class SaveResult {
        Refused, // a rule refused the input; the name field gets the focus
        Failed,  // nothing was stored; the window keeps its input
        Saved
    };
    // Called between the write and the notice, as the window's opener asked for.
    struct Hooks
    {
        // SyncUpdateClient(code, busiMode, add) of the window given as CallForm.
        std::function<void(ClientCode, BusiMode, bool)> syncUpdateClient;
        // The floating notice of a save.
        std::function<void()> notice;
    };

    ClientEditor(Database &db, UserPrompt &prompt);

    // The window's AddEditMode, stored as 1 and 2 by the windows that open it.
    enum class EditMode { Add = 1, Edit = 2 };

    // Sets the caption.
    void setAddEditMode(EditMode mode);
    std::optional<EditMode> addEditMode() const { return m_addEditMode; }
    // Appends "(매입처)" or "(매출처)" to the caption.
    void setBusiMode(BusiMode mode);
    BusiMode busiMode() const { return m_busiMode; }
    QString caption() const { return m_caption; }

    // ClearInput's part: no client loaded.
    void clear();
    // The client with code, or nullopt (the code stays -1).
    std::optional<ClientRecord> LoadClient(ClientCode code);
    ClientCode currentCode() const { return m_currentCode; }
    QString loadedName() const { return m_loadedName; }

    // The save steps: required name, 16 bytes, duplicate question (default No), code, write,
    // SyncUpdateClient, the notice, the rename question and the voucher count message.
    SaveResult Save(const ClientRecord &input, const Hooks &hooks);

    // After a successful save: the saved code and name.
    ClientCode CCode() const { return m_savedCode; }
    QString CName() const { return m_savedName; }

    static QString fieldCaption(int field);
    // Said when another PC registered a client under the code this save meant to give.
    static QString codeTakenText(ClientCode meant, ClientCode given);

private:
    Database &m_db;
    UserPrompt &m_prompt;
    std::optional<EditMode> m_addEditMode;
    BusiMode m_busiMode = BusiMode::Supplier;
    QString m_caption;
    ClientCode m_currentCode{-1};
    QString m_loadedName;
    ClientCode m_savedCode;
    QString m_savedName;
};
