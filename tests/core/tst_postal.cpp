// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/cp949.h"
#include "core/data/database.h"
#include "core/masterdata/postalimport.h"
#include "core/masterdata/postalsearch.h"
#include "core/shell/startup.h"
#include "scriptedprompt.h"

namespace {

QString sampleCsv() { return QStringLiteral(SOLBITSEM_SOURCE_DIR "/resources/postal/dbpost-sample.csv"); }

QStringList postRows(const QString &path)
{
    Database db;
    if (!db.open(path, false, Database::Access::ReadOnly))
        return {QStringLiteral("<cannot open>")};
    QStringList out;
    Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT ZIPCODE, SIDO, GUGUN, DONG, BUNJI FROM Post ORDER BY rowid")));
    while (r.query.next()) {
        QStringList cells;
        for (int i = 0; i < 5; ++i)
            cells << r.query.value(i).toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

class TestPostal final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void queryRule_data();
    void queryRule();
    void search_data();
    void search();
    void formatZip_data();
    void formatZip();
    void pick_data();
    void pick();
    void unusableFile_data();
    void unusableFile();
    void importLayouts_data();
    void importLayouts();
    void importRefusals_data();
    void importRefusals();
    void importReportsProgress();
    void firstStartCopiesShippedFile();

private:
    QTemporaryDir m_dir;
    QString m_post;
};

void TestPostal::initTestCase()
{
    m_post = m_dir.filePath(QStringLiteral("dbpost.db"));
    const PostalImport::Result r = PostalImport::buildFromFile(sampleCsv(), m_post);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.skipped, 0);
    QCOMPARE(r.rows, 55);
}

void TestPostal::queryRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where"); // the field searched
    QTest::newRow("empty: everything") << QString() << QString();
    QTest::newRow("Hangul: town") << QStringLiteral("역삼") << QStringLiteral("DONG");
    QTest::newRow("Hangul after digit: code") << QStringLiteral("1역") << QStringLiteral("ZIPCODE");
    QTest::newRow("digits: code") << QStringLiteral("1357") << QStringLiteral("ZIPCODE");
    QTest::newRow("Latin: code") << QStringLiteral("abc") << QStringLiteral("ZIPCODE");
    QTest::newRow("Hanja is double-byte too") << QStringLiteral("江南") << QStringLiteral("DONG");
}

void TestPostal::queryRule()
{
    QFETCH(QString, text);
    QFETCH(QString, where);
    const SqlStatement st = PostalSearch::query(text);
    QVERIFY(st.text.startsWith(QStringLiteral("SELECT ZIPCODE, SIDO, GUGUN, DONG, BUNJI FROM Post ")));
    QVERIFY(st.text.endsWith(QStringLiteral("ORDER BY ZIPCODE")));
    if (where.isEmpty()) {
        QVERIFY(!st.text.contains(QStringLiteral("WHERE")));
        QVERIFY(st.binds.isEmpty());
    } else {
        QVERIFY2(st.text.contains(QRegularExpression(QStringLiteral(" WHERE instr\\((lower\\()?%1\\b").arg(where))),
                 qPrintable(st.text));
        QCOMPARE(st.binds.size(), 1);
        QVERIFY(!st.text.contains(text)); // bound, never pasted
    }
}

void TestPostal::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("zips");
    QTest::newRow("town anywhere") << QStringLiteral("역삼")
                                   << QStringList{QStringLiteral("135-080"), QStringLiteral("135080"), QStringLiteral("135081")};
    QTest::newRow("exactly one") << QStringLiteral("둔산동") << QStringList{QStringLiteral("302120")};
    QTest::newRow("code digits anywhere") << QStringLiteral("120")
                                          << QStringList{QStringLiteral("302120"), QStringLiteral("612020"), QStringLiteral("712010")};
    QTest::newRow("code with dash") << QStringLiteral("463-")  << QStringList{QStringLiteral("463-050")};
    QTest::newRow("nothing") << QStringLiteral("없는동") << QStringList{};
    QTest::newRow("apostrophe") << QStringLiteral("'") << QStringList{};
    QTest::newRow("percent literal") << QStringLiteral("%") << QStringList{};
    QTest::newRow("underscore literal") << QStringLiteral("_") << QStringList{};
    QTest::newRow("past the engine's pattern limit") << QString(100000, u'동') << QStringList{};
}

