// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/layout/layoutini.h"
#include "core/layout/twips.h"
#include "gui/ui/formini.h"

class tst_FormIni final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void normalWindowRoundTrip();
    void maximisedKeepsNormalRectangle();
    void minimisedStoresNothing();
    void hiddenStoresNothing();
    void gridSettings();
    void smallGridsNotRestored();
    void columnWidthRoundTrip();
    void badFilesKeepDesign_data();
    void badFilesKeepDesign();
    void offScreenComesBack();
    void noFolderUntilSaved();

private:
    std::unique_ptr<QWidget> makeForm(QTableView **grid = nullptr, QTableView **small = nullptr) const;
    void writeFile(const QByteArray &bytes) const;
    LayoutFile file() const { return LayoutFile(FormIniPath(QStringLiteral("frmTest"), m_dir->path())); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_FormIni::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void tst_FormIni::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<QWidget> tst_FormIni::makeForm(QTableView **grid, QTableView **small) const
{
    auto form = std::make_unique<QWidget>();
    form->setObjectName(QStringLiteral("frmTest"));
    form->setGeometry(120, 90, 640, 480);
    auto *g = new QTableView(form.get());
    g->setObjectName(QStringLiteral("spList"));
    g->setModel(new QStandardItemModel(3, 5, g));
    g->setGeometry(0, 0, 600, 400);
    QFont f = g->font();
    f.setPointSize(9);
    g->setFont(f);
    auto *s = new QTableView(form.get());
    s->setObjectName(QStringLiteral("spSmall"));
    s->setModel(new QStandardItemModel(3, 2, s));
    s->setGeometry(0, 400, 600, 60);
    if (grid)
        *grid = g;
    if (small)
        *small = s;
    return form;
}

void tst_FormIni::writeFile(const QByteArray &bytes) const
{
    QFile f(FormIniPath(QStringLiteral("frmTest"), m_dir->path()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void tst_FormIni::normalWindowRoundTrip()
{
    {
        auto form = makeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->setGeometry(200, 150, 700, 500);
        QTRY_COMPARE(form->size(), QSize(700, 500));
        QVERIFY(SaveFormIni(form.get(), m_dir->path()));
        const LayoutFile f = file();
        QCOMPARE(*f.value(QStringLiteral("FormPosition"), QStringLiteral("WindowState")), QStringLiteral("0"));
        QCOMPARE(*f.number(QStringLiteral("FormPosition"), QStringLiteral("Width")),
                 double(Twips::fromPixels(700, form->logicalDpiX())));
        QCOMPARE(*f.number(QStringLiteral("FormPosition"), QStringLiteral("Left")),
                 double(Twips::fromPixels(form->x(), form->logicalDpiX())));
    }
    auto again = makeForm();
    LoadFormIni(again.get(), m_dir->path());
    QCOMPARE(again->size(), QSize(700, 500));
    const LayoutFile f = file();
    QCOMPARE(again->x(), Twips::toPixels(int(*f.number(QStringLiteral("FormPosition"), QStringLiteral("Left"))),
                                         again->logicalDpiX()));
    QVERIFY(!again->isMaximized());
}

void tst_FormIni::maximisedKeepsNormalRectangle()
{
    writeFile("[FormPosition]\r\nWindowState=0\r\nLeft=3000\r\nTop=2250\r\nWidth=9000\r\nHeight=6000\r\n");
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->showMaximized();
    QTRY_VERIFY(form->isMaximized());
    QVERIFY(SaveFormIni(form.get(), m_dir->path()));
    const LayoutFile f = file();
    QCOMPARE(*f.value(QStringLiteral("FormPosition"), QStringLiteral("WindowState")), QStringLiteral("2"));
    QCOMPARE(*f.value(QStringLiteral("FormPosition"), QStringLiteral("Width")), QStringLiteral("9000"));
    QCOMPARE(*f.value(QStringLiteral("FormPosition"), QStringLiteral("Left")), QStringLiteral("3000"));
    // The next start restores the normal rectangle first, then maximises.
    auto again = makeForm();
    LoadFormIni(again.get(), m_dir->path());
    QVERIFY(again->windowState() & Qt::WindowMaximized);
    again->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.get()));
    again->showNormal();
    QTRY_COMPARE(again->size(), QSize(Twips::toPixels(9000, again->logicalDpiX()), Twips::toPixels(6000, again->logicalDpiY())));
}

void tst_FormIni::minimisedStoresNothing()
{
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->setWindowState(Qt::WindowMinimized);
    QVERIFY(form->isMinimized());
    QVERIFY(!SaveFormIni(form.get(), m_dir->path()));
    QVERIFY(!file().exists());
}

void tst_FormIni::hiddenStoresNothing()
{
    QTableView *grid = nullptr;
    auto form = makeForm(&grid);
    QVERIFY(!SaveFormIni(form.get(), m_dir->path()));
    QVERIFY(!SaveSpreadIni_Col(form.get(), grid, 1, m_dir->path())); // a grid not shown saves no width
    QVERIFY(!file().exists());
}

void tst_FormIni::gridSettings()
{
    writeFile("[spList_General]\r\nFontSize=14\r\nRowHeight=16\r\n");
    QTableView *grid = nullptr;
    auto form = makeForm(&grid);
    LoadFormIni(form.get(), m_dir->path());
    QCOMPARE(grid->font().pointSizeF(), 14.0);
    QCOMPARE(grid->horizontalHeader()->font().pointSizeF(), 10.0);
    const double dpi = grid->logicalDpiY();
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), GridUnits::pointsToPixels(16, dpi));
    QCOMPARE(grid->horizontalHeader()->height(), GridUnits::pointsToPixels(18, dpi));
    QCOMPARE(gridRowHeight(grid), 16.0);
}

