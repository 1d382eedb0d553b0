// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerimport.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include "core/base/ownerfiles.h"
#include "core/base/stagedfile.h"
#include "core/base/textutil.h"
#include "core/data/database.h"
#include "jetfile.h"
#include "core/data/schema.h"
#include "core/data/widegroupnames.h"
#include "core/masterdata/postalimport.h"
#include "core/shell/startup.h"
#include "core/shell/startupsequence.h"

namespace LedgerImport {

namespace {
constexpr qint64 ProgressEvery = 1000;
// Rows written by one insert statement; 64 rows of the widest table stay far below SQLite's
// limit of bound values.
constexpr int BatchRows = 64;
const QString kCancelled = QStringLiteral("가져오기를 취소했습니다. 아무 파일도 만들지 않았습니다.");

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

// The shop's word for a table of the old file.
QString tableWord(const QString &table)
{
    static const QHash<QString, QString> words{
        {QStringLiteral("total"), QStringLiteral("전표")},
        {QStringLiteral("total_print"), QStringLiteral("인쇄용 전표")},
        {QStringLiteral("maeip"), QStringLiteral("매입처")},
        {QStringLiteral("maechul"), QStringLiteral("매출처")},
        {QStringLiteral("product"), QStringLiteral("품목")},
        {QStringLiteral("group_name"), QStringLiteral("그룹")},
        {QStringLiteral("user"), QStringLiteral("암호")},
        {QStringLiteral("Post"), QStringLiteral("우편번호")},
    };
    return words.value(table, table);
}

// The shop's word for a field: the ledger's column headers and the register windows' labels.
QString fieldWord(const QString &table, const QString &field)
{
    static const QHash<QString, QString> words{
        {QStringLiteral("total_id"), QStringLiteral("전표 번호")},
        {QStringLiteral("maeip_date"), QStringLiteral("매입일자")},
        {QStringLiteral("pro_code"), QStringLiteral("품목 번호")},
        {QStringLiteral("maeip_code"), QStringLiteral("매입처 번호")},
        {QStringLiteral("maeip_name"), QStringLiteral("매입처명")},
        {QStringLiteral("maeip_cost"), QStringLiteral("매입금액")},
        {QStringLiteral("maechul_code"), QStringLiteral("판매처 번호")},
        {QStringLiteral("maechul_date"), QStringLiteral("판매일자")},
        {QStringLiteral("maechul_name"), QStringLiteral("판매처명")},
        {QStringLiteral("maechul_cost"), QStringLiteral("판매금액")},
        {QStringLiteral("maechul_usecost"), QStringLiteral("판매경비")},
        {QStringLiteral("group_name"), QStringLiteral("그룹 이름")},
        {QStringLiteral("pro_name"), QStringLiteral("품명")},
        {QStringLiteral("id"), QStringLiteral("번호")},
        {QStringLiteral("tel"), QStringLiteral("전화")},
        {QStringLiteral("phone"), QStringLiteral("휴대폰")},
        {QStringLiteral("zipcode"), QStringLiteral("우편번호")},
        {QStringLiteral("address"), QStringLiteral("주소")},
        {QStringLiteral("memo"), QStringLiteral("메모")},
        {QStringLiteral("userid"), QStringLiteral("사용자")},
        {QStringLiteral("pass"), QStringLiteral("암호")},
    };
    if (field == QLatin1String("name"))
        return table == QLatin1String("group_name") ? QStringLiteral("그룹 이름")
               : table == QLatin1String("product")  ? QStringLiteral("품명")
                                                    : tableWord(table) + QStringLiteral(" 상호명");
    const QString word = words.value(field, field);
    return table == QLatin1String("group_name") || table == QLatin1String("product") || table == QLatin1String("user")
               ? word
               : tableWord(table) + QStringLiteral("의 ") + word;
}

// A text size as the shop counts it: Hangul take two bytes, Latin letters and digits one.
QString lengthWords(int bytes)
{
    return QStringLiteral("한글 %1자, 영문·숫자 %2자").arg(bytes / 2).arg(bytes);
}

// The old table with the position of each field of today's table in it.
struct Source
{
    const Schema::Table *schema = nullptr;
    JetFile::Table jet;
    QList<int> positions;
};

bool kindFits(const Schema::Field &f, const JetFile::Column &c)
{
    switch (f.type) {
    case Schema::FieldType::Counter:
    case Schema::FieldType::Integer: return c.kind == JetFile::ColumnKind::Integer;
    case Schema::FieldType::Text:
        // A date kept as Date/Time comes over as its "YYYY-MM-DD" text.
        return c.kind == JetFile::ColumnKind::Text
               || (c.kind == JetFile::ColumnKind::DateTime && f.name.endsWith(QStringLiteral("_date")));
    }
    return false;
}

// Finds table and fields in the old file; an error text when something is missing or of
// another type. Columns the ledger does not know are noted and left out.
QString match(JetFile &jet, const Schema::Table &table, const QString &fileWord, Source &out, QStringList &changes)
{
    out.schema = &table;
    out.jet = jet.table(table.name);
    if (!jet.error().isEmpty())
        return jet.error();
    if (out.jet.name.isEmpty())
        return QStringLiteral("%1에 표 %2이(가) 없습니다.").arg(fileWord, table.name);
    for (const Schema::Field &f : table.fields) {
        const int c = out.jet.column(f.name);
        if (c < 0)
            return QStringLiteral("%1의 표 %2에 열 %3이(가) 없습니다.").arg(fileWord, table.name, f.name);
        const JetFile::Column &col = out.jet.columns.at(c);
        if (!kindFits(f, col))
            return QStringLiteral("%1의 열 %2.%3이(가) %4 형식입니다 (%5이어야 합니다).")
                .arg(fileWord, table.name, f.name, col.typeName,
                     f.type == Schema::FieldType::Text ? QStringLiteral("글자(Text)") : QStringLiteral("정수(Long Integer)"));
        out.positions << c;
    }
    for (const JetFile::Column &c : std::as_const(out.jet.columns))
        if (!table.field(c.name))
            changes << QStringLiteral("%1: 이 프로그램이 쓰지 않는 칸 %2은(는) 가져오지 않았습니다.").arg(tableWord(table.name), c.name);
    return {};
}

// Today's table with the text sizes of the old file, so the start-up maintenance sees what
// the old file had.
Schema::Table withOldSizes(const Source &s, QStringList &changes)
{
    Schema::Table t = *s.schema;
    for (int i = 0; i < t.fields.size(); ++i) {
        Schema::Field &f = t.fields[i];
        const JetFile::Column &c = s.jet.columns.at(s.positions.at(i));
        if (f.type != Schema::FieldType::Text || c.size <= 0 || c.size == f.size)
            continue;
        if (f.size > 0)
            changes << QStringLiteral("%1: 예전 길이(%2) 그대로 두었습니다. 새로 넣는 것은 %3까지입니다.")
                           .arg(fieldWord(t.name, f.name), lengthWords(c.size), lengthWords(f.size));
        f.size = c.size;
    }
    return t;
}

// An insert of rows rows of the table's fields, every value a positional mark.
QString insertSql(const Schema::Table &t, int rows = 1)
{
    QStringList names, marks;
    for (const Schema::Field &f : t.fields) {
        names << QLatin1Char('"') + f.name + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList values;
    for (int i = 0; i < rows; ++i)
        values << row;
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES %3")
        .arg(t.name, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
}

class JetTableCopy
{
public:
    JetTableCopy(JetFile &jet, Database &db, const Progress &progress, qint64 total)
        : m_jet(jet), m_db(db), m_progress(progress), m_total(total)
    {
    }

    // Copies one table's rows; the error text when it failed or was cancelled.
    QString copy(const Source &s, const Schema::Table &target, TableCount &count, QStringList &changes, int passes = 1)
    {
        // Rows go in BatchRows to a statement: a statement run per row costs as much again as
        // the row itself. The last rows, and a batch the engine refused, go one by one.
        Database::RowWriter single(m_db, insertSql(target));
        Database::RowWriter batch(m_db, insertSql(target, BatchRows));
        if (!single.isValid())
            return single.error();
        if (!batch.isValid())
            return batch.error();
        const QList<Schema::Field> &fields = target.fields;
        const auto width = static_cast<size_t>(fields.size());
        // A batch's values, kept until it is written: the row a read hands over lasts only for it.
        struct Cell
        {
            enum class Kind { Null, Integer, Text } kind = Kind::Null;
            qint64 integer = 0;
            QByteArray text;
        };
        std::vector<Cell> cells(width * BatchRows);
        int held = 0;
        qint64 firstHeld = 0; // the row number of the batch's first row, for messages
        QString error;
        const auto bind = [&](Database::RowWriter &w, int row, int offset) {
            for (size_t i = 0; i < width; ++i) {
                const Cell &c = cells[static_cast<size_t>(row) * width + i];
                const int at = offset + static_cast<int>(i);
                if (c.kind == Cell::Kind::Text)
                    w.bindText(at, c.text);
                else if (c.kind == Cell::Kind::Integer)
                    w.bindInteger(at, c.integer);
                else
                    w.bindNull(at);
            }
        };
        const auto writeHeld = [&]() {
            if (held == BatchRows) {
                for (int r = 0; r < held; ++r)
                    bind(batch, r, r * static_cast<int>(width));
                if (batch.step()) {
                    count.written += held;
                    held = 0;
                    return true;
                }
            }
            // One by one: the last rows, or a refused batch (undone whole) to name its row.
            for (int r = 0; r < held; ++r) {
                bind(single, r, 0);
                if (!single.step()) {
                    error = QStringLiteral("표 %1의 %2번째 행을 쓸 수 없습니다: %3")
                                .arg(target.name)
                                .arg(firstHeld + r)
                                .arg(single.error());
                    return false;
                }
                ++count.written;
            }
            held = 0;
            return true;
        };

        // What the ledger's own code writes for "no value": '' for a text, 0 for a number.
        // mdbtools cannot tell a Jet NULL from an empty text, so both come over as ''. The text
        // goes into the file as the UTF-8 libmdb made of it.
        QList<qint64> nullNumbers(fields.size(), 0);
        qint64 newKeys = 0;
        const auto copyRow = [&](const JetFile::Row &row) {
            if (held == 0)
                firstHeld = count.read + 1;
            ++count.read;
            Cell *cell = &cells[static_cast<size_t>(held) * width];
            const bool repeat = row.pass() > 0;
            for (int i = 0; i < fields.size(); ++i, ++cell) {
                const Schema::Field &f = fields.at(i);
                if (f.type == Schema::FieldType::Text) {
                    cell->kind = Cell::Kind::Text;
                    const QByteArrayView v = row.utf8(i);
                    cell->text.resize(v.size()); // keeps its room from row to row
                    if (!v.isEmpty())
                        std::memcpy(cell->text.data(), v.data(), static_cast<size_t>(v.size()));
                } else if (repeat && f.type == Schema::FieldType::Counter) {
                    cell->kind = Cell::Kind::Null;
                } else if (row.isEmpty(i)) {
                    if (f.type == Schema::FieldType::Counter) {
                        ++newKeys; // the file hands out the next key
                        cell->kind = Cell::Kind::Null;
                    } else {
                        ++nullNumbers[i];
                        cell->kind = Cell::Kind::Integer;
                        cell->integer = 0;
                    }
                } else {
                    cell->kind = Cell::Kind::Integer; // kindFits() made it a whole-number column
                    cell->integer = row.integer(i);
                }
            }
            if (++held == BatchRows && !writeHeld())
                return false;
            if (++m_done % ProgressEvery == 0 && m_progress && !m_progress(m_done, m_total)) {
                error = kCancelled;
                return false;
            }
            return true;
        };
        if (!m_jet.readRows(s.jet, s.positions, copyRow, passes))
            return error.isEmpty() ? m_jet.error() : error;
        if (!writeHeld())
            return error;
        for (int i = 0; i < fields.size(); ++i)
            if (nullNumbers.at(i))
                changes << QStringLiteral("%1: 비어 있던 %2건을 0으로 채웠습니다.")
                               .arg(fieldWord(target.name, fields.at(i).name), formatMoney(nullNumbers.at(i)));
        if (newKeys)
            changes << QStringLiteral("%1: 번호가 없던 %2건에 새 번호를 주었습니다.").arg(tableWord(target.name), formatMoney(newKeys));
        return {};
    }

    qint64 done() const { return m_done; }

private:
    JetFile &m_jet;
    Database &m_db;
    const Progress &m_progress;
    qint64 m_total;
    qint64 m_done = 0;
};

QString createIndexes(QSqlQuery &q, const Schema::Table &t, QStringList &changes)
{
    const QStringList sql = SqlDialect().createIndexSql(t);
    for (qsizetype i = 0; i < sql.size(); ++i) {
        if (q.exec(sql.at(i)))
            continue;
        const Schema::Index &index = t.indexes.at(i);
        // Keys of the old file that repeat (Jet kept no key on them) keep the import going; the
        // group table's key is then the start-up maintenance's to add or report.
        if (!index.unique && !index.primary)
            return q.lastError().text();
        changes << QStringLiteral("%1: 같은 이름이 두 번 이상 있습니다 (영문 대소문자는 같은 글자로 봅니다). 모두 그대로 "
                                  "옮겼으니 하나만 남기고 고쳐 주십시오.")
                       .arg(fieldWord(t.name, index.field));
        if (t.name != QStringLiteral("group_name")
            && !q.exec(QString(sql.at(i)).replace(QStringLiteral("CREATE UNIQUE"), QStringLiteral("CREATE"))))
            return q.lastError().text();
    }
    return {};
}

QStringList wideGroupNames(Database &db)
{
    QStringList out;
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name FROM group_name UNION SELECT group_name FROM total "
                               "UNION SELECT group_name FROM total_print")))
        return out;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (LenAnsi(name) > Schema::GroupNameSize)
            out << name;
    }
    return out;
}

