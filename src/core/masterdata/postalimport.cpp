// SPDX-License-Identifier: GPL-3.0-or-later
#include "postalimport.h"

#include <optional>

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "core/base/cp949.h"
#include "core/base/textutil.h"
#include "core/data/database.h"
#include "core/data/schema.h"

namespace PostalImport {

namespace {
constexpr qint64 ProgressEvery = 50000;
constexpr int MaxNotes = 10;

void note(Result &r, qint64 line, const QString &why)
{
    ++r.skipped;
    if (r.notes.size() < MaxNotes)
        r.notes << QStringLiteral("%1행: %2").arg(line).arg(why);
}

// The rules of every postal source: sizes, a missing BUNJI, an empty code; one transaction
// into a temporary file that replaces outPath only when everything was written.
Result writeRows(const QList<int> &pos, const std::function<bool(SourceRow &)> &next, const QString &outPath,
                 const std::function<void(qint64)> &progress)
{
    Result result;
    const Schema::Table &post = Schema::postTable();
    const QString tmpPath = outPath + QStringLiteral(".tmp");
    QFile::remove(tmpPath);
    {
        QFile f(tmpPath);
        if (!f.open(QIODevice::WriteOnly)) {
            result.error = QStringLiteral("파일을 만들 수 없습니다: ") + tmpPath;
            return result;
        }
    }
    bool written = false;
    {
        Database db;
        if (!db.open(tmpPath)) {
            result.error = QStringLiteral("파일을 열 수 없습니다: ") + tmpPath;
            QFile::remove(tmpPath);
            return result;
        }
        QSqlQuery q(db.connection());
        QString err;
        const auto run = [&](const QString &sql) {
            if (!err.isEmpty())
                return;
            if (!q.exec(sql))
                err = q.lastError().text();
        };
        run(SqlDialect().createTableSql(post));
        std::optional<TransactionGuard> tx(std::in_place, db);
        if (err.isEmpty() && !q.prepare(QStringLiteral("INSERT INTO Post (ZIPCODE, SIDO, GUGUN, DONG, BUNJI) "
                                                       "VALUES (?, ?, ?, ?, ?)")))
            err = q.lastError().text();
        SourceRow row;
        while (err.isEmpty() && next(row)) {
            const qint64 lineNo = row.line;
            if (progress && lineNo % ProgressEvery == 0)
                progress(lineNo);
            const QStringList &cells = row.cells;
            QStringList values;
            QString why;
            for (int i = 0; i < post.fields.size() && why.isEmpty(); ++i) {
                const Schema::Field &f = post.fields[i];
                // BUNJI is often left off; the four others name the place.
                if (pos[i] >= cells.size()) {
                    if (f.name == QLatin1String("BUNJI")) {
                        values << QString();
                        continue;
                    }
                    why = QStringLiteral("열이 모자랍니다 (%1)").arg(f.name);
                    break;
                }
                const QString v = cells.at(pos[i]);
                if (LenAnsi(v) > f.size)
                    why = QStringLiteral("%1이(가) %2바이트보다 깁니다").arg(f.name).arg(f.size);
                values << v;
            }
            if (why.isEmpty() && values.value(0).isEmpty())
                why = QStringLiteral("우편번호가 비어 있습니다");
            if (!why.isEmpty()) {
                note(result, lineNo, why);
                continue;
            }
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values.at(i));
            if (!q.exec())
                err = q.lastError().text();
            else
                ++result.rows;
        }
        q.finish();
        for (const QString &sql : SqlDialect().createIndexSql(post))
            run(sql);
        run(QStringLiteral("CREATE INDEX IF NOT EXISTS Post_ZIPCODE ON Post (ZIPCODE)"));
        if (err.isEmpty()) {
            if (const SqlError e = tx->commit(); e.isError())
                err = e.text;
        }
        tx.reset(); // what was not committed is rolled back before the file closes
        if (!err.isEmpty())
            result.error = err;
        written = err.isEmpty();
        db.close();
    }
    if (written && result.rows == 0) {
        written = false;
        result.error = QStringLiteral("쓸 수 있는 행이 하나도 없습니다.");
    }
    if (written) {
        QFile::remove(outPath);
        written = QFile::rename(tmpPath, outPath);
        if (!written)
            result.error = QStringLiteral("파일을 바꿀 수 없습니다: ") + outPath;
    }
    if (!written)
        QFile::remove(tmpPath);
    result.ok = written;
    return result;
}
} // namespace

QStringList splitCsvLine(const QString &line)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                    cur += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cur += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            out << cur.trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur.trimmed();
    return out;
}

Result build(const QByteArray &csv, const QString &outPath, const std::function<void(qint64)> &progress)
{
    Result result;
    const Schema::Table &post = Schema::postTable();
    const QString text = Cp949::decodeUtf8OrCp949(csv);
    if (text.contains(QChar::ReplacementCharacter)) {
        result.error = QStringLiteral("파일이 UTF-8도 CP949도 아닙니다.");
        return result;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));

    // Column positions: from a header line when there is one, otherwise the usual order.
    QList<int> pos;
    for (int i = 0; i < post.fields.size(); ++i)
        pos << i;
    qsizetype first = 0;
    while (first < lines.size() && lines.at(first).trimmed().isEmpty())
        ++first;
    if (first < lines.size()) {
        const QStringList head = splitCsvLine(lines.at(first).trimmed());
        if (head.contains(QStringLiteral("ZIPCODE"), Qt::CaseInsensitive)) {
            QStringList missing;
            for (int i = 0; i < post.fields.size(); ++i) {
                pos[i] = -1;
                for (int h = 0; h < head.size(); ++h)
                    if (head.at(h).compare(post.fields[i].name, Qt::CaseInsensitive) == 0)
                        pos[i] = h;
                if (pos[i] < 0)
                    missing << post.fields[i].name;
            }
            if (!missing.isEmpty()) {
                result.error = QStringLiteral("머리글에 없는 열: ") + missing.join(QStringLiteral(", "));
                return result;
            }
            ++first;
        }
    }

    qsizetype n = first;
    return writeRows(
        pos,
        [&](SourceRow &row) {
            for (; n < lines.size(); ++n) {
                QString line = lines.at(n);
                if (line.endsWith(QLatin1Char('\r')))
                    line.chop(1);
                if (line.trimmed().isEmpty())
                    continue;
                row.line = n + 1;
                row.cells = splitCsvLine(line);
                ++n;
                return true;
            }
            return false;
        },
        outPath, progress);
}

Result buildFromRows(const std::function<bool(SourceRow &)> &next, const QString &outPath,
                     const std::function<void(qint64)> &progress)
{
    QList<int> pos;
    for (int i = 0; i < Schema::postTable().fields.size(); ++i)
        pos << i;
    return writeRows(pos, next, outPath, progress);
}

Result buildFromFile(const QString &csvPath, const QString &outPath, const std::function<void(qint64)> &progress)
{
    QFile f(csvPath);
    if (!f.open(QIODevice::ReadOnly)) {
        Result r;
        r.error = QStringLiteral("파일을 읽을 수 없습니다: ") + csvPath;
        return r;
    }
    if (QFileInfo(csvPath).absoluteFilePath() == QFileInfo(outPath).absoluteFilePath()) {
        Result r;
        r.error = QStringLiteral("읽을 파일과 만들 파일이 같습니다.");
        return r;
    }
    return build(f.readAll(), outPath, progress);
}

} // namespace PostalImport