void tst_FormIni::smallGridsNotRestored()
{
    writeFile("[spSmall_ColsWidth]\r\n1=30\r\n[spSmall_General]\r\nFontSize=15\r\n");
    QTableView *small = nullptr;
    auto form = makeForm(nullptr, &small);
    const int before = small->columnWidth(0);
    LoadFormIni(form.get(), m_dir->path());
    QCOMPARE(small->columnWidth(0), before);
    QCOMPARE(small->font().pointSizeF(), form->font().pointSizeF());
}

void tst_FormIni::columnWidthRoundTrip()
{
    {
        QTableView *grid = nullptr;
        auto form = makeForm(&grid);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        grid->setColumnWidth(2, 173);
        QVERIFY(SaveSpreadIni_Col(form.get(), grid, 2, m_dir->path()));
        QVERIFY(file().value(QStringLiteral("spList_ColsWidth"), QStringLiteral("3")));
    }
    QTableView *grid = nullptr;
    auto form = makeForm(&grid);
    const int other = grid->columnWidth(1);
    LoadFormIni(form.get(), m_dir->path());
    QCOMPARE(grid->columnWidth(2), 173);
    QCOMPARE(grid->columnWidth(1), other);
}

void tst_FormIni::badFilesKeepDesign_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01[[[=\n\x80\x81", 12);
    QTest::newRow("truncated") << QByteArray("[FormPosition]\r\nLef");
    QTest::newRow("not numbers") << QByteArray("[FormPosition]\nLeft=x\nTop=y\nWidth=w\nHeight=h\nWindowState=s\n"
                                               "[spList_ColsWidth]\n1=wide\n[spList_General]\nFontSize=big\nRowHeight=\n");
    QTest::newRow("absurd values") << QByteArray("[FormPosition]\nWidth=1e9\nHeight=-5\nWindowState=1\n"
                                                 "[spList_ColsWidth]\n1=1000000000\n2=-3\n"
                                                 "[spList_General]\nFontSize=0\nRowHeight=-1\n");
}

void tst_FormIni::badFilesKeepDesign()
{
    QFETCH(QByteArray, content);
    writeFile(content);
    QTableView *grid = nullptr;
    auto form = makeForm(&grid);
    const QRect before = form->geometry();
    const int col0 = grid->columnWidth(0);
    const int col1 = grid->columnWidth(1);
    const int rows = grid->verticalHeader()->defaultSectionSize();
    LoadFormIni(form.get(), m_dir->path());
    QCOMPARE(form->geometry(), before);
    QVERIFY(!(form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)));
    QCOMPARE(grid->columnWidth(0), col0);
    QCOMPARE(grid->columnWidth(1), col1);
    QCOMPARE(grid->font().pointSizeF(), 9.0);
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), rows);
}

void tst_FormIni::offScreenComesBack()
{
    writeFile("[FormPosition]\nLeft=-900000\nTop=900000\nWidth=9000\nHeight=6000\n");
    auto form = makeForm();
    LoadFormIni(form.get(), m_dir->path());
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(avail.contains(form->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(form->x()).arg(form->y())
                                                              .arg(form->width()).arg(form->height())));
    QCOMPARE(form->width(), Twips::toPixels(9000, form->logicalDpiX()));
    // Larger than every screen: shrunk to the screen.
    writeFile("[FormPosition]\nLeft=0\nTop=0\nWidth=999999\nHeight=999999\n");
    LoadFormIni(form.get(), m_dir->path());
    QVERIFY(form->width() <= avail.width() && form->height() <= avail.height());
}

void tst_FormIni::noFolderUntilSaved()
{
    const QString folder = m_dir->filePath(QStringLiteral("FormIni"));
    QTableView *grid = nullptr;
    auto form = makeForm(&grid);
    LoadFormIni(form.get(), folder);
    QVERIFY(!QDir(folder).exists());
    QVERIFY(SaveSpreadIni_Gn(form.get(), grid, QStringLiteral("FontSize"), QStringLiteral("12"), nullptr, folder));
    QVERIFY(QDir(folder).exists());
    QVERIFY(DelFormIni(QStringLiteral("frmTest"), nullptr, folder));
    QVERIFY(!QFile::exists(FormIniPath(QStringLiteral("frmTest"), folder)));
}

QTEST_MAIN(tst_FormIni)
#include "tst_formini.moc"