void makeReadable(const QString &path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                    | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

// The postal rows of the old file, in the order of today's Post table.
QString readPostal(JetFile &jet, const Source &s, QList<QStringList> &rows)
{
    return jet.readRows(s.jet, s.positions,
                        [&](const JetFile::Row &row) {
                            QStringList cells;
                            for (int i = 0; i < s.positions.size(); ++i)
                                cells << row.text(i);
                            rows << cells;
                            return true;
                        })
               ? QString()
               : jet.error();
}
} // namespace

Result run(const Options &options, const Progress &progress)
{
    Result r;
    const QDir out(options.outFolder);
    r.ledgerFile = out.absoluteFilePath(Startup::ledgerFileName());
    const QString postalTarget = out.absoluteFilePath(Startup::postalFileName());
    const auto fail = [&r](const QString &why) {
        r.error = why;
        r.ok = false;
        return r;
    };

    if (QFileInfo::exists(r.ledgerFile))
        return fail(QStringLiteral("장부 파일이 이미 있습니다. 덮어쓰지 않습니다.\r\n") + native(r.ledgerFile));
    if (!options.postalMdb.isEmpty() && QFileInfo::exists(postalTarget))
        return fail(QStringLiteral("우편번호 파일이 이미 있습니다. 덮어쓰지 않습니다.\r\n") + native(postalTarget));

    // Everything is looked at before anything is written.
    JetFile jet;
    if (!jet.open(options.ledgerMdb))
        return fail(QStringLiteral("예전 장부를 가져올 수 없습니다.\r\n") + jet.error());
    r.format = jet.formatName();
    r.codePage = jet.codePage();
    QList<Source> sources;
    qint64 total = 0;
    // The old program's file has these tables; the ones this program added since (the recycle
    // bin, the call history) start empty.
    static const QStringList oldTables{QStringLiteral("total"),   QStringLiteral("total_print"),
                                       QStringLiteral("maeip"),   QStringLiteral("maechul"),
                                       QStringLiteral("product"), QStringLiteral("group_name"),
                                       QStringLiteral("user")};
    QList<Schema::Table> newTables;
    for (const Schema::Table &t : Schema::ledgerTables()) {
        if (!oldTables.contains(t.name, Qt::CaseInsensitive)) {
            newTables << t;
            continue;
        }
        Source s;
        if (const QString e = match(jet, t, QStringLiteral("예전 장부"), s, r.changes); !e.isEmpty())
            return fail(e + QStringLiteral("\r\n") + native(options.ledgerMdb));
        total += s.jet.rowCount * (t.name == QLatin1String("total") ? std::max(options.voucherPasses, 1) : 1);
        sources << s;
    }
    for (const QString &name : jet.tableNames())
        if (!Schema::ledgerTable(name))
            r.changes << QStringLiteral("이 프로그램이 쓰지 않는 표 %1은(는) 가져오지 않았습니다.").arg(name);

    JetFile postJet;
    Source post;
    if (!options.postalMdb.isEmpty()) {
        if (!postJet.open(options.postalMdb))
            return fail(QStringLiteral("예전 우편번호 파일을 가져올 수 없습니다.\r\n") + postJet.error());
        if (const QString e = match(postJet, Schema::postTable(), QStringLiteral("예전 우편번호 파일"), post, r.changes); !e.isEmpty())
            return fail(e + QStringLiteral("\r\n") + native(options.postalMdb));
        total += post.jet.rowCount;
    }

    if (!MakeOwnerFolders(out.absolutePath()))
        return fail(QStringLiteral("폴더를 만들 수 없습니다: ") + native(out.absolutePath()));
    removeStaleTemporaries(out.absolutePath(), Startup::ledgerFileName());
    removeStaleTemporaries(out.absolutePath(), Startup::postalFileName());
    QTemporaryFile ledgerTmp(out.absoluteFilePath(Startup::ledgerFileName() + QStringLiteral(".XXXXXX")));
    if (!ledgerTmp.open())
        return fail(QStringLiteral("폴더에 쓸 수 없습니다: ") + native(out.absolutePath()) + QStringLiteral("\r\n")
                    + ledgerTmp.errorString());
    const TemporaryClaim ledgerClaim(ledgerTmp.fileName());
    ledgerTmp.close();

    QString error;
    qint64 done = 0;
    {
        Database db;
        if (!db.open(ledgerTmp.fileName(), false, Database::Access::LoadTyped))
            return fail(QStringLiteral("새 장부 파일을 열 수 없습니다: ") + native(ledgerTmp.fileName()));
        JetTableCopy w(jet, db, progress, total);
        QSqlQuery q(db.connection());
        std::optional<TransactionGuard> tx(std::in_place, db, QStringLiteral("import"));
        for (const Source &s : std::as_const(sources)) {
            const Schema::Table target = withOldSizes(s, r.changes);
            TableCount count{target.name};
            if (!q.exec(SqlDialect().createTableSql(target)))
                error = q.lastError().text();
            if (error.isEmpty())
                error = w.copy(s, target, count, r.changes,
                               target.name == QLatin1String("total") ? std::max(options.voucherPasses, 1) : 1);
            if (error.isEmpty())
                error = createIndexes(q, target, r.changes);
            r.tables << count;
            if (!error.isEmpty())
                break;
        }
        for (const Schema::Table &t : std::as_const(newTables)) {
            for (const QString &sql : SqlDialect().tableSql(t))
                if (error.isEmpty() && !q.exec(sql))
                    error = q.lastError().text();
        }
        if (error.isEmpty()) {
            r.wideGroupNames = wideGroupNames(db);
            r.lastSaleMonth = lastSaleMonth(db).value_or(QDate());
            // The summary tells them; the start-up check need not tell them again.
            if (!r.wideGroupNames.isEmpty())
                error = WideGroupNames::markTold(db, r.wideGroupNames).text;
        }
        if (error.isEmpty()) {
            if (const SqlError e = tx->commit(); e.isError())
                error = e.text;
        }
        q.finish();
        tx.reset(); // what was not committed is rolled back before the file closes
        db.close();
        done = w.done();
        // Loaded without syncs: on disk as a whole before it takes the ledger's name.
        if (const QString e = error.isEmpty() ? Database::syncToDisk(ledgerTmp.fileName()) : QString(); !e.isEmpty())
            error = QStringLiteral("새 장부 파일을 디스크에 쓸 수 없습니다: ") + e;
    }

    std::optional<QTemporaryFile> postalTmp;
    std::optional<TemporaryClaim> postalClaim;
    if (error.isEmpty() && !options.postalMdb.isEmpty()) {
        QList<QStringList> rows;
        error = readPostal(postJet, post, rows);
        TableCount count{Schema::postTable().name, rows.size()};
        if (error.isEmpty() && progress && !progress(done + rows.size(), total))
            error = kCancelled;
        if (error.isEmpty()) {
            postalTmp.emplace(out.absoluteFilePath(Startup::postalFileName() + QStringLiteral(".XXXXXX")));
            if (!postalTmp->open())
                error = postalTmp->errorString();
            else
                postalClaim.emplace(postalTmp->fileName());
            postalTmp->close();
        }
        if (error.isEmpty()) {
            qsizetype n = 0;
            const PostalImport::Result p = PostalImport::buildFromRows(
                [&](PostalImport::SourceRow &row) {
                    if (n >= rows.size())
                        return false;
                    row.cells = rows.at(n++);
                    row.line = n;
                    return true;
                },
                postalTmp->fileName());
            if (!p.ok)
                error = QStringLiteral("우편번호 파일을 만들 수 없습니다: ") + p.error;
            count.written = p.rows;
            if (p.skipped)
                r.changes << QStringLiteral("우편번호: 쓸 수 없는 %1건을 뺐습니다.").arg(formatMoney(p.skipped));
            for (const QString &note : p.notes)
                r.changes << QStringLiteral("우편번호 ") + note;
        }
        r.tables << count;
    }

    // Into place only when everything was written; a file that appeared meanwhile stays.
    if (error.isEmpty() && !QFile::rename(ledgerTmp.fileName(), r.ledgerFile))
        error = QStringLiteral("장부 파일을 만들 수 없습니다 (이미 있거나 쓸 수 없습니다): ") + native(r.ledgerFile);
    if (error.isEmpty())
        Database::syncToDisk(out.absolutePath()); // the new name survives a power cut too
    if (error.isEmpty() && postalTmp) {
        if (QFile::rename(postalTmp->fileName(), postalTarget)) {
            r.postalFile = postalTarget;
        } else {
            QFile::remove(r.ledgerFile);
            error = QStringLiteral("우편번호 파일을 만들 수 없습니다 (이미 있거나 쓸 수 없습니다): ") + native(postalTarget);
        }
    }
    if (!error.isEmpty()) {
        r.cancelled = error == kCancelled;
        return fail(r.cancelled ? error : QStringLiteral("가져오기에 실패했습니다. 아무 파일도 만들지 않았습니다.\r\n") + error);
    }
    makeReadable(r.ledgerFile);
    if (!r.postalFile.isEmpty())
        makeReadable(r.postalFile);
    if (progress)
        progress(total, total);
    r.ok = true;
    return r;
}

