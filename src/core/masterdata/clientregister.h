// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "businessmode.h"
#include "clientrecord.h"

class Database;
class UserPrompt;
struct SqlStatement;

// One client register (suppliers or customers) and the statements the client windows issue
// on it. Failing queries are reported through prompt with the data layer's boxes.
class ClientRegister final
{
public:
    ClientRegister(Database &db, UserPrompt &prompt, BusiMode busiMode);

    BusiMode busiMode() const { return m_mode; }
    QString table() const;

    // The search list: clients whose name contains word literally (any letter case), by name.
    std::optional<std::vector<ClientRecord>> list(const QString &word) const;
    // One client; nullopt when it is not there or the query failed.
    std::optional<ClientRecord> find(qint32 code) const;
    // Clients of the same name, the client being edited (except) left out; nullopt on failure.
    std::optional<qint64> sameNameCount(const QString &name, std::optional<qint32> except) const;
    // A new client's code: one more than the largest code the register or any voucher of this
    // side has used, so that a deleted client's code, still on vouchers, is never given again.
    // -1 when it cannot be worked out (query failed, or no 32-bit code is left).
    qint32 nextCode() const;
    // Adds a new client under record.id or, when another PC has taken that code meanwhile,
    // under the next free one: an insert that never touches another client's row. The code
    // given, or -1 after the error box "자료를 저장하는 중 오류가 발생했습니다." (or the query box).
    qint32 insertNew(ClientRecord record) const;
    // Rewrites the existing client record.id; false after the error box (also when another PC
    // deleted it meanwhile).
    bool write(const ClientRecord &record) const;
    static QString codeErrorText();
    // Asks, then deletes; vouchers keep the client's code and name. True when deleted.
    bool Delete(qint32 code, const QString &name) const;
    // The client's new name into the vouchers of this side that carry its code; the number of
    // vouchers changed, or nullopt after an error box.
    std::optional<int> renameInVouchers(qint32 code, const QString &name) const;

private:
    // The statement sql (the table as %1) with every field of c bound.
    SqlStatement recordStatement(const QString &sql, const ClientRecord &c) const;

    Database &m_db;
    UserPrompt &m_prompt;
    BusiMode m_mode;
};
