// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

// The per-user settings store under the program title: string values read with a default.
class AppSettings final
{
public:
    AppSettings();
    AppSettings(const AppSettings &) = delete;
    AppSettings &operator=(const AppSettings &) = delete;

    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void sync() { m_store.sync(); }

    static QString environment() { return QStringLiteral("환경설정"); }
    static QString registration() { return QStringLiteral("Registration"); }

private:
    mutable QSettings m_store;
};