QString Result::summary() const
{
    QStringList lines;
    lines << QStringLiteral("예전 장부를 가져왔습니다: ") + native(ledgerFile);
    if (!postalFile.isEmpty())
        lines << QStringLiteral("우편번호 파일: ") + native(postalFile);
    lines << QStringLiteral("예전 장부의 형식: %1, 한글 코드 %2").arg(format).arg(codePage) << QString();
    for (const TableCount &t : tables)
        lines << (t.written == t.read ? QStringLiteral("%1: %2건").arg(tableWord(t.table), formatMoney(t.read))
                                      : QStringLiteral("%1: %2건 중 %3건").arg(tableWord(t.table), formatMoney(t.read),
                                                                              formatMoney(t.written)));
    if (lastSaleMonth.isValid())
        lines << QStringLiteral("마지막으로 판매한 달: %1").arg(lastSaleMonth.toString(QStringLiteral("yyyy년 M월")));
    lines << QString() << QStringLiteral("예전 장부에서 비어 있던 글자 칸은 빈칸으로 옮겼습니다.");
    if (!changes.isEmpty()) {
        lines << QStringLiteral("바꾸거나 빼고 옮긴 것:");
        for (const QString &c : changes)
            lines << QStringLiteral("- ") + c;
    }
    if (!wideGroupNames.isEmpty())
        lines << QString() << WideGroupNames::notice(wideGroupNames);
    return lines.join(QStringLiteral("\r\n"));
}

QString postalBeside(const QString &ledgerMdb)
{
    const QDir dir = QFileInfo(ledgerMdb).absoluteDir();
    for (const QFileInfo &f : dir.entryInfoList(QDir::Files))
        if (f.fileName().compare(QStringLiteral("dbpost.mdb"), Qt::CaseInsensitive) == 0)
            return f.absoluteFilePath();
    return {};
}

} // namespace LedgerImport
