// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "core/base/notice.h"

class Database;

// The statements on one of the two plain name lists: product names (table product) and group
// names (table group_name). A failure comes back as the box the list's windows show.
class NameRegister final
{
public:
    enum class Kind { Group, Product };

    NameRegister(Database &db, Kind kind) : m_db(db), m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QString table() const;
    // The voucher field that carries a name of this list.
    QString voucherField() const;

    // Entries equal to name as the database compares (without regard to letter case).
    Fallible<qint64> count(const QString &name) const;
    // Stores name as given; the error box names the routine (AddGroup or AddProduct).
    std::optional<Notice> insert(const QString &name) const;
    // The search window's list. Groups: names containing word. Products: a search word
    // wins; without one, a group lists the products used on its vouchers, each once; with
    // neither, every product.
    Fallible<QStringList> list(const QString &word, const QString &group = {}) const;
    // Every group name, by name (the product window's filter).
    Fallible<QStringList> groups() const;
    // Exactly the entry oldName (not another spelling of it) renamed.
    std::optional<Notice> rename(const QString &oldName, const QString &newName) const;
    // The vouchers carrying oldName given newName; how many.
    Fallible<int> renameInVouchers(const QString &oldName, const QString &newName) const;
    // Exactly the entry name deleted; vouchers keep the name.
    std::optional<Notice> Delete(const QString &name) const;

private:
    Database &m_db;
    Kind m_kind;
};
