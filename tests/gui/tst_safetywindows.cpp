// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/ledger/voucherstore.h"
#include "core/masterdata/texttablemodel.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerlocation.h"
#include "core/shell/startup.h"
#include "gui/ledger/frmdeleted.h"
#include "gui/ledger/ledgergrid.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/shell/frmbackup.h"
#include "gui/shell/frmledgerlocation.h"
#include "gui/ui/formhelpers.h"
#include "admitlogin.h"
#include "modalwatch.h"
#include "scriptedprompt.h"
#include "templedger.h"

class tst_SafetyWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnvironment::instance();
        InstallButtonKeys(); // as the program does
    }
    void deletedVouchersRestoreByEnterAndEmptyByAccelerator();
    void backupListRestoresTheChosenCopy();
    void toolMenuOpensTheBin();
    void restoredVouchersShowAtOnceWithTheirTotals();
    void ledgerLocationStoresTheServerButNoPassword();
};

void tst_SafetyWindows::deletedVouchersRestoreByEnterAndEmptyByAccelerator()
{
    TempLedger l;
    ScriptedPrompt prompt;
    VoucherStore store(l.db());
    const qint64 a = l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("냉장고"), 1000));
    const qint64 b = l.addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("세탁기"), 2000));
    store.remove(a);
    store.remove(b);

    FrmDeleted w(l.db(), prompt);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("삭제된 전표"));
    for (QWidget *c : {static_cast<QWidget *>(w.spList), static_cast<QWidget *>(w.cmdRestore),
                       static_cast<QWidget *>(w.cmdEmpty), static_cast<QWidget *>(w.cmdClose)})
        QVERIFY(!c->accessibleName().isEmpty());
    QCOMPARE(w.model().rowCount(), 2);
    QCOMPARE(w.model().text(0, 3), QStringLiteral("세탁기")); // the later deletion first
    QCOMPARE(w.model().headerData(3, Qt::Horizontal).toString(), QStringLiteral("품명"));

    w.spList->setFocus();
    w.spList->selectRow(0);
    QTest::keyClick(w.spList, Qt::Key_Return);
    QCOMPARE(l.count(QStringLiteral("total")), 1);
    QCOMPARE(w.model().rowCount(), 1);
    QCOMPARE(w.model().text(0, 3), QStringLiteral("냉장고"));

    prompt.yes();
    QTest::keyClick(w.spList, Qt::Key_E, Qt::AltModifier);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(w.model().rowCount(), 0);
    QCOMPARE(l.count(QStringLiteral("total_deleted")), 0);

    QTest::keyClick(w.spList, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void tst_SafetyWindows::backupListRestoresTheChosenCopy()
{
    QTemporaryDir dir;
    AppPaths paths;
    paths.gDbPath = dir.filePath(QStringLiteral("Dbs"));
    paths.gDbFile = paths.gDbPath + QStringLiteral("/panDB.db");
    QVERIFY(Database::createLedger(paths.gDbFile, nullptr));
    Database db;
    QVERIFY(db.open(paths.gDbFile));
    db.exec(SqlStatement(QStringLiteral("INSERT INTO total (pro_name) VALUES ('사과')")));
    AppSettings settings;
    ScriptedPrompt prompt;
    LedgerBackup backup(settings, db, prompt, paths);
    backup.setNow(QDateTime(QDate(2026, 12, 9), QTime(9, 5)));
    backup.backupNow(true);
    db.exec(SqlStatement(QStringLiteral("DELETE FROM total")));

    FrmBackup w(backup);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(w.model().rowCount(), 1);
    QCOMPARE(w.model().rows().front().mid(0, 2), (QStringList{QStringLiteral("2026-12-09 09:05:00"), QStringLiteral("1")}));
    QVERIFY(w.model().text(0, 2).endsWith(QStringLiteral(" KB")));
    prompt.yes().ok();
    w.spList->setFocus();
    QTest::keyClick(w.spList, Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!w.isVisible());
    QVERIFY(w.restored());
    auto r = db.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toInt(), 1);
}

void tst_SafetyWindows::toolMenuOpensTheBin()
{
    TempLedger l;
    AppSettings settings;
    ScriptedPrompt prompt;
    frmMain main(settings, l.db(), prompt);
    QStringList entries;
    QAction *bin = nullptr;
    for (QAction *a : FrmMainControls(&main).mnuTools()->actions()) {
        entries << a->text();
        if (a->text() == QStringLiteral("삭제된 전표(&D)"))
            bin = a;
    }
    for (const char16_t *t : {u"백업(&K)", u"복원(&R)", u"삭제된 전표(&D)", u"엑셀로 저장(&E)", u"CSV로 저장(&V)"})
        QVERIFY2(entries.contains(QString::fromUtf16(t)), qPrintable(entries.join(u' ')));
    QVERIFY(bin);
    ModalWatch<FrmDeleted> watch([](FrmDeleted *w) { w->cmdClose->click(); });
    bin->trigger();
    QVERIFY(watch.shown());
}

