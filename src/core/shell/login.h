// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

#include "settingkeys.h"
#include "userpassword.h"

class AppSettings;
class Database;
class UserPrompt;

// The login's rules: what Enter and Esc in the password box lead to. The window shows what
// load() read and carries out the outcome.
class Login final
{
public:
    enum class Outcome { Stay, Admit, End };

    Login(Database &db, AppSettings &settings, UserPrompt &prompt);

    // Reads the user row; false when it could not be read, and Enter then admits.
    bool load();
    QString userName() const;
    // With no password the box is unmasked and invites Enter.
    bool hasPassword() const { return m_user.hasPassword(); }
    int failures() const { return m_failures; }

    // checked, when given, runs once the typed text has been compared, before any box.
    Outcome enter(const QString &typed, const std::function<void()> &checked = {});
    Outcome escape();

    // Settings key of the seller's telephone number shown after the third wrong password.
    static QString sellerTelKey() { return Settings::sellerTel.name; }

private:
    Database &m_db;
    UserPassword m_user;
    AppSettings &m_settings;
    UserPrompt &m_prompt;
    int m_failures = 0;
};
