// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "schema.h"

// The SQL that differs between the two engines, and only that: everything else the program
// writes runs unchanged on both. Text fields compare and sort without regard to ASCII letter
// case on both (SQLite's NOCASE; PostgreSQL's citext in a C-locale database), so plain `=`,
// DISTINCT, GROUP BY and ORDER BY on them need nothing from here.
class SqlDialect final
{
public:
    enum class Engine { Sqlite, Postgres };

    explicit SqlDialect(Engine engine = Engine::Sqlite) : m_engine(engine) {}
    Engine engine() const { return m_engine; }

    // True where field contains the text bound to :param, every character taken literally;
    // with fold, ASCII letters match either case.
    QString contains(const QString &field, const QString &param, bool fold) const;
    // The last n characters of a text (all of it when shorter); n is SQL, a number or a parameter.
    QString tail(const QString &text, const QString &n) const;
    // field = :param with letter case counting, on a case-blind field.
    QString equalsExactly(const QString &field, const QString &param) const;
    // A staging table of no key, emptied and this connection's own (another PC's staging at the
    // same moment stays apart), so that rows inserted next come back in their order by
    // insertionOrder().
    QStringList emptyStagingSql(const QString &table) const;
    QString insertionOrder() const;
    // An ORDER BY term that keeps the planner off the field's index.
    QString unindexed(const QString &field) const;

    // The ledger's tables as this engine declares them, from the one declaration in Schema.
    QString declaredType(const Schema::Field &field) const;
    QString columnDefinition(const Schema::Field &field) const;
    QString createTableSql(const Schema::Table &table) const;
    QString createIndexSql(const Schema::Table &table, const Schema::Index &index) const;
    QString createIndexSql(const Schema::ExpressionIndex &index) const;
    // The table's indexes, those over expressions included.
    QStringList createIndexSql(const Schema::Table &table) const;
    // The table whole: its creation, what the catalogue records of it and its indexes.
    QStringList tableSql(const Schema::Table &table) const;
    // Everything a new, empty ledger is made of, in order, its layout's version recorded.
    QStringList createLedgerSql() const;
    // The version of the ledger's layout recorded in it (one integer, 0 when none is): the
    // file's user_version, or the server's comment on the voucher table.
    QString schemaVersionSql() const;
    QString setSchemaVersionSql(int version) const;

    // Other PCs' changes of vouchers. On the server a trigger on total announces every row
    // inserted, changed or deleted on the ledger's channel, with "INSERT 12", "UPDATE 12" or
    // "DELETE 12" as the payload; a file is one PC's and announces nothing (all three empty).
    QStringList changeNoticeSql() const;
    // The same for payments and opening balances ("ACCOUNT 1 42": mode and client code), part of
    // changeNoticeSql().
    QStringList accountNoticeSql() const;
    // A row when the ledger announces its changes already.
    QString changeNoticePresentSql() const;
    // The channel of the ledger this connection works on, as one value.
    QString changeChannelSql() const;
    // Whether this connection's user may change the ledger's tables (owns them, or is a member
    // of their owner), the owner's name and the user's: one row. Empty for a file, whose user
    // owns it.
    QString ledgerOwnerSql() const;

    // The catalogue, one statement each: the tables (name); a table's fields (name, declared
    // type, required) bound to :t; its indexes (name, unique, creation SQL or '' for one the
    // engine made for a constraint) bound to :t; an index's fields in order bound to :i.
    QString tablesSql() const;
    // The password table's name in a statement: a reserved word on the server, bare in the file
    // (where the boxes show the statement as it always read).
    QString userTable() const;
    // After rows were written with their own keys: the statement that moves the table's counter
    // past the largest key; empty where the engine does so by itself (SQLite's AUTOINCREMENT).
    QString counterAfterKeysSql(const QString &table, const QString &field) const;
    QString columnsSql() const;
    QString indexesSql() const;
    QString indexFieldsSql() const;

private:
    Engine m_engine;
};
