// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include "core/data/database.h"
#include "core/data/schema.h"
#include "core/data/schemamaint.h"
#include "core/shell/startup.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

// The routines return their boxes; shown here, so that each case reads what the user sees.
template <typename T>
T shown(const Fallible<T> &result, UserPrompt &prompt, T failed = T())
{
    prompt.show(result.failure());
    return result.valueOr(failed);
}

bool versionAccepted(Database &db, UserPrompt &prompt)
{
    const auto refusal = CheckSchemaVersion(db);
    if (refusal)
        prompt.show(*refusal);
    return !refusal;
}

// A ledger file written from SQL text, one statement per line.
bool loadSql(const QString &path, const QString &sqlFile, Database &db)
{
    QFile f(sqlFile);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.close();
    if (!db.open(path))
        return false;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QString s = line.trimmed();
        if (s.isEmpty() || s.startsWith(QLatin1String("--")))
            continue;
        const Database::Result r = db.exec(SqlStatement(s));
        if (!r.ok()) {
            qWarning() << r.error.text << s;
            return false;
        }
    }
    return true;
}

// Every table's fields (name, declared type, required), order aside.
QStringList fieldsOf(Database &db)
{
    QStringList out;
    Database::Result r = db.exec(SqlStatement(QStringLiteral(
        "SELECT m.name, p.name, p.type, p.\"notnull\" FROM sqlite_master m, pragma_table_info(m.name) p "
        "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite_%'")));
    while (r.query.next())
        out << QStringLiteral("%1.%2 %3 %4").arg(r.query.value(0).toString(), r.query.value(1).toString(),
                                                 r.query.value(2).toString(), r.query.value(3).toString());
    out.sort();
    return out;
}

QStringList indexesOf(Database &db)
{
    QStringList out;
    Database::Result r = db.exec(SqlStatement(QStringLiteral(
        "SELECT m.tbl_name, m.name, il.\"unique\", (SELECT group_concat(name) FROM pragma_index_info(m.name)) "
        "FROM sqlite_master m JOIN pragma_index_list(m.tbl_name) il ON il.name = m.name WHERE m.type = 'index'")));
    while (r.query.next())
        out << QStringLiteral("%1.%2 unique=%3 (%4)").arg(r.query.value(0).toString(), r.query.value(1).toString(),
                                                           r.query.value(2).toString(), r.query.value(3).toString());
    out.sort();
    return out;
}

QString schemaText(Database &db)
{
    QStringList out;
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT sql FROM sqlite_master ORDER BY name")));
    while (r.query.next())
        out << r.query.value(0).toString();
    return out.join(QLatin1Char('\n'));
}

// Every row of a table by field name, so a moved field compares equal; NULL and '' differ.
QStringList rowsOf(Database &db, const QString &table)
{
    QStringList out;
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT * FROM \"%1\"").arg(table)));
    while (r.query.next()) {
        const QSqlRecord rec = r.query.record();
        QStringList cells;
        for (int i = 0; i < rec.count(); ++i) {
            const QVariant v = rec.value(i);
            cells << rec.fieldName(i) + QLatin1Char('=')
                         + (v.isNull() ? QStringLiteral("<NULL>") : QLatin1Char('[') + v.toString() + QLatin1Char(']'));
        }
        cells.sort();
        out << cells.join(QLatin1Char('|'));
    }
    out.sort();
    return out;
}

// The shop's rows; the program's own notes (what it has said) aside.
QStringList allRows(Database &db)
{
    QStringList out;
    for (const Schema::Table &t : Schema::ledgerTables())
        if (t.name != Schema::notesTable())
            out << t.name << rowsOf(db, t.name);
    return out;
}

QString lastField(Database &db, const QString &table)
{
    const auto cols = db.columns(table);
    return cols.isEmpty() ? QString() : cols.last().first + QLatin1Char(' ') + cols.last().second;
}

QString declared(Database &db, const QString &table, const QString &field)
{
    for (const auto &c : db.columns(table))
        if (c.first == field)
            return c.second;
    return {};
}

