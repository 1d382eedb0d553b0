// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "core/base/systemerror.h"
#include "core/callerid/incomingcall.h"
#include "devkit/pseudoterminal.h"
#include "core/callerid/telvox.h"
#include "core/callerid/telvoxports.h"
#include "core/shell/appsettings.h"
#include "templedger.h"

namespace {

const QString env = AppSettings::environment();

// What the device side has received, once it holds expected or after three seconds.
QByteArray readUntil(PseudoTerminal &pty, const QByteArray &expected)
{
    QByteArray got;
    const QDeadlineTimer deadline(3000);
    while (!(got += pty.readAvailable()).contains(expected) && !deadline.hasExpired())
        QTest::qWait(10);
    return got;
}

// The typed report of a Received signal.
CallerReport reportAt(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<CallerReport>();
}

} // namespace

// Failure messages name the report.
char *toString(const CallerReport &r)
{
    return QTest::toString(QString::number(r.kind) + QLatin1Char(' ') + r.data);
}

class tst_Telvox final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }

    void serialReportsArriveAsReceived();
    void enableCommand_data();
    void enableCommand();
    void openFails_data();
    void openFails();
    void portInUseByAnother();
    void closeNamesItsPort();
    void unpluggedIsReportedOnceAndReopens();
    void ncidCallsAndReconnect();
    void ncidRefusedKeepsTrying();
    void portDialogText_data();
    void portDialogText();
    void logLinePad_data();
    void logLinePad();
    void systemErrorsInKorean();
};

void tst_Telvox::portDialogText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("blank, digit, letter") << " 4a" << "4";
    QTest::newRow("port name") << "COM4" << "0";
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("leading zeros") << "007" << "7";
    QTest::newRow("sign") << "-3" << "-3";
    QTest::newRow("fullwidth digit") << "\uFF14" << "0";
    QTest::newRow("past any port") << "12345678901234" << "123456789";
}

void tst_Telvox::portDialogText()
{
    QFETCH(QString, typed);
    QTEST(TelvoxPorts::storedText(typed), "stored");
}

void tst_Telvox::logLinePad_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("start");
    QTest::newRow("padded") << "02-123-4567" << "02-123-4567    2026-12-09 14:05:07 김 [제품: TV]";
    QTest::newRow("exactly 15") << "010-1234-567890" << "010-1234-5678902026-12-09 14:05:07 김 [제품: TV]";
    QTest::newRow("longer, unpadded") << "031-1234567890-1234" << "031-1234567890-12342026-12-09 14:05:07 김 [제품: TV]";
}

void tst_Telvox::logLinePad()
{
    QFETCH(QString, display);
    const QDateTime at(QDate(2026, 12, 9), QTime(14, 5, 7));
    QTEST(IncomingCall::logLine(display, at, QStringLiteral("김"), QStringLiteral("TV")), "start");
}

void tst_Telvox::serialReportsArriveAsReceived()
{
    PseudoTerminal pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    AppSettings settings;
    settings.setValue(env, QStringLiteral("COM3"), pty.devicePath());
    telvox device(settings);
    QSignalSpy received(&device, &telvox::Received);

    QString name = QStringLiteral("COM3");
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), 0);
    QCOMPARE(reply, pty.devicePath());
    QVERIFY(device.IsOpen());
    QVERIFY(readUntil(pty, "AT+VCID=1\r").contains("AT+VCID=1\r"));

    // A report split across two writes, the answer of the modem, a withheld number.
    QVERIFY(pty.write("\r\nRING\r\n\r\nDATE = 1209\r\nTIME = 14"));
    QTest::qWait(50);
    QVERIFY(received.isEmpty());
    QVERIFY(pty.write("05\r\nNMBR = 0212345678\r\nNAME = KIM\r\n\r\nRING\r\nOK\r\nNMBR = P\r\n"));
    QTRY_COMPARE(received.size(), 3);
    QCOMPARE(reportAt(received, 0), (CallerReport{1, QStringLiteral("0212345678")}));
    QCOMPARE(reportAt(received, 1), (CallerReport{3, QStringLiteral("OK")}));
    QCOMPARE(reportAt(received, 2), (CallerReport{2, QStringLiteral("P")}));
}

void tst_Telvox::enableCommand_data()
{
    QTest::addColumn<QString>("stored"); // a null text: the key is absent
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("default") << QString() << QByteArray("AT+VCID=1\r");
    QTest::newRow("another modem's") << QStringLiteral("AT#CID=1") << QByteArray("AT#CID=1\r");
    QTest::newRow("empty sends nothing") << QStringLiteral("") << QByteArray();
}

void tst_Telvox::enableCommand()
{
    QFETCH(QString, stored);
    QFETCH(QByteArray, sent);
    PseudoTerminal pty;
    AppSettings settings;
    settings.setValue(env, QStringLiteral("COM1"), pty.devicePath());
    if (!stored.isNull())
        settings.setValue(env, telvox::initCommandKey(), stored);
    settings.setValue(env, telvox::baudRateKey(), QStringLiteral("9600"));
    settings.setValue(env, telvox::parityKey(), QStringLiteral("Even"));
    telvox device(settings);
    QString name = QStringLiteral("COM1");
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), 0);
    if (sent.isEmpty()) {
        QTest::qWait(200);
        QCOMPARE(pty.readAvailable(), QByteArray());
    } else {
        QCOMPARE(readUntil(pty, sent), sent);
    }
}

