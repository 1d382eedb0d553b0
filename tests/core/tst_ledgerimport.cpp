// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/stagedfile.h"
#include "core/data/database.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/voucherquery.h"
#include "core/migrate/firststartimport.h"
#include "core/migrate/ledgerimport.h"
#include "core/shell/appsettings.h"
#include "core/shell/login.h"
#include "core/shell/startupsequence.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

QString fixture(const QString &name) { return QStringLiteral(SOLBITSEM_FIXTURES "/jet3/") + name; }

QJsonObject json(const QString &name)
{
    QFile f(fixture(name));
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A table's rows as stored, in file order, every value as JSON would hold it; a NULL stays null.
QJsonArray storedRows(Database &db, const QString &table, const QJsonArray &columns, QStringList *badTypes)
{
    QStringList cols;
    for (const auto &c : columns)
        cols << QStringLiteral("\"%1\", typeof(\"%1\")").arg(c.toString());
    QSqlQuery q(db.connection());
    q.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(cols.join(QStringLiteral(", ")), table));
    QJsonArray out;
    while (q.next()) {
        QJsonArray row;
        for (int i = 0; i < columns.size(); ++i) {
            const QString type = q.value(2 * i + 1).toString();
            if (type == QLatin1String("integer"))
                row << q.value(2 * i).toLongLong();
            else if (type == QLatin1String("text"))
                row << q.value(2 * i).toString();
            else
                row << QJsonValue();
            if (type != QLatin1String("integer") && type != QLatin1String("text"))
                *badTypes << table + QLatin1Char('.') + columns.at(i).toString() + QLatin1Char('=') + type;
        }
        out << row;
    }
    return out;
}

QString declared(Database &db, const QString &table, const QString &field)
{
    for (const auto &[name, type] : db.columns(table))
        if (name == field)
            return type;
    return {};
}

VoucherFilter january2003()
{
    VoucherFilter f;
    f.fromDate = QDate(2003, 1, 1);
    f.toDate = QDate(2003, 1, 31);
    return f;
}

// Runs the program's opening on the ledger of folder and shows January 2003 as the window does.
class OpeningView final : public StartupSequence::View
{
public:
    OpeningView(AppSettings &settings, Database &db, UserPrompt &prompt) : m_settings(settings), m_db(db), m_prompt(prompt) {}
    void setCaption() override {}
    void ledgerOpened(const AppPaths &) override {}
    bool runLogin() override
    {
        Login login(m_db, m_settings, m_prompt);
        return login.load() && login.enter(QStringLiteral("1234")) == Login::Outcome::Admit;
    }
    void applyLayout() override {}
    void prepareControls() override {}
    void FillGroupCombo() override { groups = usedGroups(m_db, m_prompt).value_or(QStringList()); }
    void showNotice() override {}
    void InitListGrid() override {}
    void showPeriod(const QDate &from, const QDate &to) override
    {
        filter.fromDate = from;
        filter.toDate = to;
        periods << from.toString(Qt::ISODate) + QLatin1Char('~') + to.toString(Qt::ISODate);
    }
    void DispList() override
    {
        if (auto rows = loadVouchers(m_db, voucherQuery(m_db.dialect(), filter), m_prompt)) {
            shown = static_cast<int>(rows->size());
            model.setRows(std::move(*rows));
        }
    }
    LedgerModel model;
    QStringList groups;
    int shown = -1;
    VoucherFilter filter = january2003();
    QStringList periods; // every period the sequence asked for

private:
    AppSettings &m_settings;
    Database &m_db;
    UserPrompt &m_prompt;
};

} // namespace

class tst_LedgerImport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }
    void importsEveryRowOfBothFiles();
    void repeatedPassesTakeNewKeys();
    void openingSequenceRunsOnTheImport();
    void firstStartOpensOnTheLastMonthSold();
    void firstStartOffersTheOldLedger_data();
    void firstStartOffersTheOldLedger();
    void badInputLeavesNothing_data();
    void badInputLeavesNothing();
    void commandLine();
};

