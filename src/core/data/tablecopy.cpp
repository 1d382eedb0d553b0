// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablecopy.h"

#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include "core/base/ownerfiles.h"
#include "core/base/stagedfile.h"
#include "core/base/textutil.h"
#include "database.h"
#include "schema.h"
#include "schemamaint.h"

namespace TableCopy {

namespace {
constexpr qint64 ProgressEvery = 1000;
const QString kCancelled = QStringLiteral("복사를 취소했습니다. 대상 장부는 그대로입니다.");

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

std::optional<qint64> countRows(Database &db, const QString &table, QString *error)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM ") + quoted(table)));
    if (!r.ok() || !r.query.next()) {
        *error = r.error.text;
        return std::nullopt;
    }
    return r.query.value(0).toLongLong();
}

// The fields of today's table that the source has: an older ledger may lack a table or a field
// added since, which the target then keeps empty or at its default.
QList<Schema::Field> sharedFields(Database &source, const Schema::Table &table)
{
    QList<Schema::Field> out;
    const auto columns = source.columns(table.name);
    for (const Schema::Field &f : table.fields)
        for (const auto &c : columns)
            if (c.first.compare(f.name, Qt::CaseInsensitive) == 0) {
                out << f;
                break;
            }
    return out;
}

// The rows of every table into target, inside the caller's transaction; when replacing, the target's
// rows are deleted first instead of refusing a target that has some.
Result copyRows(Database &source, Database &target, const Progress &progress, bool replacing)
{
    Result r;
    const auto fail = [&r](const QString &why) {
        r.ok = false;
        r.error = why;
        return r;
    };
    struct Plan
    {
        const Schema::Table *table;
        QList<Schema::Field> fields;
        qint64 rows;
    };
    QList<Plan> plans;
    qint64 total = 0;
    QString error;
    for (const Schema::Table &t : Schema::ledgerTables()) {
        if (!target.hasTable(t.name))
            return fail(QStringLiteral("대상 장부에 표 %1이(가) 없습니다.").arg(t.name));
        const std::optional<qint64> there = countRows(target, t.name, &error);
        if (!there)
            return fail(QStringLiteral("대상 장부를 읽을 수 없습니다: ") + error);
        if (*there > 0 && !replacing)
            return fail(QStringLiteral("대상 장부의 표 %1에 이미 %2행이 있습니다. 덮어쓰지 않습니다.").arg(t.name).arg(*there));
        // An older ledger may lack a unique index and hold values it would refuse (group names
        // that differ only in letter case, from an import): the new ledger takes them as they
        // are, its index plain like the source's, and its start-up maintenance deals with them.
        if (!replacing)
            for (const Schema::Index &i : t.indexes) {
                if (!(i.unique || i.primary) || indexIsUnique(target, t.name, i.name) != true
                    || indexIsUnique(source, t.name, i.name) == true)
                    continue;
                Schema::Index plain = i;
                plain.unique = false;
                plain.primary = false;
                for (const QString &sql : {QStringLiteral("DROP INDEX ") + quoted(i.name), target.dialect().createIndexSql(t, plain)})
                    if (const Database::Result d = target.exec(SqlStatement(sql)); !d.ok())
                        return fail(QStringLiteral("대상 장부의 색인 %1을(를) 바꿀 수 없습니다: %2").arg(i.name, d.error.text));
                r.changes << QStringLiteral("%1.%2: 원본 장부처럼 고유하지 않은 색인으로").arg(t.name, i.field);
            }
        Plan p{&t, {}, 0};
        if (source.hasTable(t.name)) {
            p.fields = sharedFields(source, t);
            const std::optional<qint64> rows = countRows(source, t.name, &error);
            if (!rows)
                return fail(QStringLiteral("원본 장부를 읽을 수 없습니다: ") + error);
            p.rows = *rows;
        }
        total += p.rows;
        plans << p;
    }

    qint64 done = 0;
    for (const Plan &p : std::as_const(plans)) {
        TableCount count{p.table->name};
        if (replacing)
            if (const Database::Result d = target.exec(SqlStatement(QStringLiteral("DELETE FROM ") + quoted(p.table->name)));
                !d.ok())
                return fail(QStringLiteral("표 %1을(를) 비울 수 없습니다: %2").arg(p.table->name, d.error.text));
        if (!p.fields.isEmpty()) {
            QStringList names, marks;
            for (const Schema::Field &f : p.fields) {
                names << quoted(f.name);
                marks << QLatin1Char(':') + f.name;
            }
            Database::RowWriter w(target, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                              .arg(quoted(p.table->name), names.join(QStringLiteral(", ")),
                                                   marks.join(QStringLiteral(", "))));
            if (!w.isValid())
                return fail(QStringLiteral("표 %1에 쓸 수 없습니다: %2").arg(p.table->name, w.error()));
            QString stop;
            const SqlError e = source.forEachRow(
                SqlStatement(QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), quoted(p.table->name))),
                [&](const Database::RowView &row) {
                    if (!stop.isEmpty())
                        return;
                    ++count.read;
                    for (int i = 0; i < p.fields.size(); ++i) {
                        if (row.isNull(i))
                            w.bindNull(i);
                        else if (p.fields.at(i).type == Schema::FieldType::Text)
                            w.bindText(i, row.utf8(i));
                        else
                            w.bindInteger(i, row.integer(i));
                    }
                    if (!w.step()) {
                        stop = QStringLiteral("표 %1의 %2번째 행을 쓸 수 없습니다: %3").arg(p.table->name).arg(count.read).arg(w.error());
                        return;
                    }
                    ++count.written;
                    if (++done % ProgressEvery == 0 && progress && !progress(done, total))
                        stop = kCancelled;
                });
            if (stop.isEmpty() && e.isError())
                stop = QStringLiteral("원본 장부의 표 %1을(를) 읽을 수 없습니다: %2").arg(p.table->name, e.text);
            if (!stop.isEmpty()) {
                r.cancelled = stop == kCancelled;
                r.tables << count;
                return fail(stop);
            }
        }
        for (const Schema::Field &f : p.fields)
            if (f.type == Schema::FieldType::Counter)
                if (const QString sql = target.dialect().counterAfterKeysSql(p.table->name, f.name); !sql.isEmpty())
                    if (const Database::Result c = target.exec(SqlStatement(sql)); !c.ok())
                        return fail(QStringLiteral("표 %1의 키 번호를 맞출 수 없습니다: %2").arg(p.table->name, c.error.text));
        const std::optional<qint64> counted = countRows(target, p.table->name, &error);
        if (!counted)
            return fail(QStringLiteral("대상 장부를 읽을 수 없습니다: ") + error);
        count.counted = *counted;
        r.tables << count;
        if (count.read != p.rows || count.written != count.read || count.counted != count.read)
            return fail(QStringLiteral("표 %1의 행 수가 맞지 않아 복사를 되돌렸습니다 (원본 %2, 읽은 행 %3, 쓴 행 %4, 대상 %5).")
                            .arg(p.table->name)
                            .arg(p.rows)
                            .arg(count.read)
                            .arg(count.written)
                            .arg(count.counted));
    }
    if (progress)
        progress(total, total);
    r.ok = true;
    return r;
}