void tst_Telvox::openFails_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mapped");
    QTest::addColumn<QString>("badKey");
    QTest::addColumn<QString>("badValue");
    QTest::addColumn<int>("result");

    QTest::newRow("COM99: no /dev/ttyS98") << "COM99" << "" << "" << "" << int(telvox::NoSuchPort);
    QTest::newRow("letters for a number") << "COMabc" << "" << "" << "" << int(telvox::NoSuchPort);
    QTest::newRow("port text 0") << "COM0" << "" << "" << "" << int(telvox::NoSuchPort);
    QTest::newRow("mapped to a missing device") << "COM3" << "/dev/solbitsem-none" << "" << "" << int(telvox::NoSuchPort);
    QTest::newRow("server without a host") << "COMNCID:" << "" << "" << "" << int(telvox::NoSuchPort);
    QTest::newRow("server port out of range") << "COM3" << "NCID:127.0.0.1:70000" << "" << "" << int(telvox::NoSuchPort);
    QTest::newRow("speed not a number") << "COM3" << "pty" << "TelvoxBaudRate" << "fast" << int(telvox::BadSetting);
    QTest::newRow("nine data bits") << "COM3" << "pty" << "TelvoxDataBits" << "9" << int(telvox::BadSetting);
    QTest::newRow("parity X") << "COM3" << "pty" << "TelvoxParity" << "X" << int(telvox::BadSetting);
    QTest::newRow("three stop bits") << "COM3" << "pty" << "TelvoxStopBits" << "3" << int(telvox::BadSetting);
}

void tst_Telvox::openFails()
{
    QFETCH(QString, name);
    QFETCH(QString, mapped);
    QFETCH(QString, badKey);
    QFETCH(QString, badValue);
    QFETCH(int, result);

    PseudoTerminal pty;
    AppSettings settings;
    if (!mapped.isEmpty())
        settings.setValue(env, name, mapped == QLatin1String("pty") ? pty.devicePath() : mapped);
    if (!badKey.isEmpty())
        settings.setValue(env, badKey, badValue);
    telvox device(settings);
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), result);
    QVERIFY(!reply.isEmpty());
    if (!badKey.isEmpty())
        QCOMPARE(reply, badKey);
    QVERIFY(!device.IsOpen());
}

void tst_Telvox::portInUseByAnother()
{
    PseudoTerminal pty;
    AppSettings settings;
    settings.setValue(env, QStringLiteral("COM1"), pty.devicePath());
    settings.setValue(env, QStringLiteral("COM2"), pty.devicePath());
    telvox first(settings);
    telvox second(settings);
    QString name1 = QStringLiteral("COM1");
    QString name2 = QStringLiteral("COM2");
    QString reply;
    QCOMPARE(first.OpenPort(name1, reply), 0);
    QCOMPARE(second.OpenPort(name2, reply), int(telvox::PortInUse));
    QVERIFY(!second.IsOpen());
    QVERIFY(first.IsOpen());
}

void tst_Telvox::closeNamesItsPort()
{
    PseudoTerminal pty;
    AppSettings settings;
    settings.setValue(env, QStringLiteral("COM4"), pty.devicePath());
    telvox device(settings);
    QString name = QStringLiteral("COM4");
    QString other = QStringLiteral("COM5");
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), 0);
    QCOMPARE(device.OpenPort(name, reply), int(telvox::AlreadyOpen));
    QCOMPARE(device.ClosePort(other, reply), int(telvox::NotOpen));
    QVERIFY(device.IsOpen());
    QCOMPARE(device.ClosePort(name, reply), 0);
    QVERIFY(!device.IsOpen());
    QCOMPARE(device.ClosePort(name, reply), int(telvox::NotOpen));
}

void tst_Telvox::unpluggedIsReportedOnceAndReopens()
{
    auto pty = std::make_unique<PseudoTerminal>();
    AppSettings settings;
    settings.setValue(env, QStringLiteral("COM3"), pty->devicePath());
    telvox device(settings);
    QSignalSpy lost(&device, &telvox::linkLost);
    QString name = QStringLiteral("COM3");
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), 0);
    // After a call: a device that has sent data hangs up differently.
    QSignalSpy got(&device, &telvox::Received);
    QVERIFY(pty->write("NMBR = 0212345678\r\n"));
    QTRY_COMPARE(got.size(), 1);

    pty.reset();
    QTRY_COMPARE(lost.size(), 1);
    QCOMPARE(lost.at(0).at(0).toString(), QStringLiteral("COM3"));
    // Said in Korean; the system's own words, for support, only on the next line.
    const QString reason = lost.at(0).at(1).toString();
    QVERIFY2(reason.startsWith(QStringLiteral("장치가 응답하지 않습니다.")), qPrintable(reason));
    QVERIFY(!device.IsOpen());
    QTest::qWait(200);
    QCOMPARE(lost.size(), 1);

    // The adapter is back (under a new device path, as a re-plugged USB adapter may be).
    PseudoTerminal again;
    settings.setValue(env, QStringLiteral("COM3"), again.devicePath());
    QSignalSpy received(&device, &telvox::Received);
    QCOMPARE(device.OpenPort(name, reply), 0);
    QVERIFY(readUntil(again, "AT+VCID=1\r").contains("AT+VCID=1\r"));
    QVERIFY(again.write("NMBR = 01012345678\r\n"));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(reportAt(received, 0), (CallerReport{1, QStringLiteral("01012345678")}));
}

