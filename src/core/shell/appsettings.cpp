// SPDX-License-Identifier: GPL-3.0-or-later
#include "appsettings.h"

#include "core/base/userprompt.h"

std::optional<bool> SettingText::decode(const QString &text, std::type_identity<bool>)
{
    if (text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<int> SettingText::decode(const QString &text, std::type_identity<int>)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

AppSettings::AppSettings() : m_store(QSettings::NativeFormat, QSettings::UserScope, programTitle(), programTitle()) {}

std::optional<QString> AppSettings::stored(const QString &section, const QString &key) const
{
    const QString name = section + QLatin1Char('/') + key;
    if (!m_store.contains(name))
        return std::nullopt;
    return m_store.value(name).toString();
}

QString AppSettings::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    return stored(section, key).value_or(defaultValue);
}

void AppSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    // Every start writes the paths back; an unchanged value is left alone, because any write
    // rewrites the whole file in QSettings' own form, and bytes it could not read (a hand edit,
    // a damaged disk) would not come back as they were.
    if (stored(section, key) == value)
        return;
    m_store.setValue(section + QLatin1Char('/') + key, value);
}
