// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/callerid/calleridparser.h"
#include "core/callerid/ncidparser.h"

namespace {

// "kind:data" per report, so a failing row prints what came out.
QStringList texts(const QList<CallerReport> &reports)
{
    QStringList out;
    for (const CallerReport &r : reports)
        out << QString::number(r.kind) + QLatin1Char(':') + r.data;
    return out;
}

const QByteArray ncidCall = "CID: *DATE*12092026*TIME*1405*LINE*POTS*NMBR*0212345678*MESG*NONE*NAME*KIM*\r\n";

} // namespace

class tst_CallerIdParser final : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void ringsTellCallsApartByTime();
    void longLineStaysBounded();
};

void tst_CallerIdParser::parse_data()
{
    QTest::addColumn<bool>("ncid");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("reports");

    const QByteArray report = "\r\nRING\r\n\r\nDATE = 1209\r\nTIME = 1405\r\nNMBR = 0212345678\r\nNAME = KIM\r\n\r\nRING\r\n";
    const QStringList number = {QStringLiteral("1:0212345678")};
    const QStringList none = {QStringLiteral("2:")};
    const QStringList ringOnly = {QStringLiteral("2:RING")};

    QTest::newRow("modem: report between rings, CR LF") << false << report << number;
    QTest::newRow("modem: no blanks around =") << false << QByteArray("DATE=1209\nTIME=1405\nNMBR=0212345678\n") << number;
    QTest::newRow("modem: CR only") << false << QByteArray("RING\rNMBR = 0212345678\rRING\r") << number;
    QTest::newRow("modem: blanks and tabs") << false << QByteArray("  NMBR\t =  0212345678  \r\n") << number;
    QTest::newRow("modem: lower-case key") << false << QByteArray("nmbr = 0212345678\r\n") << number;
    QTest::newRow("modem: private") << false << QByteArray("DATE = 1209\r\nNMBR = P\r\nRING\r\nRING\r\n")
                                       << QStringList{QStringLiteral("2:P")};
    QTest::newRow("modem: unavailable") << false << QByteArray("NMBR = O\r\n") << QStringList{QStringLiteral("2:O")};
    // Words and zeros in place of a number are no number to look up.
    QTest::newRow("modem: restricted") << false << QByteArray("NMBR = Restricted\r\n")
                                       << QStringList{QStringLiteral("2:Restricted")};
    QTest::newRow("modem: zeros") << false << QByteArray("NMBR = 0000000000\r\n")
                                  << QStringList{QStringLiteral("2:0000000000")};
    QTest::newRow("modem: empty number") << false << QByteArray("NMBR =\r\n") << none;
    QTest::newRow("modem: second RING without a report") << false << QByteArray("RING\r\nRING\r\nRING\r\nRING\r\n") << ringOnly;
    QTest::newRow("modem: name and message, no number") << false
        << QByteArray("RING\r\nDATE = 1209\r\nNAME = O\r\nMESG = 0301\r\nRING\r\n") << none;
    QTest::newRow("modem: report before the first ring") << false
        << QByteArray("NMBR = 021234567\r\nRING\r\nRING\r\nRING\r\n") << QStringList{QStringLiteral("1:021234567")};
    QTest::newRow("modem: number with letters") << false << QByteArray("NMBR = 02ABC1234\r\n")
                                                << QStringList{QStringLiteral("1:02ABC1234")};
    QTest::newRow("modem: 30 digits") << false << QByteArray("NMBR = " + QByteArray(30, '7') + "\r\n")
                                      << QStringList{QStringLiteral("1:") + QString(30, QLatin1Char('7'))};
    QTest::newRow("modem: two calls in quick succession") << false
        << QByteArray("NMBR = 0212345678\r\nNMBR = 01012345678\r\n")
        << QStringList{QStringLiteral("1:0212345678"), QStringLiteral("1:01012345678")};
    QTest::newRow("modem: its own answers") << false << QByteArray("AT+VCID=1\r\r\nOK\r\nERROR\r\n")
                                            << QStringList{QStringLiteral("3:AT+VCID=1"), QStringLiteral("3:OK"),
                                                           QStringLiteral("3:ERROR")};
    QTest::newRow("modem: garbage, then a report") << false
        << QByteArrayLiteral("\x01\x02\x03\r\nz\x07z\x00\r\nNMBR = 0212345678\r\n")
        << QStringList{QStringLiteral("3:zz"), QStringLiteral("1:0212345678")};
    QTest::newRow("modem: unfinished line waits") << false << QByteArray("NMBR = 0212345678") << QStringList();

    QTest::newRow("ncid: a call after the greeting") << true << QByteArray("200 NCID Server: ncidd 1.0\r\n" + ncidCall) << number;
    QTest::newRow("ncid: LF only") << true << QByteArray(ncidCall).replace("\r\n", "\n") << number;
    QTest::newRow("ncid: private") << true << QByteArray(ncidCall).replace("0212345678", "PRIVATE")
                                   << QStringList{QStringLiteral("2:PRIVATE")};
    QTest::newRow("ncid: out of area") << true << QByteArray(ncidCall).replace("0212345678", "OUT-OF-AREA")
                                       << QStringList{QStringLiteral("2:OUT-OF-AREA")};
    QTest::newRow("ncid: no number, dash") << true << QByteArray(ncidCall).replace("0212345678", "-")
                                           << QStringList{QStringLiteral("2:-")};
    QTest::newRow("ncid: rang without caller ID") << true << QByteArray(ncidCall).replace("0212345678", "RING")
                                                  << ringOnly;
    QTest::newRow("ncid: no number field") << true << QByteArray("CID: *DATE*12092026*TIME*1405*NAME*KIM*\r\n") << none;
    QTest::newRow("ncid: call log and other lines ignored") << true
        << QByteArray("CIDLOG: *DATE*12082026*TIME*0900*LINE*-*NMBR*0311234567*MESG*NONE*NAME*LEE*\r\n"
                      "300 End of call log\r\nHUP: *DATE*12092026*NMBR*0212345678*\r\nMSG: hello\r\n")
        << QStringList();
    QTest::newRow("ncid: garbage, then a call") << true << QByteArray("\xff\xfe junk *NMBR*1*\r\n" + ncidCall) << number;
    QTest::newRow("ncid: number with letters") << true << QByteArray(ncidCall).replace("0212345678", "02ABC1234")
                                               << QStringList{QStringLiteral("1:02ABC1234")};
}

