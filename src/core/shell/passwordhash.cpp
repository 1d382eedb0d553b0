// SPDX-License-Identifier: GPL-3.0-or-later
#include "passwordhash.h"

#include <sodium.h>

#include <QByteArray>

namespace PasswordHash {

namespace {

// The password's bytes, wiped when they go out of scope.
class Secret final
{
public:
    explicit Secret(const QString &text) : m_bytes(text.toUtf8()) {}
    ~Secret() { sodium_memzero(m_bytes.data(), static_cast<size_t>(m_bytes.size())); }
    Secret(const Secret &) = delete;
    Secret &operator=(const Secret &) = delete;
    const char *data() const { return m_bytes.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

bool ready()
{
    static const bool ok = sodium_init() >= 0;
    return ok;
}

} // namespace

QString hash(const QString &password)
{
    if (!ready())
        return {};
    const Secret secret(password);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, secret.data(), secret.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        return {};
    return QString::fromLatin1(out);
}

bool isHash(const QString &stored)
{
    if (!ready() || !stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX)))
        return false;
    const QByteArray encoded = stored.toLatin1();
    // -1: not a well-formed Argon2id string, whatever its beginning.
    return crypto_pwhash_str_needs_rehash(encoded.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
           != -1;
}

bool matches(const QString &stored, const QString &typed)
{
    if (!isHash(stored))
        return stored == typed;
    const QByteArray encoded = stored.toLatin1();
    const Secret secret(typed);
    return crypto_pwhash_str_verify(encoded.constData(), secret.data(), secret.size()) == 0;
}

} // namespace PasswordHash
