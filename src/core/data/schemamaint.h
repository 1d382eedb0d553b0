// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QFlags>
#include <QString>
#include <QStringList>

#include "core/base/notice.h"

class Database;

// Field type codes of the older ledger files, as the maintenance routines take them.
namespace DaoType {
inline constexpr int Keep = -1; // DAO_EditField: keep the current type
inline constexpr int Boolean = 1;
inline constexpr int Byte = 2;
inline constexpr int Integer = 3;
inline constexpr int Long = 4;
inline constexpr int Currency = 5;
inline constexpr int Single = 6;
inline constexpr int Double = 7;
inline constexpr int Date = 8;
inline constexpr int Text = 10;
inline constexpr int Memo = 12;
} // namespace DaoType

// Schema maintenance of a ledger file. A text field's size lives in its declared type
// (VARCHAR(6)), so these routines read the file's own layout. Each one works inside a
// savepoint: a failing step leaves the file as it was. Each returns whether it did its work, or
// on an error the box that names the module "mdlCommonQX", for the caller to show.

// False when a field of that name (any letter case) exists already.
Fallible<bool> DAO_AddField(Database &db, const QString &table, const QString &field, int type, int size,
                           bool allowZeroLength, const QString &fillSql = {});
Fallible<bool> DAO_DelField(Database &db, const QString &table, const QString &field);
// Rebuilds field with another size or type through the column field + "_AlterTmp", keeping
// its values; the rebuilt field becomes the table's last. size 0 keeps the size, type Keep
// the type. A missing field is added (filled with '' or 0) unless type is -1. When a stored value
// does not fit, the old field is kept as it was and the failure reported once.
struct FieldChange
{
    int size = 0;
    int type = DaoType::Keep;
    bool allowZeroLength = true;
    bool dropIndexes = false; // the field's indexes go instead of coming back on the rebuilt field
    // When given, values that do not fit the new size are added here and no error is returned:
    // the caller says it in the shop's words.
    QStringList *valuesTooLong = nullptr;
};
Fallible<bool> DAO_EditField(Database &db, const QString &table, const QString &field,
                            const FieldChange &change);
// Creates the index table + "_" + field unless a suitable one exists. A primary or required
// index needs the field NOT NULL; SQLite cannot add that in place, so the table is rebuilt
// with every row, index and counter kept.
enum class IndexOption { Primary = 0x1, Unique = 0x2, Required = 0x4 };
Q_DECLARE_FLAGS(IndexOptions, IndexOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(IndexOptions)
Fallible<bool> DAO_AddIndex(Database &db, const QString &table, const QString &field, IndexOptions options);
// Drops every index that contains field.
Fallible<bool> DAO_DelIndex(Database &db, const QString &table, const QString &field);
// Whether the ledger's index of that name is unique; nullopt when there is no such index or the
// ledger's indexes cannot be read.
std::optional<bool> indexIsUnique(Database &db, const QString &table, const QString &index);
// The largest value of field plus one; 1 for an empty table; OpenRS's box when the query failed.
Fallible<qint64> DAO_NextID(Database &db, const QString &table, const QString &field);

// True when the file can be read and holds at least one of the ledger's tables; says nothing.
// The opening's other readers leave a file that fails it to the group check's one box.
bool HoldsLedger(Database &db);

// Run at opening, before anything reads or writes the ledger: a ledger of a newer program's
// layout is refused with the one box naming both versions. A ledger that cannot be read passes:
// the group check reports it.
std::optional<Notice> CheckSchemaVersion(Database &db);

// Run at every start after the login: brings the group fields to their current size and the
// group table's key back, then adds the lookup indexes the ledger's queries rely on, and records
// the layout's version. Group names too long for the new size stay as they are; the shop is
// told once per ledger which ones (WideGroupNames). Not readable, with one box, when the file
// cannot be read or holds no ledger at all.
struct GroupCheck
{
    bool readable = false;
    Notices notices; // the boxes to show, in order
};
GroupCheck CheckGroupField(Database &db);
