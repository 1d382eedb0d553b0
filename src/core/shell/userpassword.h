// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;
class UserPrompt;

// The one row of `user`: the name the login shows and the optional password, which is written
// only as its hash.
class UserPassword final
{
public:
    UserPassword(Database &db, UserPrompt &prompt);

    // "select * from user"; a failure is reported in the query's box and gives false.
    bool read();
    bool hasRow() const { return m_hasRow; }
    QString userName() const { return m_userName; }
    // The stored value (a hash, or an older ledger's plain text); empty when there is none.
    QString stored() const { return m_stored; }
    bool hasPassword() const { return !m_stored.isEmpty(); }
    bool matches(const QString &typed) const;

    // Stores password's hash in every row, creating the row in an empty table; an empty password
    // leaves one row named after the program with no password. The engine's error text on a
    // failure, the stored password unchanged; empty on success.
    QString store(const QString &password);

    // The "변경" rule of the password window.
    enum class Change { Done, WrongCurrent, NotRead, Failed };
    Change change(const QString &current, const QString &newPassword);
    static QString wrongCurrentText() { return QStringLiteral("기존의 비밀번호가 일치하지 않습니다"); }
    static QString failedCaption() { return QStringLiteral("비밀번호를 바꾸지 못했습니다."); }

private:
    Database &m_db;
    UserPrompt &m_prompt;
    bool m_hasRow = false;
    QString m_userName;
    QString m_stored;
};
