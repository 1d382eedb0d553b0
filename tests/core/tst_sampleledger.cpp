// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/textutil.h"
#include "core/data/database.h"
#include "devkit/sampleledger.h"
#include "templedger.h"

class tst_SampleLedger : public QObject
{
    Q_OBJECT

    static QByteArray dump(Database &db)
    {
        QCryptographicHash h(QCryptographicHash::Sha256);
        for (const char16_t *t : {u"total", u"maeip", u"maechul", u"product", u"group_name"}) {
            auto r = db.exec(SqlStatement(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QString::fromUtf16(t))));
            while (r.query.next())
                for (int i = 0; i < r.query.record().count(); ++i)
                    h.addData(r.query.value(i).toString().toUtf8() + '\x1f');
        }
        return h.result();
    }

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void realisticAndWithinFieldSizes();
    void sameSeedSameLedger();
    void refusesToOverwrite();
};

void tst_SampleLedger::realisticAndWithinFieldSizes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panDB.db"));
    SampleLedgerOptions o;
    o.vouchers = 5000;
    o.today = QDate(2026, 12, 8);
    QString error;
    QVERIFY2(writeSampleLedger(path, o, &error), qPrintable(error));
    Database db;
    QVERIFY(db.open(path));
    auto one = [&](const QString &sql) {
        auto r = db.exec(SqlStatement(sql));
        return r.ok() && r.query.next() ? r.query.value(0) : QVariant();
    };
    QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM total")).toInt(), 5000);
    QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM maeip")).toInt(), 200);
    QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM maechul")).toInt(), 2000);
    const double sold = one(QStringLiteral("SELECT AVG(maechul_cost > 0) FROM total")).toDouble();
    QVERIFY2(sold > 0.75 && sold < 0.85, qPrintable(QString::number(sold)));
    QVERIFY(one(QStringLiteral("SELECT MIN(maeip_date) FROM total")).toString() >= QStringLiteral("2023-12-08"));
    QVERIFY(one(QStringLiteral("SELECT MAX(maechul_date) FROM total")).toString() <= QStringLiteral("2026-12-08"));
    // Client names fit 16 CP949 bytes, groups 6; phone numbers carry their dashes.
    for (const char16_t *t : {u"maeip", u"maechul"}) {
        auto r = db.exec(SqlStatement(QStringLiteral("SELECT name, phone FROM %1").arg(QString::fromUtf16(t))));
        while (r.query.next()) {
            QVERIFY(LenAnsi(r.query.value(0).toString()) <= 16);
            QCOMPARE(FormatTel(r.query.value(1).toString()), r.query.value(1).toString());
        }
    }
    auto g = db.exec(SqlStatement(QStringLiteral("SELECT DISTINCT group_name FROM total")));
    int groups = 0;
    while (g.query.next()) {
        ++groups;
        QVERIFY(LenAnsi(g.query.value(0).toString()) <= 6);
    }
    QVERIFY(groups >= 15);
    // A voucher's names are the copies of its clients' names.
    QCOMPARE(one(QStringLiteral("SELECT COUNT(*) FROM total t JOIN maeip m ON m.id = t.maeip_code "
                                "WHERE m.name <> t.maeip_name")).toInt(), 0);
}

void tst_SampleLedger::sameSeedSameLedger()
{
    QTemporaryDir dir;
    SampleLedgerOptions o;
    o.vouchers = 500;
    o.today = QDate(2026, 12, 8);
    o.seed = 7;
    QVERIFY(writeSampleLedger(dir.filePath(QStringLiteral("a.db")), o, nullptr));
    QVERIFY(writeSampleLedger(dir.filePath(QStringLiteral("b.db")), o, nullptr));
    o.seed = 8;
    QVERIFY(writeSampleLedger(dir.filePath(QStringLiteral("c.db")), o, nullptr));
    Database a, b, c;
    QVERIFY(a.open(dir.filePath(QStringLiteral("a.db"))));
    QVERIFY(b.open(dir.filePath(QStringLiteral("b.db"))));
    QVERIFY(c.open(dir.filePath(QStringLiteral("c.db"))));
    QCOMPARE(dump(a), dump(b));
    QVERIFY(dump(a) != dump(c));
}

void tst_SampleLedger::refusesToOverwrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panDB.db"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    QString error;
    QVERIFY(!writeSampleLedger(path, {}, &error));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep"));
}

QTEST_GUILESS_MAIN(tst_SampleLedger)
#include "tst_sampleledger.moc"