QString fixture() { return QStringLiteral(SOLBITSEM_SOURCE_DIR "/tests/fixtures/older-ledger.sql"); }

} // namespace

class TestSchemaMaint final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init();
    void currentLedgerIsLeftAlone();
    void olderLedgerIsBroughtUpToDate();
    void tooLongValueKeepsOldField();
    void duplicateGroupsLeaveTableWithoutKey();
    void editFieldRules_data();
    void editFieldRules();
    void editFieldKeepsOtherIndexes();
    void editFieldToIntegerRefusesText();
    void addAndDeleteField();
    void indexes();
    void nextId();
    void versionMark();
};

void TestSchemaMaint::init()
{
    if (TestEngine::isServer() && QTest::currentTestFunction() != QByteArrayView("versionMark"))
        QSKIP("the file's own layout: the file copy runs it");
}

void TestSchemaMaint::currentLedgerIsLeftAlone()
{
    TempLedger ledger;
    const QString before = schemaText(ledger.db());
    ScriptedPrompt prompt;
    CheckGroupField(ledger.db(), prompt);
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(schemaText(ledger.db()), before);
}

void TestSchemaMaint::olderLedgerIsBroughtUpToDate()
{
    QTemporaryDir dir;
    Database db;
    QVERIFY(loadSql(dir.filePath(QStringLiteral("panDB.db")), fixture(), db));
    QCOMPARE(declared(db, QStringLiteral("group_name"), QStringLiteral("name")), QStringLiteral("VARCHAR(10)"));
    // An earlier version's period index, over the date alone, is rebuilt with today's columns.
    QVERIFY(db.exec(SqlStatement(QStringLiteral("CREATE INDEX total_maechul_date ON total (maechul_date)"))).ok());
    const QStringList rowsBefore = allRows(db);
    QCOMPARE(db.schemaVersion(), 0);

    ScriptedPrompt prompt;
    QVERIFY(versionAccepted(db, prompt));
    CheckGroupField(db, prompt);
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(db.schemaVersion(), Schema::Version);

    TempLedger fresh;
    QCOMPARE(fieldsOf(db), fieldsOf(fresh.db()));
    QCOMPARE(indexesOf(db), indexesOf(fresh.db()));
    QCOMPARE(allRows(db), rowsBefore);
    QCOMPARE(lastField(db, QStringLiteral("total")), QStringLiteral("group_name VARCHAR(6)"));
    QCOMPARE(lastField(db, QStringLiteral("total_print")), QStringLiteral("group_name VARCHAR(6)"));

    // The key refuses a second group differing only in letter case, and the counter goes on
    // after the largest key ever given (9), not the largest left (8).
    QVERIFY(!db.exec(SqlStatement(QStringLiteral("INSERT INTO group_name (name) VALUES ('abc')"))).ok());
    QVERIFY(!db.exec(SqlStatement(QStringLiteral("INSERT INTO group_name (name) VALUES (NULL)"))).ok());
    Database::Result ins = db.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name) VALUES ('x')")));
    QVERIFY(ins.ok());
    QCOMPARE(ins.lastInsertId, 10);
    db.exec(SqlStatement(QStringLiteral("DELETE FROM total WHERE total_id = 10")));

    const QString upgraded = schemaText(db);
    CheckGroupField(db, prompt);
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(schemaText(db), upgraded);
    QCOMPARE(allRows(db), rowsBefore);
}