void tst_LedgerImport::importsEveryRowOfBothFiles()
{
    QTemporaryDir out;
    qint64 lastDone = 0;
    const LedgerImport::Result r = LedgerImport::run(
        {fixture(QStringLiteral("panDB-jet3.mdb")), out.path(), fixture(QStringLiteral("dbpost-jet3.mdb"))},
        [&](qint64 done, qint64 total) {
            lastDone = done;
            return done <= total;
        });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(lastDone, 2500 + 40 + 300 + 150 + 13 + 1 + 3 + 339);
    QCOMPARE(filesIn(out.path()), (QStringList{QStringLiteral("dbpost.db"), QStringLiteral("panDB.db")}));
    QCOMPARE(r.format, QStringLiteral("Jet 3 (Access 97)"));
    QCOMPARE(r.codePage, 949);
    QVERIFY(!qEnvironmentVariableIsSet("MDB_JET3_CHARSET")); // set for the open only
    QCOMPARE(r.wideGroupNames, QStringList{QStringLiteral("생활가전")});

    const QJsonObject all = json(QStringLiteral("all-rows.json"));
    const QJsonObject expected = json(QStringLiteral("panDB-jet3.expected.json"))[QLatin1String("tables")].toObject();
    const QJsonObject expectedPost = json(QStringLiteral("dbpost-jet3.expected.json"))[QLatin1String("tables")].toObject();
    QCOMPARE(r.tables.size(), all.size());
    for (const LedgerImport::TableCount &t : r.tables) {
        const QJsonObject e = (t.table == QLatin1String("Post") ? expectedPost : expected)[t.table].toObject();
        QVERIFY2(!e.isEmpty(), qPrintable(t.table));
        QCOMPARE(t.read, e[QLatin1String("row_count")].toInteger());
        QCOMPARE(t.written, t.read);
    }
    // The summary in the shop's words: what came over, what changed, which group names are too
    // long and where to shorten them; no table, field or engine word.
    const QString summary = r.summary();
    for (const QString &line : {QStringLiteral("전표: 2,500건"), QStringLiteral("인쇄용 전표: 3건"), QStringLiteral("매입처: 40건"),
                                QStringLiteral("매출처: 300건"), QStringLiteral("품목: 150건"), QStringLiteral("그룹: 13건"),
                                QStringLiteral("암호: 1건"), QStringLiteral("우편번호: 339건"),
                                QStringLiteral("마지막으로 판매한 달: 2006년 12월"),
                                QStringLiteral("- 전표의 그룹 이름: 예전 길이(한글 5자, 영문·숫자 10자) 그대로 두었습니다. "
                                               "새로 넣는 것은 한글 3자, 영문·숫자 6자까지입니다."),
                                QStringLiteral("- 그룹 이름: 같은 이름이 두 번 이상 있습니다"),
                                QStringLiteral("보다 깁니다: 생활가전"), QStringLiteral("[도구] → [그룹 이름]")})
        QVERIFY2(summary.contains(line), qPrintable(line + QStringLiteral("\n") + summary));
    static const QRegularExpression technical(QStringLiteral("total|maeip|maechul|group_name|user|Post|바이트|색인|NULL|행 "));
    QVERIFY2(!summary.section(QStringLiteral("\r\n"), 2).contains(technical), qPrintable(summary)); // after the file names

    Database ledger, post;
    QVERIFY(ledger.open(r.ledgerFile));
    QVERIFY(post.open(r.postalFile));
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QJsonObject table = it.value().toObject();
        const bool isPost = it.key() == QLatin1String("Post");
        QStringList badTypes;
        QJsonArray rows = storedRows(isPost ? post : ledger, it.key(), table[QLatin1String("columns")].toArray(), &badTypes);
        if (isPost) { // the postal rules store a missing BUNJI as NULL, which the search reads as ""
            for (auto &&row : rows) {
                QJsonArray cells = row.toArray();
                if (cells.last().isNull())
                    cells.replace(cells.size() - 1, QString());
                row = cells;
            }
            badTypes.removeIf([](const QString &b) { return b == QLatin1String("Post.BUNJI=null"); });
        }
        QCOMPARE(badTypes, QStringList());
        const QJsonArray want = table[QLatin1String("rows")].toArray();
        QCOMPARE(rows.size(), want.size());
        for (qsizetype i = 0; i < want.size(); ++i)
            QVERIFY2(rows.at(i) == want.at(i), qPrintable(it.key() + QStringLiteral(" row %1: ").arg(i)
                                                           + QString::fromUtf8(QJsonDocument(rows.at(i).toArray()).toJson(QJsonDocument::Compact))));

        // The fixture author's own sample rows, NULL read as "" (mdbtools hands out both alike).
        const QJsonObject e = (isPost ? expectedPost : expected)[it.key()].toObject();
        const QJsonArray columns = table[QLatin1String("columns")].toArray();
        for (const auto &sample : e[QLatin1String("sample_rows")].toArray()) {
            QJsonArray s;
            for (const auto &c : columns) {
                const QJsonValue v = sample.toObject()[c.toString()];
                s << (v.isNull() ? QJsonValue(QString()) : v);
            }
            QVERIFY2(want.contains(s) && rows.contains(s), qPrintable(QString::fromUtf8(QJsonDocument(s).toJson())));
        }
    }

    // Keys, the counter after the largest key, the old sizes, the password as it was.
    QCOMPARE(declared(ledger, QStringLiteral("total"), QStringLiteral("group_name")), QStringLiteral("VARCHAR(10)"));
    QCOMPARE(declared(ledger, QStringLiteral("group_name"), QStringLiteral("name")), QStringLiteral("VARCHAR(10)"));
    QCOMPARE(declared(ledger, QStringLiteral("maeip"), QStringLiteral("name")), QStringLiteral("VARCHAR(16)"));
    QSqlQuery q(ledger.connection());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO total (maeip_date) VALUES ('2026-12-08')")));
    QCOMPARE(q.lastInsertId().toLongLong(), 2501);
    QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM total WHERE maechul_cost = 0 AND maechul_date = ''")) && q.next());
    QCOMPARE(q.value(0).toInt(), 525);
    QVERIFY(q.exec(QStringLiteral("SELECT maeip_cost FROM total WHERE total_id IN (16, 2500) ORDER BY total_id")));
    QVERIFY(q.next() && q.value(0).toLongLong() == -20000);
    QVERIFY(q.next() && q.value(0).toLongLong() == 2147483647);
}

