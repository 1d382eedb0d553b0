// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/shell/importprogress.h"

class tst_ImportProgress final : public QObject
{
    Q_OBJECT

private slots:
    void everyWayOut_data();
    void everyWayOut();
};

void tst_ImportProgress::everyWayOut_data()
{
    QTest::addColumn<QString>("how"); // what the user does while the dialog is up
    QTest::newRow("waits") << "";
    QTest::newRow("cancel button") << "button";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("close box") << "close";
}

void tst_ImportProgress::everyWayOut()
{
    QFETCH(QString, how);
    QTemporaryDir out;
    AppPaths paths;
    paths.gDbFile = out.filePath(QStringLiteral("panDB.db"));
    paths.gPostFile = out.filePath(QStringLiteral("dbpost.db"));
    QString title;
    // Runs at the first moment the import lets events through with its dialog up.
    QTimer act;
    act.setInterval(0);
    connect(&act, &QTimer::timeout, this, [&] {
        auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        act.stop();
        title = d->windowTitle();
        if (how == QLatin1String("button"))
            d->findChild<QPushButton *>()->click();
        else if (how == QLatin1String("esc"))
            QTest::keyClick(d, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            d->close();
    });
    act.start();
    ImportProgress import(nullptr);
    const LedgerImporter::Outcome o =
        import.importLedger(QStringLiteral(SOLBITSEM_FIXTURES "/jet3/panDB-jet3.mdb"), paths);
    QCOMPARE(title, QStringLiteral("장부 가져오기"));
    QCOMPARE(o.ok, how.isEmpty());
    QCOMPARE(o.cancelled, !how.isEmpty());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), how.isEmpty() ? 1 : 0);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(tst_ImportProgress)
#include "tst_importprogress.moc"