void TestSchemaMaint::tooLongValueKeepsOldField()
{
    QTemporaryDir dir;
    Database db;
    QVERIFY(loadSql(dir.filePath(QStringLiteral("panDB.db")), fixture(), db));
    // 생활가전 takes 8 bytes and cannot move into 6.
    QVERIFY(db.exec(SqlStatement(QStringLiteral("INSERT INTO group_name VALUES ('생활가전')"))).ok());
    QVERIFY(db.exec(SqlStatement(QStringLiteral("UPDATE total SET group_name = '생활가전' WHERE total_id = 2"))).ok());
    const QStringList rowsBefore = allRows(db);

    // Said once for the ledger, with an icon, in the shop's words: which names, where to shorten.
    ScriptedPrompt prompt;
    prompt.ok();
    CheckGroupField(db, prompt);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::Warning);
    QCOMPARE(prompt.last().title, QStringLiteral("그룹 이름"));
    QVERIFY2(prompt.last().text.startsWith(QStringLiteral("그룹 이름 1개가 지금 쓸 수 있는 길이(한글 3자, 영문·숫자 6자)보다 깁니다: 생활가전\r\n")),
             qPrintable(prompt.last().text));
    QVERIFY(prompt.last().text.contains(QStringLiteral("[도구] → [그룹 이름]")));
    // Not again at the next starts, also on a copy of the ledger (the note is in it); a long name
    // added since is said anew, with the others.
    for (int start = 0; start < 2; ++start)
        CheckGroupField(db, prompt);
    QCOMPARE(prompt.count(), 1);
    QTemporaryDir other;
    const QString copy = other.filePath(QStringLiteral("panDB.db"));
    QVERIFY(QFile::copy(db.path(), copy));
    {
        Database copied;
        QVERIFY(copied.open(copy));
        CheckGroupField(copied, prompt);
        QCOMPARE(prompt.count(), 1);
    }
    QVERIFY(db.exec(SqlStatement(QStringLiteral("INSERT INTO group_name VALUES ('주방가전')"))).ok());
    prompt.ok();
    CheckGroupField(db, prompt);
    QCOMPARE(prompt.count(), 2);
    QVERIFY(prompt.last().text.contains(QStringLiteral("그룹 이름 2개가")));
    QVERIFY(db.exec(SqlStatement(QStringLiteral("DELETE FROM group_name WHERE name = '주방가전'"))).ok());
    QCOMPARE(declared(db, QStringLiteral("group_name"), QStringLiteral("name")), QStringLiteral("VARCHAR(10)"));
    QCOMPARE(declared(db, QStringLiteral("total"), QStringLiteral("group_name")), QStringLiteral("VARCHAR(10)"));
    QCOMPARE(lastField(db, QStringLiteral("total")), QStringLiteral("pro_name VARCHAR(50)"));
    // total_print holds no long value and is brought up to date all the same.
    QCOMPARE(declared(db, QStringLiteral("total_print"), QStringLiteral("group_name")), QStringLiteral("VARCHAR(6)"));
    QCOMPARE(allRows(db), rowsBefore);
    QVERIFY(!db.hasTable(QStringLiteral("group_name_Rebuild")));
    for (const auto &c : db.columns(QStringLiteral("total")))
        QVERIFY(!c.first.endsWith(QLatin1String("_AlterTmp")));
}

void TestSchemaMaint::duplicateGroupsLeaveTableWithoutKey()
{
    QTemporaryDir dir;
    Database db;
    QVERIFY(loadSql(dir.filePath(QStringLiteral("panDB.db")), fixture(), db));
    QVERIFY(db.exec(SqlStatement(QStringLiteral("INSERT INTO group_name VALUES ('abc')"))).ok());
    const QStringList before = rowsOf(db, QStringLiteral("group_name"));

    ScriptedPrompt prompt;
    prompt.ok();
    CheckGroupField(db, prompt);
    QCOMPARE(prompt.count(), 1);
    QVERIFY2(prompt.last().lines().startsWith(QStringLiteral("오류번호 : ")), qPrintable(prompt.last().text));
    QVERIFY(prompt.last().lines().contains(QStringLiteral("\n오류내용 : ")));
    // The field itself was rebuilt; only its key is missing.
    QCOMPARE(declared(db, QStringLiteral("group_name"), QStringLiteral("name")), QStringLiteral("VARCHAR(6)"));
    QVERIFY(!indexesOf(db).join(QLatin1Char(' ')).contains(QLatin1String("group_name.group_name_name")));
    QCOMPARE(rowsOf(db, QStringLiteral("group_name")), before);
}