// The benchmark's large file: the vouchers read over again in one stream, each repeat a
// voucher of its own under a new key, and the file's checks in force again after the load.
void tst_LedgerImport::repeatedPassesTakeNewKeys()
{
    QTemporaryDir out;
    LedgerImport::Options options{fixture(QStringLiteral("panDB-jet3.mdb")), out.path(), {}};
    options.voucherPasses = 3;
    const LedgerImport::Result r = LedgerImport::run(options);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.tables.first().table, QStringLiteral("total"));
    QCOMPARE(r.tables.first().written, 7500);
    Database ledger;
    QVERIFY(ledger.open(r.ledgerFile));
    QSqlQuery q(ledger.connection());
    const QString fields = QStringLiteral("maeip_date, pro_code, maeip_code, maeip_name, maeip_cost, maechul_code, "
                                          "maechul_date, maechul_name, maechul_cost, maechul_usecost, group_name, pro_name");
    QVERIFY(q.exec(QStringLiteral("SELECT count(*), max(total_id) FROM total")) && q.next());
    QCOMPARE(q.value(0).toInt(), 7500);
    QCOMPARE(q.value(1).toInt(), 7500);
    QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM (SELECT %1 FROM total WHERE total_id > 2500 EXCEPT "
                                  "SELECT %1 FROM total WHERE total_id <= 2500)").arg(fields)) && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO total (pro_code) VALUES ('열')")));
}

