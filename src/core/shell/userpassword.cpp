// SPDX-License-Identifier: GPL-3.0-or-later
#include "userpassword.h"

#include <QSqlError>

#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"
#include "passwordhash.h"

namespace {

// While a password is written, the space of the value it replaces is zeroed in the file, so that
// an older plain-text password does not live on in a free page.
class SecureDelete final
{
public:
    explicit SecureDelete(Database &db) : m_db(db) { set(true); }
    ~SecureDelete() { set(false); }
    SecureDelete(const SecureDelete &) = delete;
    SecureDelete &operator=(const SecureDelete &) = delete;

private:
    void set(bool on) { m_db.setSecureDelete(on); }
    Database &m_db;
};

} // namespace

UserPassword::UserPassword(Database &db, UserPrompt &prompt) : m_db(db), m_prompt(prompt) {}

bool UserPassword::read()
{
    m_hasRow = false;
    m_userName.clear();
    m_stored.clear();
    auto rs = shownOnFailure(OpenRS(m_db, QStringLiteral("select * from ") + m_db.dialect().userTable()), m_prompt);
    if (!rs)
        return false;
    if (rs->next()) {
        m_hasRow = true;
        m_userName = rs->value(QStringLiteral("userid")).toString();
        m_stored = rs->value(QStringLiteral("pass")).toString();
    }
    CloseObj(rs);
    return true;
}

bool UserPassword::matches(const QString &typed) const
{
    return PasswordHash::matches(m_stored, typed);
}

QString UserPassword::store(const QString &password)
{
    if (!m_db.isOpen())
        return SqlError::noDatabase(SqlStatement()).text;
    QString hashed;
    if (!password.isEmpty()) {
        hashed = PasswordHash::hash(password);
        if (hashed.isEmpty())
            return QStringLiteral("메모리가 부족합니다.");
    }
    const SecureDelete wipe(m_db);
    TransactionGuard guard(m_db);
    const auto run = [this](const SqlStatement &st, int *rows = nullptr) {
        const Database::Result r = m_db.exec(st);
        if (rows)
            *rows = r.rowsAffected;
        return r.ok() ? QString() : r.error.text;
    };
    QString error;
    if (hashed.isEmpty()) {
        error = run(QStringLiteral("DELETE FROM ") + m_db.dialect().userTable());
        if (error.isEmpty())
            error = run(SqlStatement(QStringLiteral("INSERT INTO %1 (userid) VALUES (:userid)").arg(m_db.dialect().userTable()))
                            .bind(QStringLiteral("userid"), programTitle())
                            .into(QStringLiteral("user")));
    } else {
        int rows = 0;
        error = run(SqlStatement(QStringLiteral("UPDATE %1 SET pass = :pass").arg(m_db.dialect().userTable())).bind(QStringLiteral("pass"), hashed),
                    &rows);
        // An empty table counts as no password; the first password makes its row. The hash is
        // longer than pass's declared size, which the engine does not hold it to, so the
        // statements writing it skip the size check of the user table.
        if (error.isEmpty() && rows == 0)
            error = run(SqlStatement(QStringLiteral("INSERT INTO %1 (userid, pass) VALUES (:userid, :pass)").arg(m_db.dialect().userTable()))
                            .bind(QStringLiteral("userid"), programTitle())
                            .bind(QStringLiteral("pass"), hashed));
    }
    if (error.isEmpty() && guard.active()) {
        if (const SqlError e = guard.commit(); e.isError())
            error = e.text;
    }
    if (!error.isEmpty())
        return error;
    m_hasRow = true;
    m_stored = hashed;
    return {};
}

UserPassword::Change UserPassword::change(const QString &current, const QString &newPassword, const QString &confirmation)
{
    if (!read())
        return Change::NotRead;
    if (!matches(current)) {
        m_prompt.MsgPlain(wrongCurrentText());
        return Change::WrongCurrent;
    }
    if (newPassword != confirmation) {
        m_prompt.MsgWarn(mismatchText());
        return Change::Mismatch;
    }
    const QString error = store(newPassword);
    if (!error.isEmpty()) {
        m_prompt.MsgWarn(failedCaption() + QStringLiteral("\r\n") + error);
        return Change::Failed;
    }
    m_prompt.MsgInfo(newPassword.isEmpty() ? removedText() : changedText());
    return Change::Done;
}
