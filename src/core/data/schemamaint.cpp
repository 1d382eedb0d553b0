// SPDX-License-Identifier: GPL-3.0-or-later
#include "schemamaint.h"

#include <algorithm>
#include <optional>

#include <QDir>
#include <QSqlQuery>

#include "core/base/textutil.h"
#include "database.h"
#include "recordset.h"
#include "schema.h"
#include "widegroupnames.h"

namespace {

const QString kModule = QStringLiteral("mdlCommonQX");
const QString kTmpSuffix = QStringLiteral("_AlterTmp");
constexpr int SqliteError = 1;
// Jet's "field too small" number, as the data layer uses it for over-long text.
constexpr int FieldTooSmall = 3163;

QString quoted(const QString &identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

SqlError engineError(const QString &text)
{
    SqlError e;
    e.kind = SqlError::Kind::Other;
    e.code = SqliteError;
    e.text = text;
    return e;
}

Notice runError(const SqlError &e, const QString &procedure, const QString &tail = {})
{
    Notice n = Notice::runError(e.code, e.text, procedure, kModule, false);
    n.text += tail;
    return n;
}

Notice indexError(const SqlError &e)
{
    return Notice::plain(QStringLiteral("오류번호 : ") + QString::number(e.code) + QStringLiteral("\r\n오류내용 : ") + e.text);
}

QString fieldTail(const QString &table, const QString &field)
{
    return QStringLiteral("\r\n[TABLE]: ") + table + QStringLiteral(",    [FIELD]: ") + field;
}

struct Column
{
    QString name;
    QString declared;
    bool notNull = false;
    int type = DaoType::Text;
    int size = 0;
};

int typeOfDeclared(const QString &declared)
{
    const QString d = declared.toUpper();
    if (d.contains(QLatin1String("INT")))
        return DaoType::Long;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("DOUB")) || d.contains(QLatin1String("FLOA")))
        return DaoType::Double;
    return DaoType::Text;
}

bool isTextType(int type) { return type == DaoType::Text || type == DaoType::Memo; }

std::optional<QList<Column>> tableColumns(Database &db, const QString &table, SqlError *error)
{
    SqlStatement st(db.dialect().columnsSql());
    st.bind(QStringLiteral("t"), table);
    Database::Result r = db.exec(st);
    if (!r.ok()) {
        *error = r.error;
        return std::nullopt;
    }
    QList<Column> out;
    while (r.query.next()) {
        Column c;
        c.name = r.query.value(0).toString();
        c.declared = r.query.value(1).toString();
        c.notNull = r.query.value(2).toInt() != 0;
        c.type = typeOfDeclared(c.declared);
        c.size = isTextType(c.type) ? Schema::sizeFromDeclaredType(c.declared) : 0;
        out.append(c);
    }
    // Only a table that is not there has no fields; a file that cannot be read failed above
    // with the engine's own error.
    if (out.isEmpty()) {
        *error = engineError(QStringLiteral("no such table: ") + table);
        return std::nullopt;
    }
    return out;
}

