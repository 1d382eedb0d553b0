// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The ledger's password is kept as a salted Argon2id hash (libsodium, interactive limits), so
// that the file never holds it in a readable form. A ledger of an older installation may still
// hold it as plain text; that is compared as typed and replaced by its hash after a login.
namespace PasswordHash {

// The encoded hash with its random salt and limits; empty when the system lacks the memory.
QString hash(const QString &password);
// True for a value hash() made, false for an older plain-text password.
bool isHash(const QString &stored);
// Whether typed is the stored password: verified against a hash, compared exactly (letter case
// and blanks count) against plain text. An empty stored value is matched by an empty text.
bool matches(const QString &stored, const QString &typed);

} // namespace PasswordHash
