// SPDX-License-Identifier: GPL-3.0-or-later
#include "appsettings.h"

#include "core/base/userprompt.h"

AppSettings::AppSettings() : m_store(QSettings::NativeFormat, QSettings::UserScope, programTitle(), programTitle()) {}

QString AppSettings::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    return m_store.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void AppSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    // Every start writes the paths back; an unchanged value is left alone, because any write
    // rewrites the whole file in QSettings' own form, and bytes it could not read (a hand edit,
    // a damaged disk) would not come back as they were.
    const QString name = section + QLatin1Char('/') + key;
    if (m_store.contains(name) && m_store.value(name).toString() == value)
        return;
    m_store.setValue(name, value);
}
