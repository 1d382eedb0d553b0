// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDialog>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QMessageBox>
#include <QTest>

#include "core/ledger/voucherstore.h"
#include "core/shell/appsettings.h"
#include "gui/callerid/frmtelvoxoptions.h"
#include "gui/ledger/frmdeleted.h"
#include "gui/masterdata/frmclient_sel.h"
#include "gui/ui/spreadhelpers.h"
#include "gui/ui/windowfit.h"
#include "scriptedprompt.h"
#include "templedger.h"

// Windows read whole: columns as wide as their texts, titles whole, nothing beyond the screen.
class tst_WindowFit : public QObject
{
    Q_OBJECT

    // Every shown column is as wide as its header and each of its texts in the grid's font.
    static void verifyColumnsReadWhole(const QTableView *grid)
    {
        const QFontMetrics fm = grid->fontMetrics();
        const QAbstractItemModel *m = grid->model();
        for (int c = 0; c < m->columnCount(); ++c) {
            if (grid->isColumnHidden(c))
                continue;
            int widest = fm.horizontalAdvance(m->headerData(c, Qt::Horizontal).toString());
            for (int r = 0; r < m->rowCount(); ++r)
                widest = std::max(widest, fm.horizontalAdvance(m->index(r, c).data().toString()));
            QVERIFY2(grid->columnWidth(c) > widest,
                     qPrintable(QStringLiteral("열 %1: %2 < %3").arg(c).arg(grid->columnWidth(c)).arg(widest)));
        }
    }

private slots:
    void initTestCase()
    {
        TestEnvironment::instance();
        InstallWindowFit(); // as the program does
    }
    void listsShowTheirTextsWhole();
    void titleFitsAndWindowStaysOnScreen();
};

void tst_WindowFit::listsShowTheirTextsWhole()
{
    TempLedger l;
    ScriptedPrompt prompt;
    l.addClient(0, 1, QStringLiteral("(주)대한전자유통"), QStringLiteral("02-1234-5678"));
    QVERIFY_SQL(l.exec(SqlStatement(QStringLiteral("UPDATE maeip SET address = '서울특별시 강남구 테헤란로 123 대한빌딩 5층'"))));
    FrmClient_Sel clients(l.db(), prompt, l.folder() + QStringLiteral("/dbpost.db"));
    clients.setMode(BusiMode::Supplier);
    QCOMPARE(clients.FindRecords(QString()), 1);
    clients.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clients));
    verifyColumnsReadWhole(clients.spList);
    // The window widened to show them, without a horizontal scroll.
    QVERIFY(!clients.spList->horizontalScrollBar()->isVisible());

    // The recycle bin's dates and amounts whole; a long name is capped at a third of the screen.
    VoucherStore store(l.db());
    store.remove(l.addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("냉장고"), 1000,
                                      QStringLiteral("2026-12-05"), 2000, 0, QStringLiteral("가전"))));
    store.remove(l.addVoucher(voucher(QStringLiteral("2026-12-02"), QString(25, QChar(u'가')), 1000)));
    FrmDeleted bin(l.db(), prompt);
    bin.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bin));
    const int nameColumn = 3;
    QCOMPARE(bin.spList->model()->headerData(nameColumn, Qt::Horizontal).toString(), QStringLiteral("품명"));
    QVERIFY(bin.spList->columnWidth(nameColumn) <= bin.screen()->availableGeometry().width() / 3);
    bin.spList->setColumnHidden(nameColumn, true);
    verifyColumnsReadWhole(bin.spList);
}

void tst_WindowFit::titleFitsAndWindowStaysOnScreen()
{
    AppSettings settings;
    FrmTelvoxOptions ports(settings);
    ports.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ports));
    QFont bold = ports.font();
    bold.setBold(true);
    QVERIFY(ports.width() >= TitleWidth(&ports));
    QVERIFY(TitleWidth(&ports) > QFontMetrics(bold).horizontalAdvance(ports.windowTitle()));

    // A window larger than the screen (the print preview's 1100x800 on 1024x768) is brought in.
    QDialog big;
    big.setWindowTitle(QStringLiteral("인쇄 미리보기"));
    big.resize(1100, 800);
    const QRect screen(0, 0, 1024, 768);
    const QRect fitted = FittedGeometry(&big, screen);
    QVERIFY(screen.contains(fitted));
    QVERIFY(fitted.width() > 900 && fitted.height() > 650);
    // A window that fits keeps its size.
    big.resize(400, 300);
    QCOMPARE(FittedGeometry(&big, screen).size(), QSize(400, 300));

    // A message box is still centred over its window, not pinned to the screen's corner.
    InstallWindowFit();
    QWidget owner;
    owner.setGeometry(200, 150, 400, 300);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("솔빛셈"), QStringLiteral("두 칸에 같은 비밀번호를"),
                    QMessageBox::Ok, &owner);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(qAbs(box.geometry().center().x() - owner.geometry().center().x()) < 40);
}

QTEST_MAIN(tst_WindowFit)
#include "tst_windowfit.moc"
