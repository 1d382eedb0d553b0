// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The one declaration of the ledger's tables. Creation SQL, the size checks of the data layer
// and the upgrade checks all come from here.
namespace Schema {

enum class FieldType { Counter, Integer, Text };

struct Field
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // CP949 bytes for text fields; 0 = free text
    bool required = false;
};

struct Index
{
    QString name;
    QString field;
    bool primary = false;
    bool unique = false;
    // Further columns carried in the index, so that a query reading only these never visits
    // the table's rows (the analysis sums over years of vouchers).
    QStringList covering = {};

    QStringList columns() const { return QStringList{field} + covering; }
};

// An index over the last characters of one field, which the engine keeps up to date with the row.
struct ExpressionIndex
{
    QString name;
    QString table;
    QString field;
    int tailLength = 0;
};

struct Table
{
    QString name;
    QList<Field> fields;
    QList<Index> indexes;

    const Field *field(const QString &fieldName) const;
};

// The ledger's layout as this program makes and maintains it, recorded in the ledger itself. A
// ledger without the record is of an older program (0); one above it is of a newer program, whose
// changes this one does not know, and is refused. Raised with every change to the declaration.
inline constexpr int Version = 3;

// Text sizes the program relies on.
inline constexpr int GroupNameSize = 6;
inline constexpr int ClientNameSize = 16;

// The recycle bin of deleted vouchers; older ledgers get it from the start-up maintenance.
inline QString recycleBinTable() { return QStringLiteral("total_deleted"); }
// Notes the program keeps about the ledger itself (note, said); older ledgers get it from the
// start-up maintenance.
inline QString notesTable() { return QStringLiteral("ledger_notes"); }
// Business details for the papers the shop hands over: its own (one row, so that every PC prints
// the same heading) and its clients' by busi_mode and code, so that the registers keep their
// columns. Older ledgers get both from the start-up maintenance.
inline QString shopInfoTable() { return QStringLiteral("shop_info"); }
inline QString clientBusinessTable() { return QStringLiteral("client_business"); }
inline constexpr int BusinessNumberSize = 10;

// Money paid by customers and to suppliers, the deleted ones, and each client's opening balance;
// older ledgers get them from the start-up maintenance.
inline QString paymentTable() { return QStringLiteral("payment"); }
inline QString paymentBinTable() { return QStringLiteral("payment_deleted"); }
inline QString openingTable() { return QStringLiteral("client_opening"); }

const QList<Table> &ledgerTables();
const QList<ExpressionIndex> &expressionIndexes();
const Table *ledgerTable(const QString &name);
const Table &postTable();

// The SQL of each engine comes from SqlDialect.
// Size of a text field read back from its declared type; 0 when it carries none.
int sizeFromDeclaredType(const QString &declared);

} // namespace Schema
