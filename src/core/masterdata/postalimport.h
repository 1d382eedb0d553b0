// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builds the postal code file from a CSV of ZIPCODE, SIDO, GUGUN, DONG, BUNJI (UTF-8 or CP949,
// with or without a header line naming the columns in any order).
namespace PostalImport {

struct Result
{
    bool ok = false;
    qint64 rows = 0;        // rows written
    qint64 skipped = 0;     // lines that could not be used
    QString error;          // why nothing was written
    QStringList notes;      // the first few skipped lines and why
};

// Splits one CSV line (commas; double quotes around a field, "" inside one).
QStringList splitCsvLine(const QString &line);

// Writes outPath from the CSV text: into a temporary file first, which replaces outPath
// only when everything was written. progress is called every so many lines with the count.
Result build(const QByteArray &csv, const QString &outPath,
             const std::function<void(qint64 lines)> &progress = {});
// One source row: its cells in the order ZIPCODE, SIDO, GUGUN, DONG, BUNJI (BUNJI may be left
// off) and its line or row number for the notes.
struct SourceRow
{
    qint64 line = 0;
    QStringList cells;
};
// The same rules for rows of another source, given one by one by next until it returns false.
Result buildFromRows(const std::function<bool(SourceRow &)> &next, const QString &outPath,
                     const std::function<void(qint64 rows)> &progress = {});
Result buildFromFile(const QString &csvPath, const QString &outPath,
                     const std::function<void(qint64 lines)> &progress = {});

} // namespace PostalImport
