// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include "core/data/database.h"
#include "core/data/recordset.h"
#include "core/data/schema.h"
#include "core/ledger/voucherquery.h"
#include "scriptedprompt.h"
#include "templedger.h"

class tst_Database : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }

    void schemaHasEveryTableAndRecordsSizes();
    void amountsAndCodesRefuseNonIntegers_data();
    void amountsAndCodesRefuseNonIntegers();
    void textOverFieldSizeIsRefusedBeforeWriting_data();
    void textOverFieldSizeIsRefusedBeforeWriting();
    void openRsOnNoDatabaseShowsOneBoxWithTheStatement();
    void openRsOnMissingTableShowsTheQueryBox();
    void openRsOnMissingColumnShowsTheQueryBox();
    void openRsOnLockedDatabaseShowsTheEngineText();
    void openRsOnDamagedFileShowsErrorAndLeavesFileUntouched();
    void openDbOnMissingFileFailsSilentlyAndCreatesNothing();
    void commitsSyncTheFolderToo();
    void readOnlyFileReadsButRefusesWrites();
    void closeObjOnEmptyResultDoesNothing();
    void displayWritesBoundValuesIn();
    void newVoucherKeyComesFromTheInsert();
    void transactionGuardsNestAndRollBackUnlessCommitted();
};

void tst_Database::schemaHasEveryTableAndRecordsSizes()
{
    TempLedger l;
    for (const char16_t *t : {u"total", u"total_print", u"maeip", u"maechul", u"product", u"group_name", u"user"})
        QVERIFY2(l.db().hasTable(QString::fromUtf16(t)), qPrintable(QString::fromUtf16(t)));
    int groupSize = -1;
    int nameSize = -1;
    for (const auto &[name, type] : l.db().columns(QStringLiteral("group_name")))
        if (name == QStringLiteral("name"))
            groupSize = Schema::sizeFromDeclaredType(type);
    for (const auto &[name, type] : l.db().columns(QStringLiteral("maechul")))
        if (name == QStringLiteral("name"))
            nameSize = Schema::sizeFromDeclaredType(type);
    QCOMPARE(groupSize, 6);
    QCOMPARE(nameSize, 16);
}

void tst_Database::amountsAndCodesRefuseNonIntegers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("stored");
    QTest::newRow("whole") << "maeip_cost" << QVariant(15000) << true;
    QTest::newRow("negative") << "maeip_cost" << QVariant(-20000) << true;
    QTest::newRow("int max") << "maechul_cost" << QVariant(qint64(2147483647)) << true;
    QTest::newRow("digits as text") << "maechul_usecost" << QVariant(QStringLiteral("1200")) << true;
    QTest::newRow("fraction") << "maeip_cost" << QVariant(12.5) << false;
    QTest::newRow("letters") << "maechul_cost" << QVariant(QStringLiteral("abc")) << false;
    QTest::newRow("code letters") << "maeip_code" << QVariant(QStringLiteral("x1")) << false;
}

void tst_Database::amountsAndCodesRefuseNonIntegers()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, stored);
    TempLedger l;
    SqlStatement st(QStringLiteral("INSERT INTO total (pro_name, %1) VALUES ('x', :v)").arg(field));
    st.bind(QStringLiteral("v"), value);
    const Database::Result r = l.db().exec(st);
    QCOMPARE(r.ok(), stored);
    QCOMPARE(l.count(QStringLiteral("total")), stored ? 1 : 0);
    if (!stored)
        QVERIFY(!r.error.text.isEmpty());
}

void tst_Database::textOverFieldSizeIsRefusedBeforeWriting_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("stored");
    QTest::newRow("group 3 syllables") << "group_name" << "name" << QStringLiteral("생활가") << true;
    QTest::newRow("group 4 syllables") << "group_name" << "name" << QStringLiteral("생활가전") << false;
    QTest::newRow("group 6 latin") << "group_name" << "name" << QStringLiteral("abcdef") << true;
    QTest::newRow("client 8 syllables") << "maechul" << "name" << QStringLiteral("가나다라마바사아") << true;
    QTest::newRow("client 7 syllables + 2") << "maeip" << "name" << QStringLiteral("서울종합전자유A1") << true;
    QTest::newRow("client 17 bytes") << "maeip" << "name" << QStringLiteral("서울종합전자유통A") << false;
}

