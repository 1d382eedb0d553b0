// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "nameregister.h"

class Database;
class UserPrompt;

// What the windows of the two plain name lists do (products and groups, NameRegister), with
// their questions and boxes. Vouchers refer to the names by name. A name is stored without
// surrounding blanks, never empty and never twice (as the database compares names, without
// regard to letter case).
class NameList final
{
public:
    using Kind = NameRegister::Kind;

    NameList(Database &db, UserPrompt &prompt, Kind kind);

    Kind kind() const { return m_names.kind(); }
    QString table() const { return m_names.table(); }
    // The voucher field that carries a name of this list.
    QString voucherField() const { return m_names.voucherField(); }

    // Stores name (trimmed) unless it is empty or already there. An empty name is asked for
    // first with the input box of this list; the answer goes back into name.
    bool Add(QString &name) const;

    // The search window's list. Groups: names containing word. Products: a search word
    // wins; without one, a group lists the products used on its vouchers, each once; with
    // neither, every product.
    std::optional<QStringList> list(const QString &word, const QString &group = {}) const;
    // Every group name, by name (the product window's filter).
    std::optional<QStringList> groups() const;

    // Asks for the new name (oldName proposed); refuses a name already there; renames; then
    // asks whether vouchers carrying oldName follow. The new name, or nullopt when nothing
    // was renamed.
    std::optional<QString> rename(const QString &oldName) const;
    // Asks, then deletes; vouchers keep the name. True when deleted.
    bool Delete(const QString &name) const;

    // The input box's prompt when a new name is asked for.
    QString addPrompt() const;

private:
    std::optional<qint64> count(const QString &name) const;

    NameRegister m_names;
    UserPrompt &m_prompt;
};

// The register-if-missing routines of the lookups.
bool AddGroup(Database &db, UserPrompt &prompt, QString &name);
bool AddProduct(Database &db, UserPrompt &prompt, QString &name);
