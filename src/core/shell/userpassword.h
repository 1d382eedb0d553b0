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

    // The "변경" rule of the password window. The new password must be typed twice alike: a
    // typo nobody saw would lock the owner out at the next start. Each outcome is said in a box.
    enum class Change { Done, WrongCurrent, Mismatch, NotRead, Failed };
    Change change(const QString &current, const QString &newPassword, const QString &confirmation);
    static QString wrongCurrentText() { return QStringLiteral("기존의 비밀번호가 일치하지 않습니다"); }
    static QString mismatchText()
    {
        return QStringLiteral("변경할 비밀번호와 확인한 비밀번호가 다릅니다.\r\n두 칸에 같은 비밀번호를 다시 입력하세요.");
    }
    static QString changedText() { return QStringLiteral("비밀번호를 변경했습니다.\r\n다음 시작부터 새 비밀번호를 입력하세요."); }
    static QString removedText() { return QStringLiteral("비밀번호를 없앴습니다.\r\n다음 시작부터 비밀번호를 묻지 않습니다."); }
    static QString failedCaption() { return QStringLiteral("비밀번호를 바꾸지 못했습니다."); }
    // The password window says what the password is and is not.
    static QString lockNoteText()
    {
        return QStringLiteral("비밀번호는 이 프로그램을 여는 잠금입니다. 장부 파일을 암호화하지 않습니다.\n"
                              "장부 파일과 백업, 내보낸 파일은 이 컴퓨터 사용자 계정만 읽을 수 있게\n"
                              "만들어지므로, 다른 사람과 같은 계정을 쓰지 마십시오.");
    }

private:
    Database &m_db;
    UserPrompt &m_prompt;
    bool m_hasRow = false;
    QString m_userName;
    QString m_stored;
};