void tst_Database::textOverFieldSizeIsRefusedBeforeWriting()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, stored);
    TempLedger l;
    SqlStatement st(table == QStringLiteral("group_name")
                        ? QStringLiteral("INSERT INTO group_name (name) VALUES (:name)")
                        : QStringLiteral("INSERT INTO %1 (id, name) VALUES (1, :name)").arg(table));
    st.bind(field, value).into(table);
    const Database::Result r = l.db().exec(st);
    QCOMPARE(r.ok(), stored);
    QCOMPARE(l.count(table), stored ? 1 : 0);
    if (!stored) {
        QCOMPARE(r.error.kind, SqlError::Kind::TooLong);
        QVERIFY(r.error.code != 0);
        QVERIFY(r.error.text.contains(field));
    }
}

void tst_Database::openRsOnNoDatabaseShowsOneBoxWithTheStatement()
{
    Database db; // never opened
    ScriptedPrompt p;
    p.ok();
    const SqlStatement st = voucherQuery(SqlDialect(), {});
    QVERIFY(!shownOnFailure(OpenRS(db, st), p));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("MDB 오류"));
    QCOMPARE(p.last().icon, UserPrompt::Icon::Information);
    QCOMPARE(p.last().text, QStringLiteral("Data Base MDB가 선언되지 않았습니다.\r") + st.display());
}

void tst_Database::openRsOnMissingTableShowsTheQueryBox()
{
    TempLedger l;
    ScriptedPrompt p;
    p.ok();
    QVERIFY(!shownOnFailure(OpenRS(l.db(), SqlStatement(QStringLiteral("SELECT * FROM totals"))), p));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("Query"));
    QCOMPARE(p.last().text, QStringLiteral("Jet Data Base Engine의 식을 확인하세요.\rSELECT * FROM totals"));
}

void tst_Database::openRsOnMissingColumnShowsTheQueryBox()
{
    TempLedger l;
    ScriptedPrompt p;
    p.ok();
    SqlStatement st(QStringLiteral("SELECT nonexistent FROM total WHERE pro_name = :p"));
    st.bind(QStringLiteral("p"), QStringLiteral("O'Neil"));
    QVERIFY(!shownOnFailure(OpenRS(l.db(), st), p));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("Query"));
    // The statement is shown with its value written in.
    QVERIFY(p.last().text.endsWith(QStringLiteral("WHERE pro_name = 'O''Neil'")));
}

void tst_Database::openRsOnLockedDatabaseShowsTheEngineText()
{
    TempLedger l;
    l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 1000));
    Database other;
    QVERIFY(other.open(l.path()));
    QVERIFY_SQL(other.exec(SqlStatement(QStringLiteral("BEGIN EXCLUSIVE"))));
    ScriptedPrompt p;
    p.ok();
    QElapsedTimer t;
    t.start();
    QVERIFY(!shownOnFailure(OpenRS(l.db(), SqlStatement(QStringLiteral("SELECT * FROM total"))), p));
    QVERIFY2(t.elapsed() < 3000, "a lock must not hang the window");
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("MDB 오류"));
    QVERIFY(p.last().text.contains(QStringLiteral("locked")));
    QVERIFY(p.last().text.endsWith(QStringLiteral("\rSELECT * FROM total")));
    QVERIFY_SQL(other.exec(SqlStatement(QStringLiteral("ROLLBACK"))));
    QVERIFY(shownOnFailure(OpenRS(l.db(), SqlStatement(QStringLiteral("SELECT * FROM total"))), p));
}

void tst_Database::openRsOnDamagedFileShowsErrorAndLeavesFileUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panDB.db"));
    const QByteArray content("이것은 데이터베이스가 아닙니다.\nplain text\n");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    Database db;
    db.open(path);
    ScriptedPrompt p;
    p.ok();
    QVERIFY(!shownOnFailure(OpenRS(db, voucherQuery(SqlDialect(), {})), p));
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.last().title, QStringLiteral("ERROR"));
    db.close();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

void tst_Database::openDbOnMissingFileFailsSilentlyAndCreatesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panDB.db"));
    Database db;
    QVERIFY(!db.open(path));
    QVERIFY(!db.isOpen());
    QVERIFY(!QFile::exists(path));
}