void tst_LedgerImport::openingSequenceRunsOnTheImport()
{
    const QString folder = TestEnvironment::instance().home() + QStringLiteral("/old");
    const LedgerImport::Result r = LedgerImport::run({fixture(QStringLiteral("panDB-jet3.mdb")), folder, {}});
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY(r.postalFile.isEmpty());
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("db경로"), folder);
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    Database db;
    // 생활가전 does not fit the group field: the import's summary said so, the start does not
    // say it again; a start without an import opens on the current period as always.
    ScriptedPrompt prompt;
    OpeningView view(settings, db, prompt);
    QVERIFY(StartupSequence(settings, db, prompt).run(view));
    QCOMPARE(prompt.count(), 0);
    QCOMPARE(view.periods, QStringList());
    QCOMPARE(declared(db, QStringLiteral("group_name"), QStringLiteral("name")), QStringLiteral("VARCHAR(10)"));
    QCOMPARE(declared(db, QStringLiteral("total_print"), QStringLiteral("group_name")), QStringLiteral("VARCHAR(6)"));
    QVERIFY(view.groups.contains(QStringLiteral("생활가전")));

    // The login compared the plain password and kept its hash instead.
    QSqlQuery q(db.connection());
    QVERIFY(q.exec(QStringLiteral("SELECT pass FROM user")) && q.next());
    QVERIFY(q.value(0).toString().startsWith(QLatin1String("$argon2id$")));

    // January 2003 of the old file, summed here from the rows as exported.
    LedgerModel::Totals want;
    int count = 0;
    for (const auto &row : json(QStringLiteral("all-rows.json"))[QLatin1String("total")][QLatin1String("rows")].toArray()) {
        const QJsonArray v = row.toArray();
        if (!v.at(7).toString().startsWith(QLatin1String("2003-01")))
            continue;
        ++count;
        want.maeipCost += v.at(5).toInteger();
        want.maechulCost += v.at(9).toInteger();
        want.usecost += v.at(10).toInteger();
        if (v.at(9).toInteger() != 0)
            want.margin += v.at(9).toInteger() - v.at(10).toInteger() - v.at(5).toInteger();
    }
    QVERIFY(count > 10);
    QCOMPARE(view.shown, count);
    QCOMPARE(view.model.totals(), want);
}

// The first start imports the old ledger and opens on its last month with a sale, saying so;
// the next start opens as always, and neither says the long group name again.
void tst_LedgerImport::firstStartOpensOnTheLastMonthSold()
{
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    FirstStartImport importer;
    for (int start = 0; start < 2; ++start) {
        ScriptedPrompt prompt;
        if (start == 0)
            prompt.yes().file(fixture(QStringLiteral("panDB-jet3.mdb"))).ok();
        Database db;
        OpeningView view(settings, db, prompt);
        StartupSequence sequence(settings, db, prompt);
        sequence.setImporter(&importer);
        QVERIFY(sequence.run(view));
        QVERIFY(prompt.scriptDone());
        if (start == 1) {
            QCOMPARE(prompt.count(), 0);
            QCOMPARE(view.periods, QStringList());
            continue;
        }
        QCOMPARE(prompt.count(), 3); // the question, the file, the summary
        QCOMPARE(view.periods, QStringList{QStringLiteral("2006-12-01~2006-12-31")});
        QVERIFY2(prompt.last().text.contains(QStringLiteral("장부 창은 마지막으로 판매한 달 2006년 12월(2006-12-01 ~ 2006-12-31)의 전표로 엽니다.")),
                 qPrintable(prompt.last().text));
        int december = 0;
        for (const auto &row : json(QStringLiteral("all-rows.json"))[QLatin1String("total")][QLatin1String("rows")].toArray())
            december += row.toArray().at(7).toString().startsWith(QLatin1String("2006-12"));
        QVERIFY(december > 0);
        QCOMPARE(view.shown, december);
    }
}