// Every row is fed whole, byte by byte and in uneven pieces: a report split across reads must
// come out the same.
void tst_CallerIdParser::parse()
{
    QFETCH(bool, ncid);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, reports);

    for (const qsizetype piece : {bytes.size(), qsizetype(1), qsizetype(7)}) {
        CallerIdParser modem;
        NcidParser network;
        QList<CallerReport> out;
        for (qsizetype at = 0; at < bytes.size(); at += piece) {
            const QByteArray part = bytes.mid(at, piece);
            out += ncid ? network.feed(part) : modem.feed(part, 0);
        }
        QCOMPARE(texts(out), reports);
    }
}

void tst_CallerIdParser::ringsTellCallsApartByTime()
{
    CallerIdParser parser;
    // A lone ring, and another long after: two calls that each rang once, the first told when
    // the second begins.
    QCOMPARE(texts(parser.feed("RING\r\n", 0)), QStringList());
    QCOMPARE(texts(parser.feed("RING\r\n", 20000)), QStringList{QStringLiteral("2:RING")});
    // Two rings of one call.
    QCOMPARE(texts(parser.feed("RING\r\n", 23000)), QStringList{QStringLiteral("2:RING")});
    // The next call's report between its rings is its only report.
    QCOMPARE(texts(parser.feed("RING\r\n", 40000)), QStringList());
    QCOMPARE(texts(parser.feed("NMBR = 0212345678\r\n", 41000)), QStringList{QStringLiteral("1:0212345678")});
    QCOMPARE(texts(parser.feed("RING\r\n", 44000)), QStringList());
    QCOMPARE(texts(parser.feed("RING\r\n", 50000)), QStringList());
    QCOMPARE(texts(parser.expire(70000)), QStringList());
    // A call that rang once and stopped, told once the line has been quiet long enough.
    QCOMPARE(texts(parser.feed("RING\r\n", 80000)), QStringList());
    QCOMPARE(texts(parser.expire(80000 + CallerIdParser::CallGapMs)), QStringList());
    QCOMPARE(texts(parser.expire(80001 + CallerIdParser::CallGapMs)), QStringList{QStringLiteral("2:RING")});
    QCOMPARE(texts(parser.expire(99000)), QStringList());
    QCOMPARE(texts(parser.feed("RING\r\n", 99000)), QStringList());
}

void tst_CallerIdParser::longLineStaysBounded()
{
    CallerIdParser modem;
    NcidParser network;
    LineSplitter lines;
    const QByteArray flood(100000, 'x');
    QVERIFY(modem.feed(flood, 0).isEmpty());
    QVERIFY(network.feed(flood).isEmpty());
    QVERIFY(lines.feed(flood).isEmpty());
    QVERIFY(lines.buffered() <= LineSplitter::MaxLine);
    // The flood's line is dropped whole, and what follows it is read as usual.
    QCOMPARE(texts(modem.feed("NMBR = 1\r\nNMBR = 0212345678\r\n", 0)), QStringList{QStringLiteral("1:0212345678")});
    QCOMPARE(texts(network.feed("\r\n" + ncidCall)), QStringList{QStringLiteral("1:0212345678")});
}

QTEST_APPLESS_MAIN(tst_CallerIdParser)
#include "tst_calleridparser.moc"