void tst_Telvox::ncidCallsAndReconnect()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    AppSettings settings;
    settings.setValue(env, QStringLiteral("COM2"), QStringLiteral("NCID:127.0.0.1:%1").arg(server.serverPort()));
    telvox device(settings);
    QSignalSpy received(&device, &telvox::Received);
    QSignalSpy lost(&device, &telvox::linkLost);
    QString name = QStringLiteral("COM2");
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), 0);
    QVERIFY(device.IsOpen());

    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket *link = server.nextPendingConnection();
    link->write("200 NCID Server\r\nCIDLOG: *DATE*12082026*TIME*0900*LINE*-*NMBR*0311234567*MESG*NONE*NAME*LEE*\r\n"
                "\x01\xfe\xff junk\r\nCID: *DATE*12092026*TIME*1405*LINE*-*NMBR*0212345678*MESG*NONE*NAME*KIM*\r\n");
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(reportAt(received, 0), (CallerReport{1, QStringLiteral("0212345678")}));

    // The server goes away and comes back: the member stays open and finds it again.
    link->close();
    QTRY_COMPARE(lost.size(), 1);
    QVERIFY(device.IsOpen());
    QTRY_VERIFY_WITH_TIMEOUT(server.hasPendingConnections(), 5000);
    link = server.nextPendingConnection();
    link->write("CID: *DATE*12092026*TIME*1406*LINE*-*NMBR*PRIVATE*MESG*NONE*NAME*PRIVATE*\r\n");
    QTRY_COMPARE(received.size(), 2);
    QCOMPARE(reportAt(received, 1), (CallerReport{2, QStringLiteral("PRIVATE")}));
    QCOMPARE(lost.size(), 1);

    QCOMPARE(device.ClosePort(name, reply), 0);
    QVERIFY(!device.IsOpen());
    QTRY_COMPARE(link->state(), QAbstractSocket::UnconnectedState);
}

void tst_Telvox::ncidRefusedKeepsTrying()
{
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    AppSettings settings;
    telvox device(settings);
    QSignalSpy lost(&device, &telvox::linkLost);
    // The port text itself names the server.
    QString name = QStringLiteral("COMNCID:127.0.0.1:%1").arg(port);
    QString reply;
    QCOMPARE(device.OpenPort(name, reply), 0);
    QTRY_COMPARE(lost.size(), 1);
    QVERIFY(device.IsOpen());

    // Refused again on the first retry, still said once; a server that starts later is found.
    QTest::qWait(1500);
    QCOMPARE(lost.size(), 1);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, port));
    QTRY_VERIFY_WITH_TIMEOUT(server.hasPendingConnections(), 5000);
}

void tst_Telvox::systemErrorsInKorean()
{
    const auto firstLineIsKorean = [](const QString &text) {
        const QString first = text.section(QStringLiteral("\r\n"), 0, 0);
        return !first.isEmpty() && std::none_of(first.begin(), first.end(), [](QChar c) { return c.isLetter() && c.unicode() < 128; });
    };
    const QString eagain = QStringLiteral("Resource temporarily unavailable");
    const QString serial = serialErrorText(QSerialPort::ResourceError, eagain);
    QVERIFY2(firstLineIsKorean(serial), qPrintable(serial));
    QVERIFY(serial.endsWith(QStringLiteral("\r\n(시스템 메시지: Resource temporarily unavailable)")));
    for (const int e : {ENOENT, EACCES, EBUSY, EAGAIN, EIO, 12345})
        QVERIFY2(firstLineIsKorean(errnoText(e, QStringLiteral("x"))), qPrintable(errnoText(e, {})));
    QVERIFY(firstLineIsKorean(socketErrorText(QAbstractSocket::ConnectionRefusedError, QStringLiteral("Connection refused"))));
    // Nothing from the system: no empty second line.
    QVERIFY(!serialErrorText(QSerialPort::DeviceNotFoundError, {}).contains(QLatin1Char('\n')));

    // A server that refuses is said in Korean too.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    NcidClient client;
    QSignalSpy lost(&client, &NcidClient::connectionLost);
    client.start(QStringLiteral("127.0.0.1"), port);
    QTRY_COMPARE(lost.size(), 1);
    QVERIFY2(firstLineIsKorean(lost.at(0).at(0).toString()), qPrintable(lost.at(0).at(0).toString()));
}

QTEST_GUILESS_MAIN(tst_Telvox)
#include "tst_telvox.moc"
