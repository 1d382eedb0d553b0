// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QTest>

#include "core/base/systemerror.h"
#include "core/data/schema.h"
#include "core/migrate/ledgercopy.h"
#include "templedger.h"

namespace {
// Every row of every table in key order, NULL told apart from an empty text.
QStringList dump(Database &db)
{
    QStringList out;
    for (const Schema::Table &t : Schema::ledgerTables()) {
        QStringList fields;
        for (const Schema::Field &f : t.fields)
            fields << QLatin1Char('"') + f.name + QLatin1Char('"');
        db.forEachRow(SqlStatement(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY 1").arg(fields.join(QLatin1Char(',')), t.name)),
                      [&](const Database::RowView &row) {
                          QString line = t.name;
                          for (int i = 0; i < fields.size(); ++i)
                              line += QLatin1Char('|') + (row.isNull(i) ? QStringLiteral("<NULL>") : row.text(i));
                          out << line;
                      });
    }
    return out;
}

// The key the ledger hands out next.
qint64 nextId(Database &db)
{
    return db.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name) VALUES ('next')"))).lastInsertId;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}
} // namespace

class tst_LedgerCopy : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void everyRowAndKeyComesOver();
    void refusesAndLeavesNothing();
    void toolTellsAWrongPasswordFromAServerThatIsDown();
};

void tst_LedgerCopy::everyRowAndKeyComesOver()
{
    TempLedger from;
    from.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("O'Neil 냉장고"), 2147483647));
    const qint64 gap = from.addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("세탁기"), -5000));
    from.addVoucher(voucher(QStringLiteral("2026-12-03"), QString(), 0));
    from.exec(SqlStatement(QStringLiteral("DELETE FROM total WHERE total_id = :id")).bind(QStringLiteral("id"), gap));
    from.exec(SqlStatement(QStringLiteral("UPDATE total SET maechul_name = NULL WHERE pro_name = ''")));
    from.addClient(0, 7, QStringLiteral("가나상사"), QStringLiteral("02-123-4567"));
    from.addClient(1, 12, QStringLiteral("다라마트"), {}, QStringLiteral("010-1234-5678"));

    const QString to = from.folder() + QStringLiteral("/copy/panDB.db");
    qint64 lastDone = 0;
    const LedgerCopy::Result r = LedgerCopy::copyToNewFile(from.db(), to, [&](qint64 done, qint64) {
        lastDone = done;
        return true;
    });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(lastDone, 4);
    Database copy;
    QVERIFY(copy.open(to));
    QCOMPARE(dump(copy), dump(from.db()));
    QCOMPARE(copy.integrityCheck(), QStringLiteral("ok"));
    // The counter goes on after the largest key, as in the original.
    QCOMPARE(nextId(copy), nextId(from.db()));
}

void tst_LedgerCopy::refusesAndLeavesNothing()
{
    TempLedger from;
    from.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("냉장고"), 1000));
    TempLedger busy;
    busy.addVoucher(voucher(QStringLiteral("2026-11-01"), QStringLiteral("다리미"), 3000));
    const QByteArray before = digest(busy.path());

    LedgerCopy::Result r = LedgerCopy::copy(from.db(), busy.db());
    QVERIFY(!r.ok);
    QCOMPARE(r.error, QStringLiteral("대상 장부의 표 total에 이미 1행이 있습니다. 덮어쓰지 않습니다."));
    busy.db().close();
    QCOMPARE(digest(busy.path()), before);

    r = LedgerCopy::copyToNewFile(from.db(), busy.path());
    QVERIFY(r.error.startsWith(QStringLiteral("장부 파일이 이미 있습니다.")));
    QCOMPARE(digest(busy.path()), before);

    // Cancelled: no file, no temporary file left beside it.
    from.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name) WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL "
                                          "SELECT x + 1 FROM n WHERE x < 1500) SELECT 'p' || x FROM n")));
    const QString to = from.folder() + QStringLiteral("/new/panDB.db");
    // A killed copy's temporary file is removed by the next copy into that folder.
    QVERIFY(QDir().mkpath(from.folder() + QStringLiteral("/new")));
    QFile killed(to + QStringLiteral(".k1LLed"));
    QVERIFY(killed.open(QIODevice::WriteOnly));
    QVERIFY(killed.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
    killed.close();
    r = LedgerCopy::copyToNewFile(from.db(), to, [](qint64, qint64) { return false; });
    QVERIFY(r.cancelled);
    QVERIFY(!QFileInfo::exists(to));
    QCOMPARE(QDir(from.folder() + QStringLiteral("/new")).entryList(QDir::Files), QStringList());
}

void tst_LedgerCopy::toolTellsAWrongPasswordFromAServerThatIsDown()
{
    QTemporaryDir dir;
    QProcess tool;
    tool.start(QStringLiteral(SOLBITSEM_LEDGERCOPY), {QStringLiteral("host=127.0.0.1 port=1 dbname=ledger user=shop"),
                                                      dir.filePath(QStringLiteral("panDB.db"))});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 1);
    const QString said = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(said.contains(QStringLiteral("장부 서버가 응답하지 않습니다")), qPrintable(said));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("panDB.db"))));

    // libpq's words for a refused login, with and without the server's code.
    for (const QSqlError &e : {QSqlError(QString(), QStringLiteral("FATAL:  password authentication failed for user \"shop\""),
                                         QSqlError::ConnectionError, QStringLiteral("28P01")),
                               QSqlError(QString(), QStringLiteral("fe_sendauth: no password supplied"), QSqlError::ConnectionError)})
        QVERIFY(serverConnectErrorText(e).startsWith(QStringLiteral("장부 서버가 비밀번호를 받아들이지 않았습니다")));
}

QTEST_GUILESS_MAIN(tst_LedgerCopy)
#include "tst_ledgercopy.moc"