std::optional<Column> findColumn(const QList<Column> &columns, const QString &field)
{
    for (const Column &c : columns)
        if (c.name.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return std::nullopt;
}

struct IndexInfo
{
    QString name;
    QString sql; // empty for an index SQLite made for a constraint
    bool unique = false;
    QStringList fields;
};

std::optional<QList<IndexInfo>> tableIndexes(Database &db, const QString &table, SqlError *error)
{
    SqlStatement st(db.dialect().indexesSql());
    st.bind(QStringLiteral("t"), table);
    Database::Result r = db.exec(st);
    if (!r.ok()) {
        *error = r.error;
        return std::nullopt;
    }
    QList<IndexInfo> out;
    while (r.query.next())
        out.append({r.query.value(0).toString(), r.query.value(2).toString(), r.query.value(1).toInt() != 0, {}});
    r.query.finish();
    for (IndexInfo &i : out) {
        SqlStatement cols(db.dialect().indexFieldsSql());
        cols.bind(QStringLiteral("i"), i.name);
        Database::Result c = db.exec(cols);
        if (!c.ok()) {
            *error = c.error;
            return std::nullopt;
        }
        while (c.query.next())
            i.fields << c.query.value(0).toString();
    }
    return out;
}

bool indexHasField(const IndexInfo &index, const QString &field)
{
    return index.fields.contains(field, Qt::CaseInsensitive);
}

// A primary key here is a unique index over fields that are all required.
bool isPrimary(const IndexInfo &index, const QList<Column> &columns)
{
    if (!index.unique || index.fields.isEmpty())
        return false;
    for (const QString &f : index.fields) {
        const auto c = findColumn(columns, f);
        if (!c || !c->notNull)
            return false;
    }
    return true;
}

QString columnSql(const SqlDialect &dialect, const QString &field, int type, int size, bool allowZeroLength)
{
    if (type == DaoType::Single || type == DaoType::Double)
        return quoted(field) + QStringLiteral(" REAL");
    if (!isTextType(type))
        return dialect.columnDefinition({field, Schema::FieldType::Integer, 0, false});
    QString sql = dialect.columnDefinition({field, Schema::FieldType::Text, type == DaoType::Memo ? 0 : size, false});
    if (!allowZeroLength)
        sql += QStringLiteral(" CHECK (%1 <> '')").arg(quoted(field));
    return sql;
}

SqlError addField(Database &db, const QString &table, const QString &field, int type, int size,
                  bool allowZeroLength, const QString &fillSql)
{
    SqlError e = db.exec(SqlStatement(QStringLiteral("ALTER TABLE ") + quoted(table) + QStringLiteral(" ADD COLUMN ")
                                      + columnSql(db.dialect(), field, type, size > 0 ? size : 0, allowZeroLength)))
                     .error;
    if (!e.isError() && !fillSql.isEmpty())
        e = db.exec(SqlStatement(fillSql)).error;
    return e;
}

SqlError dropField(Database &db, const QString &table, const QString &field)
{
    return db.exec(SqlStatement(QStringLiteral("ALTER TABLE ") + quoted(table) + QStringLiteral(" DROP COLUMN ")
                                + quoted(field)))
        .error;
}

SqlError dropIndexesOf(Database &db, const QString &table, const QString &field, QStringList *droppedSql)
{
    SqlError e;
    const auto indexes = tableIndexes(db, table, &e);
    if (!indexes)
        return e;
    for (const IndexInfo &i : *indexes) {
        if (!indexHasField(i, field))
            continue;
        e = db.exec(SqlStatement(QStringLiteral("DROP INDEX ") + quoted(i.name))).error;
        if (e.isError())
            return e;
        if (droppedSql)
            *droppedSql << i.sql;
    }
    return e;
}

// The distinct values of field longer than size CP949 bytes; the copy into a smaller column
// would lose them.
std::optional<QStringList> valuesTooLong(Database &db, const QString &table, const QString &field, int size,
                                         SqlError *error)
{
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT ") + quoted(field) + QStringLiteral(" FROM ")
                                              + quoted(table) + QStringLiteral(" WHERE ") + quoted(field)
                                              + QStringLiteral(" IS NOT NULL")));
    if (!r.ok()) {
        *error = r.error;
        return std::nullopt;
    }
    QStringList out;
    while (r.query.next())
        if (const QString v = r.query.value(0).toString(); LenAnsi(v) > size && !out.contains(v))
            out << v;
    return out;
}

// Splits a column list at its top-level commas.
QStringList splitDefinitions(const QString &body)
{
    QStringList parts;
    int depth = 0;
    QChar quote;
    QString cur;
    for (QChar c : body) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'' || c == u'`') {
            quote = c;
        } else if (c == u'[') {
            quote = QLatin1Char(']');
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            parts << cur.trimmed();
            cur.clear();
            continue;
        }
        cur += c;
    }
    if (!cur.trimmed().isEmpty())
        parts << cur.trimmed();
    return parts;
}