void TestSchemaMaint::editFieldRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("declaredAfter");

    QTest::newRow("same size") << "name" << 16 << DaoType::Keep << false << "VARCHAR(16)";
    QTest::newRow("size 0 keeps size") << "name" << 0 << DaoType::Keep << false << "VARCHAR(16)";
    QTest::newRow("letter case of field") << "NAME" << 20 << DaoType::Keep << true << "VARCHAR(20)";
    QTest::newRow("larger") << "name" << 30 << DaoType::Text << true << "VARCHAR(30)";
    QTest::newRow("missing, type kept") << "fax" << 20 << DaoType::Keep << false << "";
    QTest::newRow("missing, text") << "fax" << 20 << DaoType::Text << true << "VARCHAR(20)";
    QTest::newRow("missing, number") << "grade" << 20 << DaoType::Long << true << "INTEGER";
}

void TestSchemaMaint::editFieldRules()
{
    QFETCH(QString, field);
    QFETCH(int, size);
    QFETCH(int, type);
    QFETCH(bool, result);
    QFETCH(QString, declaredAfter);

    TempLedger ledger;
    ledger.addClient(0, 5, QStringLiteral("가나상사"), QStringLiteral("02-123-4567"));
    const QStringList before = rowsOf(ledger.db(), QStringLiteral("maeip"));
    ScriptedPrompt prompt;
    QCOMPARE(shown(DAO_EditField(ledger.db(), QStringLiteral("maeip"), field, {.size = size, .type = type}), prompt), result);
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(declared(ledger.db(), QStringLiteral("maeip"), field.toLower()), declaredAfter);
    if (!result) {
        QCOMPARE(rowsOf(ledger.db(), QStringLiteral("maeip")), before);
        return;
    }
    // Changed or added, the field comes last; an added field is filled, the rest unchanged.
    QVERIFY(lastField(ledger.db(), QStringLiteral("maeip")).startsWith(field.toLower() + QLatin1Char(' ')));
    Database::Result r = ledger.exec(SqlStatement(QStringLiteral("SELECT * FROM maeip")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(QStringLiteral("name")).toString(), QStringLiteral("가나상사"));
    QCOMPARE(r.query.value(QStringLiteral("tel")).toString(), QStringLiteral("02-123-4567"));
    if (field == QLatin1String("fax"))
        QCOMPARE(r.query.value(QStringLiteral("fax")), QVariant(QString()));
    if (field == QLatin1String("grade"))
        QCOMPARE(r.query.value(QStringLiteral("grade")).toLongLong(), 0);
}

void TestSchemaMaint::editFieldKeepsOtherIndexes()
{
    TempLedger ledger;
    ledger.addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("볼펜"), 100, {}, 0, 0, QStringLiteral("사무")));
    ScriptedPrompt prompt;
    const QStringList indexes = indexesOf(ledger.db());
    QVERIFY(shown(DAO_EditField(ledger.db(), QStringLiteral("total"), QStringLiteral("group_name"), {.size = 8}), prompt));
    QCOMPARE(indexesOf(ledger.db()), indexes);
    QCOMPARE(lastField(ledger.db(), QStringLiteral("total")), QStringLiteral("group_name VARCHAR(8)"));
    // With dropIndexes the field's indexes go, the others stay.
    QVERIFY(shown(DAO_EditField(ledger.db(), QStringLiteral("total"), QStringLiteral("group_name"),
                          {.size = 6, .dropIndexes = true}), prompt));
    QStringList expected = indexes;
    expected.removeIf([](const QString &s) {
        return s.startsWith(QLatin1String("total.")) && s.section(QLatin1Char('('), 1).contains(QLatin1String("group_name"));
    });
    QCOMPARE(indexesOf(ledger.db()), expected);
    QCOMPARE(rowsOf(ledger.db(), QStringLiteral("total")).size(), 1);
    QVERIFY(rowsOf(ledger.db(), QStringLiteral("total")).first().contains(QStringLiteral("group_name=[사무]")));
}