void TestPostal::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, zips);
    PostalSearch post;
    QVERIFY2(post.open(m_post), qPrintable(post.errorText()));
    ScriptedPrompt prompt;
    const auto rows = post.search(text, prompt);
    QVERIFY(rows);
    QStringList got;
    for (const PostalRow &r : *rows)
        got << r.zipcode;
    QCOMPARE(got, zips);
    if (text == QStringLiteral("둔산동"))
        QCOMPARE(PostalSearch::address(rows->front()), QStringLiteral("대전 서구 둔산동"));

    const auto all = post.search(QString(), prompt);
    QCOMPARE(static_cast<int>(all->size()), 55);
    QVERIFY(std::is_sorted(all->begin(), all->end(),
                           [](const PostalRow &a, const PostalRow &b) { return a.zipcode < b.zipcode; }));
}

void TestPostal::formatZip_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("six digits") << "123456" << "123-456";
    QTest::newRow("dash already") << "135-080" << "135-080";
    QTest::newRow("five") << "12345" << "12345";
    QTest::newRow("seven digits") << "1234567" << "1234567";
    QTest::newRow("six, not digits") << "13-080" << "13-080";
    QTest::newRow("empty") << "" << "";
}

void TestPostal::formatZip()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(PostalSearch::formatZip(in), out);
}

void TestPostal::pick_data()
{
    QTest::addColumn<QString>("zipcode");
    QTest::addColumn<bool>("fromList");
    QTest::addColumn<QString>("written"); // what the code box receives; "-" nothing at all
    QTest::newRow("single match: as stored") << "123456" << false << "123456";
    QTest::newRow("chosen: formatted") << "123456" << true << "123-456";
    QTest::newRow("chosen, other length") << "12345" << true << "12345";
    QTest::newRow("chosen without a code") << "" << true << "-";
    QTest::newRow("single match without a code") << "" << false << "";
}

void TestPostal::pick()
{
    QFETCH(QString, zipcode);
    QFETCH(bool, fromList);
    QFETCH(QString, written);
    const PostalRow row{zipcode, QStringLiteral("대전"), QStringLiteral("서구"), QStringLiteral("둔산동"),
                        QStringLiteral("1-10")};
    const auto picked = PostalSearch::pick(row, fromList ? PostalSearch::PickedBy::List : PostalSearch::PickedBy::SingleMatch);
    QCOMPARE(picked.has_value(), written != QStringLiteral("-"));
    if (!picked)
        return;
    QCOMPARE(picked->zipcode, written);
    QCOMPARE(picked->address, QStringLiteral("대전 서구 둔산동")); // never the lot numbers
}

void TestPostal::unusableFile_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("파일이 없습니다.");
    QTest::newRow("text file") << QByteArray("ZIPCODE,SIDO\n135080,서울\n") << QString();
}

void TestPostal::unusableFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dbpost.db"));
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    PostalSearch post;
    QVERIFY(!post.open(path));
    QVERIFY(!post.isOpen());
    QVERIFY(post.errorText().startsWith(QStringLiteral("우편번호 파일을 사용할 수 없습니다.\r\n")));
    QVERIFY(post.errorText().contains(QStringLiteral("dbpost.db")));
    if (!reason.isEmpty())
        QVERIFY(post.errorText().endsWith(reason));
    // A search on it reports through the usual box instead of failing silently.
    ScriptedPrompt prompt;
    prompt.ok();
    QVERIFY(!post.search(QStringLiteral("역삼"), prompt));
    QCOMPARE(prompt.count(), 1);
    if (!content.isEmpty())
        QCOMPARE(QFile(path).size(), content.size());

    // A ledger file has no Post table.
    const QString ledger = dir.filePath(QStringLiteral("panDB.db"));
    QVERIFY(Database::createLedger(ledger, nullptr));
    QVERIFY(!post.open(ledger));
    QVERIFY(post.errorText().contains(QStringLiteral("no such table")));
}