QString leadingName(const QString &definition)
{
    QString d = definition.trimmed();
    if (d.isEmpty())
        return {};
    const QChar open = d.at(0);
    const QChar close = open == u'[' ? QLatin1Char(']') : open;
    if (open == u'"' || open == u'`' || open == u'[') {
        const qsizetype end = d.indexOf(close, 1);
        return end < 0 ? d.mid(1) : d.mid(1, end - 1);
    }
    return d.section(QLatin1Char(' '), 0, 0);
}

// SQLite cannot make a column required in place: the table is built anew under a temporary
// name from its own definition with NOT NULL added, every row copied, the old one dropped, the
// new one renamed and its indexes and counter restored.
SqlError rebuildRequired(Database &db, const QString &table, const QString &field)
{
    SqlStatement sqlOf(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = :t COLLATE NOCASE"));
    sqlOf.bind(QStringLiteral("t"), table);
    Database::Result r = db.exec(sqlOf);
    if (!r.ok())
        return r.error;
    if (!r.query.next())
        return engineError(QStringLiteral("no such table: ") + table);
    const QString createSql = r.query.value(0).toString();
    r.query.finish();
    const qsizetype open = createSql.indexOf(QLatin1Char('('));
    const qsizetype close = createSql.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return engineError(QStringLiteral("unreadable table definition: ") + table);
    QStringList defs = splitDefinitions(createSql.mid(open + 1, close - open - 1));
    for (QString &d : defs)
        if (leadingName(d).compare(field, Qt::CaseInsensitive) == 0)
            d += QStringLiteral(" NOT NULL");

    SqlError e;
    const auto indexes = tableIndexes(db, table, &e);
    if (!indexes)
        return e;
    std::optional<qint64> sequence;
    if (db.hasTable(QStringLiteral("sqlite_sequence"))) {
        SqlStatement seq(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = :t"));
        seq.bind(QStringLiteral("t"), table);
        Database::Result s = db.exec(seq);
        if (s.ok() && s.query.next())
            sequence = s.query.value(0).toLongLong();
    }
    const QString tmp = table + QStringLiteral("_Rebuild");
    const QStringList steps{
        QStringLiteral("CREATE TABLE ") + quoted(tmp) + QStringLiteral(" (") + defs.join(QStringLiteral(", "))
            + QLatin1Char(')') + createSql.mid(close + 1),
        QStringLiteral("INSERT INTO ") + quoted(tmp) + QStringLiteral(" SELECT * FROM ") + quoted(table),
        QStringLiteral("DROP TABLE ") + quoted(table),
        QStringLiteral("ALTER TABLE ") + quoted(tmp) + QStringLiteral(" RENAME TO ") + quoted(table),
    };
    for (const QString &s : steps) {
        e = db.exec(SqlStatement(s)).error;
        if (e.isError())
            return e;
    }
    for (const IndexInfo &i : *indexes) {
        if (i.sql.isEmpty())
            continue;
        e = db.exec(SqlStatement(i.sql)).error;
        if (e.isError())
            return e;
    }
    if (sequence) {
        SqlStatement seq(QStringLiteral("UPDATE sqlite_sequence SET seq = :s WHERE name = :t"));
        seq.bind(QStringLiteral("s"), *sequence).bind(QStringLiteral("t"), table);
        e = db.exec(seq).error;
    }
    return e;
}

} // namespace

Fallible<bool> DAO_AddField(Database &db, const QString &table, const QString &field, int type, int size,
                           bool allowZeroLength, const QString &fillSql)
{
    SqlError e;
    const auto columns = tableColumns(db, table, &e);
    if (columns && findColumn(*columns, field))
        return false;
    if (columns) {
        TransactionGuard sp(db, QStringLiteral("DAO_AddField"));
        e = addField(db, table, field, type, size, allowZeroLength, fillSql);
        if (!e.isError())
            e = sp.commit();
    }
    if (e.isError())
        return runError(e, QStringLiteral("DAO_AddField"), fieldTail(table, field));
    return true;
}

Fallible<bool> DAO_DelField(Database &db, const QString &table, const QString &field)
{
    const SqlError e = dropField(db, table, field);
    if (e.isError())
        return runError(e, QStringLiteral("DAO_DelField"), fieldTail(table, field));
    return true;
}

std::optional<bool> indexIsUnique(Database &db, const QString &table, const QString &index)
{
    SqlError e;
    const auto indexes = tableIndexes(db, table, &e);
    if (!indexes)
        return std::nullopt;
    for (const IndexInfo &i : *indexes)
        if (i.name.compare(index, Qt::CaseInsensitive) == 0)
            return i.unique;
    return std::nullopt;
}

Fallible<bool> DAO_DelIndex(Database &db, const QString &table, const QString &field)
{
    TransactionGuard sp(db, QStringLiteral("DAO_DelIndex"));
    SqlError e = dropIndexesOf(db, table, field, nullptr);
    if (!e.isError())
        e = sp.commit();
    if (e.isError())
        return indexError(e);
    return true;
}

Fallible<bool> DAO_AddIndex(Database &db, const QString &table, const QString &field, IndexOptions options)
{
    const bool primary = options.testFlag(IndexOption::Primary);
    const bool unique = options.testFlag(IndexOption::Unique);
    const bool required = options.testFlag(IndexOption::Required);
    SqlError e;
    const auto columns = tableColumns(db, table, &e);
    const auto indexes = columns ? tableIndexes(db, table, &e) : std::nullopt;
    if (!indexes)
        return indexError(e);
    for (const IndexInfo &i : *indexes) {
        if (!indexHasField(i, field))
            continue;
        if (primary && !isPrimary(i, *columns))
            continue;
        return false;
    }
    const auto column = findColumn(*columns, field);
    if (!column)
        return indexError(engineError(QStringLiteral("no such column: ") + field));
    TransactionGuard sp(db, QStringLiteral("DAO_AddIndex"));
    if ((primary || required) && !column->notNull)
        e = rebuildRequired(db, table, column->name);
    // A weaker index may already carry the name; the new one takes its place.
    const QString indexName = table + QLatin1Char('_') + field;
    if (!e.isError())
        e = db.exec(SqlStatement(QStringLiteral("DROP INDEX IF EXISTS ") + quoted(indexName))).error;
    if (!e.isError()) {
        e = db.exec(SqlStatement(QStringLiteral("CREATE ") + (primary || unique ? QStringLiteral("UNIQUE ") : QString())
                                 + QStringLiteral("INDEX ") + quoted(indexName)
                                 + QStringLiteral(" ON ") + quoted(table) + QStringLiteral(" (")
                                 + quoted(column->name) + QLatin1Char(')')))
                .error;
    }
    if (!e.isError())
        e = sp.commit();
    if (e.isError())
        return indexError(e);
    return true;
}

Fallible<bool> DAO_EditField(Database &db, const QString &table, const QString &field,
                            const FieldChange &change)
{
    const int size = change.size;
    const int type = change.type;
    const bool allowZeroLength = change.allowZeroLength;
    const bool dropIndexes = change.dropIndexes;
    const QString procedure = QStringLiteral("DAO_EditField");
    SqlError e;
    const auto columns = tableColumns(db, table, &e);
    if (!columns)
        return runError(e, procedure);
    const auto current = findColumn(*columns, field);
    if (!current) {
        if (type == DaoType::Keep)
            return false;
        const QString fill = QStringLiteral("UPDATE ") + quoted(table) + QStringLiteral(" SET ") + quoted(field)
                             + (isTextType(type) ? QStringLiteral(" = ''") : QStringLiteral(" = 0"));
        TransactionGuard sp(db, procedure);
        e = addField(db, table, field, type, size, allowZeroLength, fill);
        if (!e.isError())
            e = sp.commit();
        if (e.isError())
            return runError(e, procedure);
        return true;
    }

    const int targetType = type == DaoType::Keep ? current->type : type;
    int targetSize = size == 0 ? current->size : size;
    if (targetType == current->type && targetSize == current->size)
        return false;
    if (!isTextType(targetType))
        targetSize = 0;

    if (isTextType(targetType) && targetSize > 0) {
        const auto tooLong = valuesTooLong(db, table, current->name, targetSize, &e);
        if (tooLong && !tooLong->isEmpty() && change.valuesTooLong) {
            for (const QString &v : *tooLong)
                if (!change.valuesTooLong->contains(v))
                    *change.valuesTooLong << v;
            return false;
        }
        if (tooLong && !tooLong->isEmpty()) {
            e.code = FieldTooSmall;
            e.text = QStringLiteral("%1.%2의 값 %3건이 새 크기 %4바이트보다 깁니다. 필드를 바꾸지 않았습니다.")
                         .arg(table, current->name)
                         .arg(tooLong->size())
                         .arg(targetSize);
        }
        if (!tooLong || !tooLong->isEmpty())
            return runError(e, procedure);
    }

    const QString tmp = current->name + kTmpSuffix;
    TransactionGuard sp(db, procedure);
    // The field's indexes go first, or SQLite refuses to drop the column; unless asked to drop
    // them they come back on the rebuilt field.
    QStringList keptIndexes;
    e = dropIndexesOf(db, table, current->name, dropIndexes ? nullptr : &keptIndexes);
    if (!e.isError())
        e = addField(db, table, tmp, targetType, targetSize, allowZeroLength,
                     QStringLiteral("UPDATE ") + quoted(table) + QStringLiteral(" SET ") + quoted(tmp)
                         + QStringLiteral(" = ") + quoted(current->name));
    if (!e.isError())
        e = dropField(db, table, current->name);
    if (!e.isError())
        e = db.exec(SqlStatement(QStringLiteral("ALTER TABLE ") + quoted(table) + QStringLiteral(" RENAME COLUMN ")
                                 + quoted(tmp) + QStringLiteral(" TO ") + quoted(current->name)))
                .error;
    for (const QString &indexSql : std::as_const(keptIndexes)) {
        if (e.isError())
            break;
        if (!indexSql.isEmpty())
            e = db.exec(SqlStatement(indexSql)).error;
    }
    if (!e.isError())
        e = sp.commit();
    if (e.isError())
        return runError(e, procedure);
    return true;
}

Fallible<qint64> DAO_NextID(Database &db, const QString &table, const QString &field)
{
    auto rs =
        OpenRS(db, SqlStatement(QStringLiteral("SELECT MAX(") + quoted(field) + QStringLiteral(") FROM ") + quoted(table)));
    if (!rs)
        return rs.failure();
    qint64 next = 1;
    if (rs->next() && !rs->value(0).isNull())
        next = rs->value(0).toLongLong() + 1;
    CloseObj(rs);
    return next;
}

namespace {
// An empty file, or another program's database, has none of them.
bool anyLedgerTable(const QStringList &tables)
{
    const auto &ledger = Schema::ledgerTables();
    return std::any_of(ledger.begin(), ledger.end(),
                       [&](const Schema::Table &t) { return tables.contains(t.name, Qt::CaseInsensitive); });
}
} // namespace

bool HoldsLedger(Database &db)
{
    Database::Result r = db.exec(SqlStatement(db.dialect().tablesSql()));
    QStringList tables;
    while (r.ok() && r.query.next())
        tables << r.query.value(0).toString();
    return r.ok() && anyLedgerTable(tables);
}

std::optional<Notice> CheckSchemaVersion(Database &db)
{
    const auto version = db.schemaVersion();
    if (!version || *version <= Schema::Version)
        return std::nullopt;
    return Notice::warn(QStringLiteral("이 장부는 새 버전의 프로그램이 만든 장부입니다 (장부 형식 %1).\r\n"
                                       "이 프로그램은 장부 형식 %2까지만 읽을 수 있어, 장부를 열지 않았습니다. 장부는 바뀌지 않았습니다.\r\n"
                                       "프로그램을 새 버전으로 바꾸어 주십시오.\r\n")
                            .arg(*version)
                            .arg(Schema::Version)
                            + QDir::toNativeSeparators(db.path()),
                        QStringLiteral("MDB 오류"));
}

namespace {

// On a server only the tables' owner may alter them, index them or put a trigger on them. A
// user without that right skips the maintenance, told once what it leaves undone (the live
// updates above all) instead of one raw refusal per step; an up-to-date ledger needs none, and
// nothing is said. True when the maintenance may run.
bool mayMaintain(Database &db, Notices &notices)
{
    const QString ownerSql = db.dialect().ledgerOwnerSql();
    if (ownerSql.isEmpty())
        return true;
    Database::Result owner = db.exec(SqlStatement(ownerSql));
    if (!owner.ok() || !owner.query.next() || owner.query.value(0).toBool())
        return true; // no voucher table, or an unreadable catalogue: the steps say what is wrong
    const QString ownerName = owner.query.value(1).toString();
    const QString user = owner.query.value(2).toString();
    owner.query.finish();
    Database::Result notice = db.exec(SqlStatement(db.dialect().changeNoticePresentSql()));
    const bool noNotice = notice.ok() && !notice.query.next();
    notice.query.finish();
    const auto version = db.schemaVersion();
    const bool older = version && *version < Schema::Version;
    if (!noNotice && !older)
        return false;
    QString text = QStringLiteral("장부 서버의 사용자 %1에게는 장부 표를 고칠 권한(표의 소유자 %2의 권한)이 없어, "
                                  "시작할 때 하는 장부 정비를 건너뛰었습니다.")
                       .arg(user, ownerName);
    if (noNotice)
        text += QStringLiteral("\r\n장부에 변경을 알리는 트리거가 없어, 다른 PC에서 바꾼 전표가 이 PC의 화면에 저절로 "
                               "나타나지 않습니다. 다시 조회하면 보입니다.");
    if (older)
        text += QStringLiteral("\r\n장부 형식 %1을 이 프로그램의 형식 %2로 올리지 못했습니다.").arg(*version).arg(Schema::Version);
    text += QStringLiteral("\r\n%1 사용자로 한 번 시작하면 정비됩니다. 장부는 그대로 쓸 수 있습니다.").arg(ownerName);
    notices << Notice::warn(text, QStringLiteral("장부 서버"));
    return false;
}

} // namespace

GroupCheck CheckGroupField(Database &db)
{
    GroupCheck check;
    Notices &notices = check.notices;
    // One look at the file first, so that a file that cannot be read (none open, damaged,
    // locked by another program) is reported once with the engine's words, not as a missing
    // table by every step below.
    const auto tables = OpenRSTexts(db, SqlStatement(db.dialect().tablesSql()));
    if (!tables) {
        notices << tables.failure();
        return check;
    }
    if (!anyLedgerTable(*tables)) {
        notices << Notice::warn(QStringLiteral("이 파일에는 장부가 없습니다. 빈 파일이거나 다른 프로그램의 파일입니다.\r\n")
                                    + QDir::toNativeSeparators(db.path()),
                                QStringLiteral("MDB 오류"));
        return check;
    }
    check.readable = true;
    if (!mayMaintain(db, notices))
        return check;

    // Tables that came after the first ledgers: the recycle bin, the call history, the notes,
    // the payments and opening balances, the business details.
    for (const QString &added : {Schema::recycleBinTable(), QStringLiteral("call_history"), Schema::notesTable(),
                                 Schema::paymentTable(), Schema::paymentBinTable(), Schema::openingTable(),
                                 Schema::shopInfoTable(), Schema::clientBusinessTable()}) {
        if (tables->contains(added, Qt::CaseInsensitive))
            continue;
        SqlError e;
        for (const QString &sql : db.dialect().tableSql(*Schema::ledgerTable(added)))
            if (!e.isError())
                e = db.exec(SqlStatement(sql)).error;
        if (e.isError())
            notices << indexError(e);
    }

    const QString group = QStringLiteral("group_name");
    const QString name = QStringLiteral("name");
    QStringList wide;
    // A failed step is said and the check goes on, as each step stands on its own.
    const auto said = [&](const Fallible<bool> &step) {
        if (!step)
            notices << step.failure();
        return step.valueOr(false);
    };
    if (said(DAO_EditField(db, group, name, {.size = Schema::GroupNameSize, .dropIndexes = true, .valuesTooLong = &wide})))
        said(DAO_AddIndex(db, group, name, IndexOption::Primary | IndexOption::Unique | IndexOption::Required));
    for (const QString &table : {QStringLiteral("total"), QStringLiteral("total_print")})
        said(DAO_EditField(db, table, group, {.size = Schema::GroupNameSize, .valuesTooLong = &wide}));
    // Said once per ledger, with an icon, in the shop's words; a name added since is said anew.
    if (!WideGroupNames::untold(db, wide).isEmpty()) {
        notices << Notice::warn(WideGroupNames::notice(wide), QStringLiteral("그룹 이름"));
        WideGroupNames::markTold(db, wide);
    }

    // Older files lack the lookup indexes of the ledger's queries, or have them over fewer
    // columns than declared now; those are added or rebuilt, only where table and fields exist.
    // Unique indexes are the fields' own business above and are never touched here.
    for (const Schema::Table &t : Schema::ledgerTables()) {
        SqlError e;
        const auto columns = tableColumns(db, t.name, &e);
        const auto existing = columns ? tableIndexes(db, t.name, &e) : std::nullopt;
        if (!existing)
            continue;
        for (const Schema::Index &i : t.indexes) {
            const QStringList wanted = i.columns();
            if (i.unique || i.primary
                || !std::all_of(wanted.begin(), wanted.end(), [&](const QString &c) { return findColumn(*columns, c); }))
                continue;
            const auto old = std::find_if(existing->begin(), existing->end(), [&](const IndexInfo &x) {
                return x.name.compare(i.name, Qt::CaseInsensitive) == 0;
            });
            if (old != existing->end()) {
                if (old->fields.join(QLatin1Char(',')).compare(wanted.join(QLatin1Char(',')), Qt::CaseInsensitive) == 0)
                    continue;
                e = db.exec(SqlStatement(QStringLiteral("DROP INDEX ") + quoted(old->name))).error;
            }
            if (!e.isError())
                e = db.exec(SqlStatement(db.dialect().createIndexSql(t, i))).error;
            if (e.isError())
                notices << indexError(e);
        }
    }
    for (const Schema::ExpressionIndex &i : Schema::expressionIndexes()) {
        SqlError e;
        const auto columns = tableColumns(db, i.table, &e);
        if (!columns || !findColumn(*columns, i.field))
            continue;
        e = db.exec(SqlStatement(db.dialect().createIndexSql(i))).error;
        if (e.isError())
            notices << indexError(e);
    }
    // The kind of each call came after the first call histories.
    const Schema::Table *calls = Schema::ledgerTable(QStringLiteral("call_history"));
    if (tables->contains(calls->name, Qt::CaseInsensitive)) {
        SqlError e;
        if (const auto columns = tableColumns(db, calls->name, &e)) {
            for (const Schema::Field &f : calls->fields)
                if (!e.isError() && !findColumn(*columns, f.name))
                    e = db.exec(SqlStatement(QStringLiteral("ALTER TABLE ") + quoted(calls->name)
                                             + QStringLiteral(" ADD COLUMN ") + db.dialect().columnDefinition(f)))
                            .error;
        }
        if (e.isError())
            notices << indexError(e);
    }
    // Server ledgers made before other PCs' changes were shown live get the trigger that
    // announces them; looked for first, as making it locks the voucher table.
    const QString noticePresent = db.dialect().changeNoticePresentSql();
    if (!noticePresent.isEmpty() && tables->contains(QStringLiteral("total"), Qt::CaseInsensitive)) {
        Database::Result present = db.exec(SqlStatement(noticePresent));
        SqlError e = present.error;
        if (!e.isError() && !present.query.next()) {
            present.query.finish();
            TransactionGuard guard(db, QStringLiteral("notice"));
            for (const QString &sql : db.dialect().changeNoticeSql())
                if (!e.isError())
                    e = db.exec(SqlStatement(sql)).error;
            if (!e.isError())
                e = guard.commit();
        }
        if (e.isError())
            notices << indexError(e);
    }
    // A ledger that cannot be written keeps its older mark; the first write the user makes
    // says why.
    if (const auto version = db.schemaVersion(); version && *version < Schema::Version)
        db.setSchemaVersion(Schema::Version);
    return check;
}