void TestSchemaMaint::editFieldToIntegerRefusesText()
{
    TempLedger ledger;
    ledger.addClient(1, 1, QStringLiteral("한빛"), QStringLiteral("031-123-4567"));
    const QStringList before = rowsOf(ledger.db(), QStringLiteral("maechul"));
    ScriptedPrompt prompt;
    prompt.ok();
    QVERIFY(!shown(DAO_EditField(ledger.db(), QStringLiteral("maechul"), QStringLiteral("tel"), {.type = DaoType::Long}), prompt));
    QCOMPARE(prompt.count(), 1);
    QVERIFY(prompt.last().text.endsWith(QLatin1String(" in procedure DAO_EditField of Module mdlCommonQX")));
    QCOMPARE(declared(ledger.db(), QStringLiteral("maechul"), QStringLiteral("tel")), QStringLiteral("VARCHAR(20)"));
    QCOMPARE(rowsOf(ledger.db(), QStringLiteral("maechul")), before);
    QCOMPARE(lastField(ledger.db(), QStringLiteral("maechul")), QStringLiteral("memo VARCHAR(100)"));
}

void TestSchemaMaint::addAndDeleteField()
{
    TempLedger ledger;
    ledger.addClient(0, 1, QStringLiteral("가나"));
    ScriptedPrompt prompt;
    QVERIFY(!shown(DAO_AddField(ledger.db(), QStringLiteral("maeip"), QStringLiteral("MEMO"), DaoType::Text, 10, true), prompt));
    QVERIFY(shown(DAO_AddField(ledger.db(), QStringLiteral("maeip"), QStringLiteral("fax"), DaoType::Text, 20, false,
                         QStringLiteral("UPDATE maeip SET fax = '02-000-0000'")), prompt));
    QCOMPARE(declared(ledger.db(), QStringLiteral("maeip"), QStringLiteral("fax")), QStringLiteral("VARCHAR(20)"));
    // Zero-length text is refused where it is not allowed.
    QVERIFY(!ledger.db().exec(SqlStatement(QStringLiteral("UPDATE maeip SET fax = ''"))).ok());
    QVERIFY(shown(DAO_DelField(ledger.db(), QStringLiteral("maeip"), QStringLiteral("fax")), prompt));
    QCOMPARE(declared(ledger.db(), QStringLiteral("maeip"), QStringLiteral("fax")), QString());
    QCOMPARE(prompt.count(), 0);

    prompt.ok().ok().ok();
    QVERIFY(!shown(DAO_AddField(ledger.db(), QStringLiteral("nosuch"), QStringLiteral("x"), DaoType::Text, 10, true), prompt));
    QCOMPARE(prompt.count(), 1);
    QVERIFY(prompt.last().lines().endsWith(
        QLatin1String(") in procedure DAO_AddField of Module mdlCommonQX\n[TABLE]: nosuch,    [FIELD]: x")));
    QVERIFY(!shown(DAO_DelField(ledger.db(), QStringLiteral("maeip"), QStringLiteral("nosuch")), prompt));
    QCOMPARE(prompt.count(), 2);
    QVERIFY(prompt.last().text.contains(QLatin1String("in procedure DAO_DelField of Module mdlCommonQX")));
    // A failing fill statement leaves no half-added field behind.
    QVERIFY(!shown(DAO_AddField(ledger.db(), QStringLiteral("maeip"), QStringLiteral("fax"), DaoType::Text, 20, true,
                          QStringLiteral("UPDATE maeip SET nosuch = 1")), prompt));
    QCOMPARE(prompt.count(), 3);
    QCOMPARE(declared(ledger.db(), QStringLiteral("maeip"), QStringLiteral("fax")), QString());
}

