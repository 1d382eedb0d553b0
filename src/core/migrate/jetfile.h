// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the tables of an old Jet (Access) file through mdbtools' libmdb, read-only: the file's
// bytes are never written. Jet 3 keeps its text in the code page of its header (949 for a
// Korean installation), which libmdb decodes only when told before the file is opened.
class JetFile final
{
public:
    enum class ColumnKind { Integer, Real, DateTime, Text, Other };
    struct Column
    {
        QString name;
        ColumnKind kind = ColumnKind::Other;
        QString typeName; // the type as Access names it, for messages
        int size = 0;     // bytes of a text column as the file declares them
    };
    struct Table
    {
        QString name;
        QList<Column> columns;
        qint64 rowCount = 0; // the count the table's header gives
        int column(const QString &name) const; // -1 when missing (any letter case)
    };

    // One row while it is read. A number comes as its decimal text, a date as "YYYY-MM-DD".
    // mdbtools hands out a NULL exactly like an empty text, so isEmpty() stands for both.
    class Row
    {
    public:
        QByteArrayView utf8(int i) const { return {m_values[i], m_lengths[i]}; }
        bool isEmpty(int i) const { return m_lengths[i] == 0; }
        QString text(int i) const { return QString::fromUtf8(utf8(i)); }
        // The value of a whole-number column (0 when empty).
        qint64 integer(int i) const { return m_integers[i]; }
        // Which time over the table this row comes from (readRows' passes), from 0.
        int pass() const { return m_pass; }

    private:
        friend class JetFile;
        const char *const *m_values = nullptr;
        const int *m_lengths = nullptr;
        const qint64 *m_integers = nullptr;
        int m_pass = 0;
    };

    JetFile();
    ~JetFile();
    JetFile(const JetFile &) = delete;
    JetFile &operator=(const JetFile &) = delete;

    // False with error() in Korean: missing, unreadable or locked, not a Jet file, a format
    // libmdb cannot read (named), truncated or damaged.
    bool open(const QString &path);
    void close();
    QString error() const { return m_error; }
    QString formatName() const { return m_format; }
    int codePage() const { return m_codePage; }

    QStringList tableNames() const;
    // The table's columns and row count; an empty name when it is missing, and error() set as
    // well when its definition cannot be read.
    Table table(const QString &name);
    // Streams the named columns of every row in file order; row returns false to stop, and the
    // read then fails with an empty error(). Fails as well when fewer rows came than the header
    // counts. passes > 1 reads the table that many times over in one stream, as one table that
    // many times as long would come (the benchmark's large file).
    bool readRows(const Table &table, const QList<int> &columns, const std::function<bool(const Row &)> &row,
                  int passes = 1);

private:
    // libmdb's part of open().
    bool openPages(const QString &path);
    // Sets error() to why and the file's path; false.
    bool fail(const QString &why);
    // Whether a child process opened the file and described every table of it.
    static bool readsInChild(const QString &path, qint64 size);
    // readRows in this process; the public one runs it in a child and receives its rows.
    bool readRowsHere(const Table &table, const QList<int> &columns, const std::function<bool(const Row &)> &row,
                      int pass = 0);

    struct Handle;
    std::unique_ptr<Handle> m_h;
    QString m_path;
    QString m_error;
    QString m_format;
    int m_codePage = 0;
};
