// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

#include <optional>
#include <type_traits>

// One stored setting: its section, its name and the value read when it is absent or unreadable
// (a key may read an unreadable text otherwise, as it always has). The keys themselves are
// declared once, in settingkeys.h.
template <typename T>
struct SettingKey
{
    QString section;
    QString name;
    T fallback;
    std::optional<T> unreadable = std::nullopt;
};

// How each type is stored, exactly as the program has always stored it: a flag as "1" or "0",
// a number as plain decimal text, a text as it is.
namespace SettingText {
inline QString encode(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
inline QString encode(int n) { return QString::number(n); }
inline QString encode(const QString &text) { return text; }
std::optional<bool> decode(const QString &text, std::type_identity<bool>);
std::optional<int> decode(const QString &text, std::type_identity<int>);
inline std::optional<QString> decode(const QString &text, std::type_identity<QString>) { return text; }
} // namespace SettingText

// The per-user settings store under the program title.
class AppSettings final
{
public:
    AppSettings();
    AppSettings(const AppSettings &) = delete;
    AppSettings &operator=(const AppSettings &) = delete;

    template <typename T>
    T get(const SettingKey<T> &key) const
    {
        const std::optional<QString> text = stored(key.section, key.name);
        if (!text)
            return key.fallback;
        return SettingText::decode(*text, std::type_identity<T>{}).value_or(key.unreadable.value_or(key.fallback));
    }
    template <typename T>
    void set(const SettingKey<T> &key, const std::type_identity_t<T> &value)
    {
        setValue(key.section, key.name, SettingText::encode(value));
    }
    // True when the key holds a non-empty text, whatever its declared default.
    template <typename T>
    bool isSet(const SettingKey<T> &key) const
    {
        return !stored(key.section, key.name).value_or(QString()).isEmpty();
    }

    // The stored text itself, for keys read as text with a default of their own.
    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void sync() { m_store.sync(); }

    static QString environment() { return QStringLiteral("환경설정"); }
    static QString registration() { return QStringLiteral("Registration"); }

private:
    std::optional<QString> stored(const QString &section, const QString &key) const;

    mutable QSettings m_store;
};
