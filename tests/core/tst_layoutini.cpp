// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/cp949.h"
#include "core/layout/layoutini.h"

class tst_LayoutIni final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileReadsNothing();
    void saveCreatesFolderAndKeepsOrder();
    void replaceInPlace();
    void readsOlderFiles_data();
    void readsOlderFiles();
    void values_data();
    void values();
    void formPosition_data();
    void formPosition();
    void gridLayout();
    void formatValue_data();
    void formatValue();
    void gridUnitsRoundTrip();
    void removeFile();

private:
    QString write(const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_LayoutIni::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString tst_LayoutIni::write(const QByteArray &bytes)
{
    const QString path = m_dir->filePath(QStringLiteral("frmMain.ini"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes);
    return path;
}

void tst_LayoutIni::missingFileReadsNothing()
{
    const QString folder = m_dir->filePath(QStringLiteral("FormIni"));
    const LayoutFile file(LayoutIni::filePath(folder, QStringLiteral("frmMain")));
    QVERIFY(!file.exists());
    QVERIFY(!file.value(QStringLiteral("FormPosition"), QStringLiteral("Left")));
    const auto p = LayoutIni::readFormPosition(file);
    QVERIFY(!p.left && !p.top && !p.width && !p.height && !p.windowState);
    QVERIFY(LayoutIni::readGridLayout(file, QStringLiteral("spList"), 17).columnWidths.empty());
    QVERIFY(!QDir(folder).exists()); // loading never creates the folder
}

void tst_LayoutIni::saveCreatesFolderAndKeepsOrder()
{
    const QString folder = m_dir->filePath(QStringLiteral("FormIni"));
    LayoutFile file(LayoutIni::filePath(folder, QStringLiteral("frmMain")));
    QVERIFY(file.setValue(QStringLiteral("FormPosition"), QStringLiteral("WindowState"), QStringLiteral("0")));
    QVERIFY(file.setValue(QStringLiteral("spList_ColsWidth"), QStringLiteral("3"), QStringLiteral("30.5")));
    QVERIFY(file.setValue(QStringLiteral("FormPosition"), QStringLiteral("Left"), QStringLiteral("1500")));
    QVERIFY(file.setValue(QStringLiteral("spList_General"), QStringLiteral("FontSize"), QStringLiteral("12")));
    QVERIFY(file.setValue(QStringLiteral("spList_ColsWidth"), QStringLiteral("1"), QStringLiteral("11")));
    QFile f(file.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()),
             QStringLiteral("[FormPosition]\r\nWindowState=0\r\nLeft=1500\r\n"
                            "[spList_ColsWidth]\r\n3=30.5\r\n1=11\r\n"
                            "[spList_General]\r\nFontSize=12\r\n"));
    QCOMPARE(*file.number(QStringLiteral("spList_ColsWidth"), QStringLiteral("3")), 30.5);
}

void tst_LayoutIni::replaceInPlace()
{
    const QString path = write("; comment\r\n[FormPosition]\r\nLeft = 100\r\n\r\n[Other]\r\nLeft=7\r\n");
    LayoutFile file(path);
    QVERIFY(file.setValue(QStringLiteral("formposition"), QStringLiteral("LEFT"), QStringLiteral("200")));
    QVERIFY(file.setValue(QStringLiteral("FormPosition"), QStringLiteral("Top"), QStringLiteral("300")));
    QCOMPARE(*file.value(QStringLiteral("FormPosition"), QStringLiteral("Left")), QStringLiteral("200"));
    QCOMPARE(*file.value(QStringLiteral("Other"), QStringLiteral("Left")), QStringLiteral("7"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()),
             QStringLiteral("; comment\r\n[FormPosition]\r\nLEFT=200\r\nTop=300\r\n\r\n[Other]\r\nLeft=7\r\n"));
}

void tst_LayoutIni::readsOlderFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("; 솔빛셈 화면 설정\r\n[FormPosition]\r\nLeft=1234\r\n[spList_ColsWidth]\r\n3=23.25\r\n");
    QTest::newRow("CP949") << Cp949::encode(text);
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QTest::newRow("UTF-8 with the BOM three times") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[FormPosition]\r\nLeft=1234\r\n[spList_ColsWidth]\r\n3=23.25\r\n");
    QTest::newRow("LF line ends") << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
    QTest::newRow("no final line end") << text.trimmed().toUtf8();
}

void tst_LayoutIni::readsOlderFiles()
{
    QFETCH(QByteArray, bytes);
    const LayoutFile file(write(bytes));
    QCOMPARE(LayoutIni::readFormPosition(file).left, std::optional<int>(1234));
    QCOMPARE(LayoutIni::readGridLayout(file, QStringLiteral("spList"), 17).columnWidths.at(3), 23.25);
}

void tst_LayoutIni::values_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("plain") << QByteArray("Left=1500") << "1500" << true;
    QTest::newRow("spaces trimmed") << QByteArray("Left =   1500   ") << "1500" << true;
    QTest::newRow("nine characters kept") << QByteArray("Left=123456789") << "123456789" << true;
    QTest::newRow("tenth character cut") << QByteArray("Left=1234567890") << "123456789" << true;
    QTest::newRow("cut, then trimmed") << QByteArray("Left=12345678 9") << "12345678" << true;
    QTest::newRow("decimals") << QByteArray("Left=10.5") << "10.5" << true;
    QTest::newRow("negative") << QByteArray("Left=-300") << "-300" << true;
    QTest::newRow("letters") << QByteArray("Left=abc") << "abc" << false;
    QTest::newRow("number and letters") << QByteArray("Left=12px") << "12px" << false;
    QTest::newRow("empty") << QByteArray("Left=") << "" << false;
    QTest::newRow("exponent") << QByteArray("Left=1e9") << "1e9" << false;
    QTest::newRow("quoted") << QByteArray("Left=\"42\"") << "42" << true;
}