void tst_LedgerImport::firstStartOffersTheOldLedger_data()
{
    // Each step: "no" (a new empty ledger), "yes", or what the file dialog gives: "panDB", "bad"
    // (not a Jet file), "cancel".
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("boxes"); // the title or kind of each question, in order
    QTest::addColumn<qint64>("vouchers");   // in the ledger afterwards
    const QString q = QStringLiteral("장부 가져오기"), file = QStringLiteral("file");
    QTest::newRow("new empty ledger") << QStringList{QStringLiteral("no")} << QStringList{q, QStringLiteral("솔빛셈")} << qint64(0);
    QTest::newRow("old ledger") << QStringList{QStringLiteral("yes"), QStringLiteral("panDB")} << QStringList{q, file, q}
                                << qint64(2500);
    QTest::newRow("file dialog cancelled")
        << QStringList{QStringLiteral("yes"), QStringLiteral("cancel"), QStringLiteral("no")}
        << QStringList{q, file, q, QStringLiteral("솔빛셈")} << qint64(0);
    QTest::newRow("failed import asks again")
        << QStringList{QStringLiteral("yes"), QStringLiteral("bad"), QStringLiteral("yes"), QStringLiteral("panDB")}
        << QStringList{q, file, q, q, file, q} << qint64(2500);
}

void tst_LedgerImport::firstStartOffersTheOldLedger()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, boxes);
    QFETCH(qint64, vouchers);
    QTemporaryDir old;
    const QString mdb = old.filePath(QStringLiteral("panDB.mdb"));
    QVERIFY(QFile::copy(fixture(QStringLiteral("panDB-jet3.mdb")), mdb));
    QVERIFY(QFile::copy(fixture(QStringLiteral("dbpost-jet3.mdb")), old.filePath(QStringLiteral("DBPOST.MDB"))));
    QFile bad(old.filePath(QStringLiteral("bad.mdb")));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("no ledger") > 0);
    bad.close();

    ScriptedPrompt prompt;
    for (const QString &step : script) {
        if (step == QLatin1String("yes") || step == QLatin1String("no"))
            prompt.answer(step == QLatin1String("yes") ? UserPrompt::Answer::Yes : UserPrompt::Answer::No);
        else
            prompt.file(step == QLatin1String("cancel") ? std::nullopt : std::optional(old.filePath(step + QStringLiteral(".mdb"))));
    }
    prompt.strictOk = false;
    AppSettings settings;
    Database db;
    FirstStartImport importer;
    const AppPaths paths = InitApp(settings, db, prompt, &importer);
    QVERIFY(prompt.scriptDone());
    QStringList asked;
    for (const auto &a : prompt.asked)
        asked << (a.kind == ScriptedPrompt::Kind::File ? QStringLiteral("file") : a.title.isEmpty() ? QStringLiteral("솔빛셈") : a.title);
    QCOMPARE(asked, boxes);
    QCOMPARE(prompt.asked.first().defaultButton, UserPrompt::Answer::No);
    if (script.contains(QStringLiteral("bad")))
        QVERIFY(prompt.asked.at(2).text.contains(QStringLiteral("Access(Jet) 데이터베이스 파일이 아닙니다.")));
    QVERIFY(db.isOpen());
    QSqlQuery q(db.connection());
    QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM total")) && q.next());
    QCOMPARE(q.value(0).toLongLong(), vouchers);
    if (vouchers) { // the postal file that lay beside came in too
        QVERIFY(prompt.asked.last().text.contains(QStringLiteral("우편번호: 339건")));
        Database post;
        QVERIFY(post.open(paths.gPostFile));
        QSqlQuery p(post.connection());
        QVERIFY(p.exec(QStringLiteral("SELECT count(*) FROM Post")) && p.next());
        QCOMPARE(p.value(0).toInt(), 339);
    }
}