Result inOneTransaction(Database &source, Database &target, const Progress &progress, bool replacing)
{
    TransactionGuard tx(target, QStringLiteral("ledger_copy"));
    if (!tx.active()) {
        Result r;
        r.error = QStringLiteral("대상 장부에 쓸 수 없습니다.");
        return r;
    }
    Result r = copyRows(source, target, progress, replacing);
    if (r.ok)
        if (const SqlError e = tx.commit(); e.isError()) {
            r.ok = false;
            r.error = QStringLiteral("대상 장부에 쓸 수 없습니다: ") + e.text;
        }
    return r;
}

} // namespace

Result copy(Database &source, Database &target, const Progress &progress)
{
    return inOneTransaction(source, target, progress, false);
}

Result replace(Database &source, Database &target, const Progress &progress)
{
    return inOneTransaction(source, target, progress, true);
}

Result copyToNewFile(Database &source, const QString &path, const Progress &progress)
{
    Result r;
    const QFileInfo info(path);
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    if (info.exists()) {
        r.error = QStringLiteral("장부 파일이 이미 있습니다. 덮어쓰지 않습니다.\r\n") + native;
        return r;
    }
    if (!MakeOwnerFolders(info.absolutePath())) {
        r.error = QStringLiteral("폴더를 만들 수 없습니다: ") + QDir::toNativeSeparators(info.absolutePath());
        return r;
    }
    removeStaleTemporaries(info.absolutePath(), info.fileName());
    // Reserved, then handed to the ledger's own creation, which refuses an existing file.
    QString tmpPath;
    {
        QTemporaryFile reserve(info.absoluteFilePath() + QStringLiteral(".XXXXXX"));
        if (!reserve.open()) {
            r.error = QStringLiteral("폴더에 쓸 수 없습니다: ") + QDir::toNativeSeparators(info.absolutePath())
                      + QStringLiteral("\r\n") + reserve.errorString();
            return r;
        }
        tmpPath = reserve.fileName();
    }
    const TemporaryClaim claim(tmpPath);
    const auto cleanUp = qScopeGuard([&] { QFile::remove(tmpPath); });
    QString error;
    if (!Database::createLedger(tmpPath, &error)) {
        r.error = error;
        return r;
    }
    {
        Database target;
        if (!target.open(tmpPath, false, Database::Access::Load)) {
            r.error = QStringLiteral("새 장부 파일을 열 수 없습니다: ") + QDir::toNativeSeparators(tmpPath);
            return r;
        }
        r = copy(source, target, progress);
        target.close();
    }
    if (!r.ok)
        return r;
    if (const QString e = Database::syncToDisk(tmpPath); !e.isEmpty()) {
        r.ok = false;
        r.error = QStringLiteral("새 장부 파일을 디스크에 쓸 수 없습니다: ") + e;
        return r;
    }
    // QFile::rename refuses a file that appeared meanwhile.
    if (!QFile::rename(tmpPath, info.absoluteFilePath())) {
        r.ok = false;
        r.error = QStringLiteral("장부 파일을 만들 수 없습니다 (이미 있거나 쓸 수 없습니다): ") + native;
        return r;
    }
    Database::syncToDisk(info.absolutePath());
    return r;
}

QString Result::summary() const
{
    QStringList lines;
    for (const TableCount &t : tables)
        lines << QStringLiteral("%1: 읽은 행 %2, 쓴 행 %3, 대상 장부의 행 %4")
                     .arg(t.table, formatMoney(t.read), formatMoney(t.written), formatMoney(t.counted));
    lines << changes;
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace TableCopy