void tst_Database::commitsSyncTheFolderToo()
{
    // EXTRA (3): the rollback journal's delete is synced with the folder, so a power cut cannot
    // bring the journal back and undo a commit that was reported done. FULL (2) is not enough.
    TempLedger l;
    Database::Result r = l.exec(SqlStatement(QStringLiteral("PRAGMA synchronous")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toInt(), 3);
    r.query.finish();
    r = l.exec(SqlStatement(QStringLiteral("PRAGMA journal_mode")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toString(), QStringLiteral("delete"));
}

void tst_Database::readOnlyFileReadsButRefusesWrites()
{
    TempLedger source;
    source.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("TV"), 1000));
    source.db().close();
    QFile::setPermissions(source.path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    // Root writes through file permissions; the engine's read-only mode stands in for them then.
    const bool rootLike = QFileInfo(source.path()).isWritable();
    Database db;
    QVERIFY(db.open(source.path(), false, rootLike ? Database::Access::ReadOnly : Database::Access::ReadWrite));
    ScriptedPrompt p;
    auto rs = shownOnFailure(OpenRS(db, SqlStatement(QStringLiteral("SELECT pro_name FROM total"))), p);
    QVERIFY(rs && rs->next());
    CloseObj(rs);
    const auto r = db.exec(SqlStatement(QStringLiteral("DELETE FROM total")));
    QVERIFY(!r.ok());
    QVERIFY(r.error.text.contains(QStringLiteral("readonly")));
}

void tst_Database::closeObjOnEmptyResultDoesNothing()
{
    std::optional<QSqlQuery> none;
    CloseObj(none);
    QVERIFY(!none);
}

void tst_Database::displayWritesBoundValuesIn()
{
    SqlStatement st(QStringLiteral("SELECT * FROM total WHERE a = :name AND b = :name2 AND c = :n AND d = :z"));
    st.bind(QStringLiteral("name"), QStringLiteral("x'y")).bind(QStringLiteral("name2"), QStringLiteral("q"))
        .bind(QStringLiteral("n"), 5).bind(QStringLiteral("z"), QVariant());
    QCOMPARE(st.display(), QStringLiteral("SELECT * FROM total WHERE a = 'x''y' AND b = 'q' AND c = 5 AND d = NULL"));
}

void tst_Database::newVoucherKeyComesFromTheInsert()
{
    TempLedger l;
    const qint64 a = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 1));
    const qint64 b = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("B"), 1));
    QVERIFY(a > 0);
    QCOMPARE(b, a + 1);
    // Keys are never handed out again, even after the newest voucher is deleted.
    l.exec(SqlStatement(QStringLiteral("DELETE FROM total WHERE total_id = :id")).bind(QStringLiteral("id"), b));
    const qint64 c = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("C"), 1));
    QCOMPARE(c, b + 1);
}

void tst_Database::transactionGuardsNestAndRollBackUnlessCommitted()
{
    TempLedger l;
    const auto add = [&l](const QString &name) {
        SqlStatement st(QStringLiteral("INSERT INTO product (name) VALUES (:n)"));
        QVERIFY_SQL(l.exec(st.bind(QStringLiteral("n"), name)));
    };
    {
        TransactionGuard outer(l.db());
        QVERIFY(outer.active());
        add(QStringLiteral("kept"));
        {
            TransactionGuard inner(l.db(), QStringLiteral("inner"));
            add(QStringLiteral("undone"));
        }
        QVERIFY(!outer.commit().isError());
    }
    {
        TransactionGuard dropped(l.db());
        add(QStringLiteral("dropped"));
    }
    // Inside a transaction the guard opened by other means, only the guard's part is undone.
    QVERIFY_SQL(l.exec(SqlStatement(QStringLiteral("BEGIN"))));
    add(QStringLiteral("outside"));
    {
        TransactionGuard inner(l.db());
        add(QStringLiteral("undone too"));
    }
    QVERIFY_SQL(l.exec(SqlStatement(QStringLiteral("COMMIT"))));
    ScriptedPrompt p;
    const auto names =
        shownOnFailure(OpenRSTexts(l.db(), SqlStatement(QStringLiteral("SELECT name FROM product ORDER BY name"))), p);
    QCOMPARE(names, std::optional<QStringList>(QStringList{QStringLiteral("kept"), QStringLiteral("outside")}));

    Database closed;
    TransactionGuard none(closed);
    QVERIFY(!none.active());
    QVERIFY(none.commit().isError());
}

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_database.moc"
