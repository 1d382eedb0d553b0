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
    m_store.setValue(section + QLatin1Char('/') + key, value);
}