void TestPostal::importLayouts_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("skipped");

    const QString a = QStringLiteral("135080|서울|강남구|역삼동|");
    const QString b = QStringLiteral("463020|경기|성남시 분당구|수내동|산4~86");
    QTest::newRow("header") << QStringLiteral("ZIPCODE,SIDO,GUGUN,DONG,BUNJI\n135080,서울,강남구,역삼동,\n"
                                              "463020,경기,성남시 분당구,수내동,산4~86\n").toUtf8()
                            << QStringList{a, b} << 0;
    QTest::newRow("no header, CRLF, BOM")
        << (QByteArray("\xEF\xBB\xBF") + QStringLiteral("135080,서울,강남구,역삼동,\r\n463020,경기,성남시 분당구,수내동,산4~86\r\n").toUtf8())
        << QStringList{a, b} << 0;
    QTest::newRow("other order, lower case")
        << QStringLiteral("dong,zipcode,sido,gugun,bunji\n역삼동,135080,서울,강남구,\n").toUtf8() << QStringList{a} << 0;
    QTest::newRow("CP949") << Cp949::encode(QStringLiteral("135080,서울,강남구,역삼동,\n463020,경기,성남시 분당구,수내동,산4~86\n"))
                           << QStringList{a, b} << 0;
    QTest::newRow("quotes and commas")
        << QStringLiteral("\"100753\",\"서울\",\"중구\",\"남대문로5가 \"\"대우\"\", 빌딩\",\"\"\n").toUtf8()
        << QStringList{QStringLiteral("100753|서울|중구|남대문로5가 \"대우\", 빌딩|")} << 0;
    QTest::newRow("BUNJI left off") << QStringLiteral("135080,서울,강남구,역삼동\n").toUtf8() << QStringList{a} << 0;
    QTest::newRow("short and over-long lines skipped")
        << QStringLiteral("135080,서울,강남구,역삼동,\n463020,경기\n,서울,중구,명동,\n12345678,서울,중구,명동,\n"
                          "463020,경기,성남시 분당구,수내동,산4~86\n").toUtf8()
        << QStringList{a, b} << 3;
}

void TestPostal::importLayouts()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, rows);
    QFETCH(int, skipped);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("dbpost.db"));
    const PostalImport::Result r = PostalImport::build(csv, out);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.skipped, skipped);
    QCOMPARE(r.notes.size(), skipped);
    QCOMPARE(postRows(out), rows);
    QVERIFY(!QFile::exists(out + QStringLiteral(".tmp")));
}

void TestPostal::importRefusals_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("error");
    QTest::newRow("header lacks columns") << QByteArray("ZIPCODE,SIDO,DONG\n135080,a,b\n") << QStringLiteral("GUGUN");
    QTest::newRow("neither UTF-8 nor CP949") << QByteArray("135080,\xff\xfe\xff,a,b,c\n") << QStringLiteral("CP949");
    QTest::newRow("no usable line") << QByteArray("1,2\n3,4\n") << QStringLiteral("없습니다");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("없습니다");
}

void TestPostal::importRefusals()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("dbpost.db"));
    QVERIFY(QFile::copy(m_post, out));
    const PostalImport::Result r = PostalImport::build(csv, out);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(error), qPrintable(r.error));
    // The file that was there is kept as it was.
    QCOMPARE(postRows(out), postRows(m_post));
    QVERIFY(!QFile::exists(out + QStringLiteral(".tmp")));
}

// The million-row import is timed by solbitsem-bench; here just past one progress step.
void TestPostal::importReportsProgress()
{
    constexpr int n = 50000;
    QByteArray csv = "ZIPCODE,SIDO,GUGUN,DONG,BUNJI\n";
    for (int i = 0; i < n; ++i)
        csv += QStringLiteral("%1,서울,강남구,역삼%2동,\n").arg(100000 + i).arg(i % 97).toUtf8();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("dbpost.db"));
    QList<qint64> progress;
    const PostalImport::Result r = PostalImport::build(csv, out, [&](qint64 lines) { progress << lines; });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.rows, n);
    QCOMPARE(progress, QList<qint64>{50000});
    PostalSearch post;
    QVERIFY(post.open(out));
    ScriptedPrompt prompt;
    const auto rows = post.search(QStringLiteral("3508"), prompt); // 1?3508 and 13508?
    QVERIFY(rows);
    QCOMPARE(static_cast<int>(rows->size()), 15);
    QCOMPARE(rows->back().zipcode, QStringLiteral("143508"));
}

void TestPostal::firstStartCopiesShippedFile()
{
    // The build places the shipped file beside the test programs as beside solbitsem.
    const QString shipped = QCoreApplication::applicationDirPath() + QStringLiteral("/dbpost.db");
    QVERIFY2(QFile::exists(shipped), "dbpost.db is built with the solbitsem_postal_db target");
    QTemporaryDir dir;
    AppPaths paths;
    paths.gDbPath = dir.filePath(QStringLiteral("Dbs"));
    paths.gPostFile = paths.gDbPath + QStringLiteral("/dbpost.db");
    QVERIFY(EnsurePostalFile(paths));
    QCOMPARE(postRows(paths.gPostFile), postRows(shipped));

    // An existing postal file is the user's and stays.
    QFile::remove(paths.gPostFile);
    {
        QFile f(paths.gPostFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("mine");
    }
    QVERIFY(EnsurePostalFile(paths));
    QCOMPARE(QFile(paths.gPostFile).size(), 4);
}

QTEST_GUILESS_MAIN(TestPostal)
#include "tst_postal.moc"
