// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "core/base/notice.h"
#include "businessmode.h"
#include "clientrecord.h"

class Database;
struct SqlStatement;

// One client register (suppliers or customers) and the statements the client windows issue
// on it. A failure comes back as the boxes the window shows, the data layer's or its own.
class ClientRegister final
{
public:
    ClientRegister(Database &db, BusiMode busiMode);

    BusiMode busiMode() const { return m_mode; }
    QString table() const;

    // The search list: clients whose name contains word literally (any letter case), by name.
    Fallible<std::vector<ClientRecord>> list(const QString &word) const;
    // One client; nullopt when it is not there.
    Fallible<std::optional<ClientRecord>> find(ClientCode code) const;
    // Clients of the same name, the client being edited (except) left out.
    Fallible<qint64> sameNameCount(const QString &name, std::optional<ClientCode> except) const;
    // A new client's code: one more than the largest code the register or any voucher of this
    // side has used, so that a deleted client's code, still on vouchers, is never given again.
    // Code -1 when no 32-bit code is left.
    Fallible<ClientCode> nextCode() const;
    // Adds a new client under record.id or, when another PC has taken that code meanwhile,
    // under the next free one: an insert that never touches another client's row. The code
    // given, or the error box "자료를 저장하는 중 오류가 발생했습니다." (or the query box and the
    // code error).
    Fallible<ClientCode> insertNew(ClientRecord record) const;
    // Rewrites the existing client record.id; the error box when that failed (also when another
    // PC deleted it meanwhile).
    std::optional<Notice> write(const ClientRecord &record) const;
    static QString codeErrorText();
    // Deletes the client the user chose and confirmed (deleteQuestion); vouchers keep its code
    // and name. The box of a failure or of a delete that found nothing.
    std::optional<Notice> Delete(ClientCode code) const;
    // The client's new name into the vouchers of this side that carry its code; the number of
    // vouchers changed.
    Fallible<int> renameInVouchers(ClientCode code, const QString &name) const;

private:
    // The statement sql (the table as %1) with every field of c bound.
    SqlStatement recordStatement(const QString &sql, const ClientRecord &c) const;

    Database &m_db;
    BusiMode m_mode;
};