void tst_LedgerImport::badInputLeavesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a Jet file") << "text" << "Access(Jet) 데이터베이스 파일이 아닙니다.";
    QTest::newRow("Jet 4 it cannot read") << "jet4" << "Jet 4 (Access 2000/2002/2003)";
    QTest::newRow("truncated mid-page") << "cut" << "파일이 잘렸거나 손상되었습니다";
    QTest::newRow("truncated at a page") << "cutpage" << "잘렸거나 손상되었습니다";
    // Catalogue rows that point at offset 0 make libmdb read through a null pointer.
    QTest::newRow("damaged where libmdb crashes") << "crash" << "이 Jet 3 (Access 97) 파일은 읽을 수 없습니다. 파일이 잘렸거나 손상되었습니다.";
    QTest::newRow("table missing") << "notable" << "예전 장부에 표 total_print이(가) 없습니다.";
    QTest::newRow("column missing") << "nocolumn" << "열 maeip_name이(가) 없습니다.";
    QTest::newRow("column of another type") << "type" << "열 user.pass이(가) Long Integer 형식입니다";
    QTest::newRow("unreadable") << "unreadable" << "파일을 읽을 수 없습니다";
    QTest::newRow("folder cannot be made") << "folder" << "폴더를 만들 수 없습니다";
    QTest::newRow("ledger exists") << "exists" << "장부 파일이 이미 있습니다. 덮어쓰지 않습니다.";
    QTest::newRow("postal file exists") << "postexists" << "우편번호 파일이 이미 있습니다.";
    QTest::newRow("cancelled") << "cancel" << "가져오기를 취소했습니다. 아무 파일도 만들지 않았습니다.";
    QTest::newRow("a device") << "device" << "보통 파일이 아닙니다 (장치나 파이프)";
    QTest::newRow("a folder") << "dir" << "파일이 아니라 폴더입니다";
}

void tst_LedgerImport::badInputLeavesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("panDB.mdb"));
    QVERIFY(QFile::copy(fixture(QStringLiteral("panDB-jet3.mdb")), old));
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
    QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    QString postal;
    {
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const auto patch = [&](const QByteArray &from, const QByteArray &to) {
            const qsizetype at = bytes.indexOf(from);
            QVERIFY2(at >= 0, from.constData());
            bytes.replace(at, from.size(), to);
        };
        if (kind == QLatin1String("text"))
            bytes = "ZIPCODE,SIDO\n135-080,서울\n";
        else if (kind == QLatin1String("jet4"))
            bytes[0x14] = 1; // the pages are then read as 4 KB Jet 4 pages
        else if (kind == QLatin1String("cut"))
            bytes.truncate(200000);
        else if (kind == QLatin1String("cutpage"))
            bytes.truncate(98 * 2048);
        else if (kind == QLatin1String("crash"))
            bytes.replace(0x80a, 6, QByteArray(6, '\0')); // the catalogue page's first row offsets
        else if (kind == QLatin1String("notable"))
            patch("total_print", "total_prinX");
        else if (kind == QLatin1String("nocolumn"))
            patch("maeip_name", "maeip_namX");
        else if (kind == QLatin1String("type")) {
            // The column entries (18 bytes each, the type first) come before the names.
            const qsizetype names = bytes.indexOf(QByteArray("\x06userid\x04pass"));
            QVERIFY(names > 36);
            bytes[names - 18] = 0x04;
        }
        f.resize(0);
        f.write(bytes);
    }
    if (kind == QLatin1String("unreadable")) {
        QFile::setPermissions(old, {});
        if (QFile(old).open(QIODevice::ReadOnly))
            QSKIP("this user reads every file");
    } else if (kind == QLatin1String("folder")) {
        out = old + QStringLiteral("/out"); // a file where a folder should be
    } else if (kind == QLatin1String("exists")) {
        QFile f(out + QStringLiteral("/panDB.db"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("mine") == 4);
    } else if (kind == QLatin1String("postexists")) {
        postal = fixture(QStringLiteral("dbpost-jet3.mdb"));
        QFile f(out + QStringLiteral("/dbpost.db"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("mine") == 4);
    }
    const QByteArray before = digest(old);
    const QStringList outBefore = filesIn(out);
    const QByteArray existing = digest(out + QStringLiteral("/panDB.db")) + digest(out + QStringLiteral("/dbpost.db"));

    const QString source = kind == QLatin1String("device") ? QStringLiteral("/dev/zero")
                           : kind == QLatin1String("dir")  ? dir.path()
                                                           : old;
    const LedgerImport::Result r = LedgerImport::run({source, out, postal}, [&](qint64, qint64) { return kind != QLatin1String("cancel"); });
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(message), qPrintable(r.error));
    QCOMPARE(r.cancelled, kind == QLatin1String("cancel"));
    QCOMPARE(filesIn(out), outBefore);
    QCOMPARE(digest(out + QStringLiteral("/panDB.db")) + digest(out + QStringLiteral("/dbpost.db")), existing);
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(digest(old), before);
}