void tst_SafetyWindows::restoredVouchersShowAtOnceWithTheirTotals()
{
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    {
        ScriptedPrompt quiet;
        quiet.ok(); // the first-start notice of the new ledger
        Database seed;
        QVERIFY(!InitApp(settings, seed, quiet).gDbFile.isEmpty());
    }
    Database db;
    ScriptedPrompt prompt;
    frmMain main(settings, db, prompt);
    main.setToday(QDate(2026, 12, 9));
    {
        const auto login = admitLogin();
        QVERIFY(main.Form_Load());
    }
    const auto add = [&db](const QString &name, const QString &sold, qint64 price) {
        SqlStatement st(QStringLiteral("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, maechul_cost) "
                                       "VALUES (:d, :p, 1000, :d, :c)"));
        db.exec(st.bind(QStringLiteral("d"), sold).bind(QStringLiteral("p"), name).bind(QStringLiteral("c"), price));
        Database::Result r = db.exec(SqlStatement(QStringLiteral("SELECT MAX(total_id) FROM total")));
        return r.query.next() ? r.query.value(0).toLongLong() : 0;
    };
    add(QStringLiteral("냉장고"), QStringLiteral("2026-12-02"), 300000);
    const qint64 washer = add(QStringLiteral("세탁기"), QStringLiteral("2026-12-03"), 200000);
    const qint64 tv = add(QStringLiteral("TV"), QStringLiteral("2026-12-04"), 100000);
    QVERIFY(VoucherStore(db).remove(washer).ok());
    main.DispList();
    QCOMPARE(main.model().rowCount(), 3);
    FrmMainControls(&main).spList()->setCurrentIndex(main.model().index(1, LedgerModel::ColMaechulCost)); // the TV
    QCOMPARE(main.model().totals().maechulCost, 400000);

    QAction *binEntry = nullptr;
    for (QAction *a : FrmMainControls(&main).mnuTools()->actions())
        if (a->text() == QStringLiteral("삭제된 전표(&D)"))
            binEntry = a;
    QVERIFY(binEntry);
    ModalWatch<FrmDeleted> watch([](FrmDeleted *bin) {
        bin->spList->selectRow(0);
        bin->cmdRestore->click();
        bin->cmdClose->click();
    });
    binEntry->trigger();
    QVERIFY(watch.shown());
    // No 검색 needed: the voucher is in its place, the totals count it, and the current row is
    // still the TV.
    QStringList shown;
    for (int r = 0; r < main.model().rowCount() - 1; ++r)
        shown << main.model().row(r).proName;
    QCOMPARE(shown, (QStringList{QStringLiteral("냉장고"), QStringLiteral("세탁기"), QStringLiteral("TV")}));
    QCOMPARE(main.model().row(FrmMainControls(&main).spList()->currentIndex().row()).totalId, tv);
    QCOMPARE(main.model().totals().maechulCost, 600000);
    QCOMPARE(main.model().rowCount(), 4);
    QVERIFY(prompt.scriptDone());
}

void tst_SafetyWindows::ledgerLocationStoresTheServerButNoPassword()
{
    TempLedger l;
    AppSettings settings;
    ScriptedPrompt prompt;
    frmMain main(settings, l.db(), prompt);
    QAction *entry = nullptr;
    for (QAction *a : FrmMainControls(&main).mnuTools()->actions())
        if (a->text() == QStringLiteral("장부 위치(&L)"))
            entry = a;
    QVERIFY(entry);
    // Esc leaves everything as it was.
    ModalWatch<FrmLedgerLocation> esc([](FrmLedgerLocation *w) {
        w->optServer->setChecked(true);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    entry->trigger();
    QVERIFY(esc.shown());
    QCOMPARE(LedgerLocation::read(settings).kind, LedgerLocation::Kind::File);

    FrmLedgerLocation w(settings, prompt);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(!w.txtHost->isEnabled());
    QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
    QVERIFY(w.optServer->isChecked() && w.txtHost->isEnabled());
    w.txtDatabase->setText(QStringLiteral("ledger"));
    w.txtUser->setText(QStringLiteral("shop"));
    prompt.ok();
    QTest::keyClick(w.txtDatabase, Qt::Key_Return);
    QCOMPARE(prompt.last().text, QStringLiteral("서버 주소를 입력하세요."));
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), w.txtHost);
    QCOMPARE(LedgerLocation::read(settings).kind, LedgerLocation::Kind::File);

    QTest::keyClicks(w.txtHost, QStringLiteral("192.168.0.10"));
    prompt.ok();
    QTest::keyClick(w.txtHost, Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QCOMPARE(prompt.last().text, QStringLiteral("장부 위치를 바꾸었습니다. 프로그램을 다시 시작하면 새 위치의 장부를 엽니다."));
    QCOMPARE(LedgerLocation::read(settings).describe(), QStringLiteral("shop@192.168.0.10:5432/ledger"));
    QCOMPARE(LedgerLocation::read(settings).kind, LedgerLocation::Kind::Server);
}

QTEST_MAIN(tst_SafetyWindows)
#include "tst_safetywindows.moc"