void TestSchemaMaint::indexes()
{
    TempLedger ledger;
    ScriptedPrompt prompt;
    // The group table's key exists: nothing to do.
    QVERIFY(!shown(DAO_AddIndex(ledger.db(), QStringLiteral("group_name"), QStringLiteral("NAME"),
                          IndexOption::Primary | IndexOption::Unique | IndexOption::Required), prompt));
    // A plain index exists on product.name; a primary one is still wanted and built.
    ledger.exec(SqlStatement(QStringLiteral("INSERT INTO product (name) VALUES ('볼펜'), ('공책')")));
    QVERIFY(!shown(DAO_AddIndex(ledger.db(), QStringLiteral("product"), QStringLiteral("name"), {}), prompt));
    QVERIFY(shown(DAO_AddIndex(ledger.db(), QStringLiteral("product"), QStringLiteral("name"),
                         IndexOption::Primary | IndexOption::Unique | IndexOption::Required), prompt));
    QVERIFY(indexesOf(ledger.db()).contains(QStringLiteral("product.product_name unique=1 (name)")));
    QVERIFY(!ledger.db().exec(SqlStatement(QStringLiteral("INSERT INTO product (name) VALUES (NULL)"))).ok());
    QCOMPARE(ledger.count(QStringLiteral("product")), 2);
    QVERIFY(shown(DAO_DelIndex(ledger.db(), QStringLiteral("product"), QStringLiteral("Name")), prompt));
    QVERIFY(!indexesOf(ledger.db()).join(QLatin1Char(' ')).contains(QLatin1String("product.")));
    QCOMPARE(prompt.count(), 0);

    prompt.ok();
    QVERIFY(!shown(DAO_AddIndex(ledger.db(), QStringLiteral("product"), QStringLiteral("nosuch"), {}), prompt));
    QCOMPARE(prompt.count(), 1);
    QVERIFY(prompt.last().text.startsWith(QStringLiteral("오류번호 : ")));
}

void TestSchemaMaint::nextId()
{
    TempLedger ledger;
    ScriptedPrompt prompt;
    QCOMPARE(shown(DAO_NextID(ledger.db(), QStringLiteral("maeip"), QStringLiteral("id")), prompt, qint64(-1)), 1);
    ledger.addClient(0, 7, QStringLiteral("a"));
    ledger.addClient(0, 41, QStringLiteral("b"));
    QCOMPARE(shown(DAO_NextID(ledger.db(), QStringLiteral("maeip"), QStringLiteral("id")), prompt, qint64(-1)), 42);
    ledger.addClient(0, 70000, QStringLiteral("c"));
    QCOMPARE(shown(DAO_NextID(ledger.db(), QStringLiteral("maeip"), QStringLiteral("id")), prompt, qint64(-1)), 70001);
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(shown(DAO_NextID(ledger.db(), QStringLiteral("nosuch"), QStringLiteral("id")), prompt.ok(), qint64(-1)), -1);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().title, QStringLiteral("Query"));
}

void TestSchemaMaint::versionMark()
{
    TempLedger l;
    QCOMPARE(l.db().schemaVersion(), Schema::Version);
    ScriptedPrompt prompt;
    QVERIFY(versionAccepted(l.db(), prompt));
    // A ledger of a program that recorded no version is never refused; the maintenance records
    // today's.
    QVERIFY(!l.db().setSchemaVersion(0).isError());
    QVERIFY(versionAccepted(l.db(), prompt));
    CheckGroupField(l.db(), prompt);
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(l.db().schemaVersion(), Schema::Version);

    // A newer program's ledger is refused with both versions named, and left as it is.
    QVERIFY(!l.db().setSchemaVersion(Schema::Version + 1).isError());
    prompt.ok();
    QVERIFY(!versionAccepted(l.db(), prompt));
    QCOMPARE(prompt.count(), 1);
    QVERIFY(prompt.last().text.contains(QStringLiteral("장부 형식 %1").arg(Schema::Version + 1)));
    QVERIFY(prompt.last().text.contains(QStringLiteral("장부 형식 %1까지").arg(Schema::Version)));
    QCOMPARE(l.db().schemaVersion(), Schema::Version + 1);
}

QTEST_APPLESS_MAIN(TestSchemaMaint)
#include "tst_schemamaint.moc"