void tst_LedgerImport::commandLine()
{
    QTemporaryDir out;
    const auto runTool = [](const QStringList &args, QString *stdOut = nullptr, QString *stdErr = nullptr) {
        QProcess p;
        p.start(QStringLiteral(SOLBITSEM_IMPORT), args);
        p.waitForFinished(60000);
        if (stdOut)
            *stdOut = QString::fromLocal8Bit(p.readAllStandardOutput());
        if (stdErr)
            *stdErr = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QStringList args{fixture(QStringLiteral("panDB-jet3.mdb")), QStringLiteral("--out"), out.path(),
                           QStringLiteral("--postal"), fixture(QStringLiteral("dbpost-jet3.mdb"))};
    // What killed imports left: removed unless a living run claims it or it was made just now.
    const auto leave = [&](const QString &name, int ageSeconds) {
        QFile f(out.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    for (const QString &name : {QStringLiteral("panDB.db.Qx7Zr2"), QStringLiteral("panDB.db.Qx7Zr2-journal"),
                                QStringLiteral("dbpost.db.aB3dE9"), QStringLiteral("panDB.db.Live01"), QStringLiteral("panDB.db.backup")})
        leave(name, 3600);
    leave(QStringLiteral("panDB.db.New001"), 0);
    const TemporaryClaim running(out.filePath(QStringLiteral("panDB.db.Live01")));
    QString text, err;
    QCOMPARE(runTool(args, &text), 0);
    QCOMPARE(QDir(out.path()).entryList({QStringLiteral("*.db.*")}, QDir::Files),
             (QStringList{QStringLiteral("panDB.db.backup"), QStringLiteral("panDB.db.Live01"), QStringLiteral("panDB.db.New001")}));
    QVERIFY2(text.contains(QStringLiteral("전표: 2,500건")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("우편번호: 339건")));
    QVERIFY(text.contains(QStringLiteral("보다 깁니다: 생활가전")));
    QCOMPARE(runTool(args, nullptr, &err), 1); // the ledger is there now
    QVERIFY2(err.contains(QStringLiteral("장부 파일이 이미 있습니다")), qPrintable(err));
    QCOMPARE(runTool({fixture(QStringLiteral("panDB-jet3.mdb"))}, nullptr, &err), 2);
    QVERIFY(err.contains(QStringLiteral("사용법")));
}

QTEST_GUILESS_MAIN(tst_LedgerImport)
#include "tst_ledgerimport.moc"