void tst_LayoutIni::values()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    QFETCH(bool, numeric);
    const LayoutFile file(write("[FormPosition]\r\n" + line + "\r\n"));
    QCOMPARE(*file.value(QStringLiteral("FormPosition"), QStringLiteral("Left")), value);
    QCOMPARE(file.number(QStringLiteral("FormPosition"), QStringLiteral("Left")).has_value(), numeric);
}

void tst_LayoutIni::formPosition_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("left");   // -1: dropped
    QTest::addColumn<int>("width");  // -1: dropped
    QTest::addColumn<int>("state");  // -1: dropped
    QTest::newRow("normal") << QByteArray("WindowState=0\nLeft=1500\nWidth=15000") << 1500 << 15000 << 0;
    QTest::newRow("maximised") << QByteArray("WindowState=2\nLeft=1500\nWidth=15000") << 1500 << 15000 << 2;
    QTest::newRow("minimised is never applied") << QByteArray("WindowState=1") << -1 << -1 << -1;
    QTest::newRow("unknown state") << QByteArray("WindowState=7") << -1 << -1 << -1;
    QTest::newRow("fractional state") << QByteArray("WindowState=0.5") << -1 << -1 << -1;
    QTest::newRow("negative position kept (screen to the left)") << QByteArray("Left=-3000") << -3000 << -1 << -1;
    QTest::newRow("absurd position") << QByteArray("Left=-99999999") << -1 << -1 << -1;
    QTest::newRow("absurd width") << QByteArray("Width=999999999") << -1 << -1 << -1;
    QTest::newRow("zero width") << QByteArray("Width=0") << -1 << -1 << -1;
    QTest::newRow("negative width") << QByteArray("Width=-15000") << -1 << -1 << -1;
    QTest::newRow("not numbers") << QByteArray("Left=left\nWidth=wide\nWindowState=max") << -1 << -1 << -1;
    QTest::newRow("truncated line") << QByteArray("Left=15") << 15 << -1 << -1;
    QTest::newRow("truncated key") << QByteArray("Wid") << -1 << -1 << -1;
    QTest::newRow("empty section") << QByteArray("") << -1 << -1 << -1;
}

void tst_LayoutIni::formPosition()
{
    QFETCH(QByteArray, content);
    QFETCH(int, left);
    QFETCH(int, width);
    QFETCH(int, state);
    const LayoutFile file(write("[FormPosition]\n" + content));
    const auto p = LayoutIni::readFormPosition(file);
    QCOMPARE(p.left.value_or(-1), left);
    QCOMPARE(p.width.value_or(-1), width);
    QCOMPARE(p.windowState.value_or(-1), state);
}

void tst_LayoutIni::gridLayout()
{
    const LayoutFile file(write("[spList_ColsWidth]\n1=12\n2=0\n3=1e9\n4=9999\n5=abc\n6=-4\n7=15.75\n18=10\n"
                                "[spList_General]\nFontSize=0\nRowHeight=14\n"
                                "[spTotal_General]\nFontSize=11\nRowHeight=\n"));
    const auto g = LayoutIni::readGridLayout(file, QStringLiteral("spList"), 17);
    QCOMPARE(g.columnWidths.size(), size_t(2));
    QCOMPARE(g.columnWidths.at(1), 12.0);
    QCOMPARE(g.columnWidths.at(7), 15.75);
    QVERIFY(!g.fontSize); // 0: the design font
    QCOMPARE(g.rowHeight, std::optional<double>(14));
    const auto t = LayoutIni::readGridLayout(file, QStringLiteral("spTotal"), 17);
    QCOMPARE(t.fontSize, std::optional<double>(11));
    QVERIFY(!t.rowHeight);
    QVERIFY(t.columnWidths.empty());
}

void tst_LayoutIni::formatValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 10.0 << "10";
    QTest::newRow("two decimals") << 23.25 << "23.25";
    QTest::newRow("one decimal") << 13.5 << "13.5";
    QTest::newRow("rounded") << 1.005 << "1";
    QTest::newRow("negative zero") << -0.001 << "0";
    QTest::newRow("never beyond nine characters") << 1234567.891 << "1234567.8";
}

void tst_LayoutIni::formatValue()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(LayoutIni::formatValue(value), text);
    QVERIFY(LayoutIni::formatValue(value).size() <= LayoutFile::ValueChars);
}

void tst_LayoutIni::gridUnitsRoundTrip()
{
    for (double dpi : {96.0, 120.0, 144.0}) {
        for (int px = 12; px < 600; ++px) {
            const double chars = GridUnits::pixelsToChars(px, dpi);
            QCOMPARE(GridUnits::charsToPixels(chars, dpi), px);
        }
    }
    QCOMPARE(GridUnits::charsToPixels(10), 95);
    QCOMPARE(GridUnits::pointsToPixels(12), 16);
}

void tst_LayoutIni::removeFile()
{
    LayoutFile file(write("[FormPosition]\nLeft=1\n"));
    QVERIFY(file.exists());
    QVERIFY(file.remove());
    QVERIFY(!file.exists());
    QVERIFY(file.remove()); // nothing to delete is no failure
}

QTEST_APPLESS_MAIN(tst_LayoutIni)
#include "tst_layoutini.moc"
