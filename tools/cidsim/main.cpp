// SPDX-License-Identifier: GPL-3.0-or-later
// A caller-ID box without the hardware: a pseudo-terminal speaking a modem's caller-ID reports,
// or a network caller-ID (NCID) server on 127.0.0.1, sending the calls it is given.
#include <cstdio>
#include <memory>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "core/base/systemerror.h"
#include "core/callerid/linesplitter.h"
#include "core/callerid/ncidclient.h"
#include "devkit/pseudoterminal.h"

namespace {

QByteArray garbage()
{
    QByteArray bytes(48, '\0');
    for (char &c : bytes)
        c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes.replace('\r', '?').replace('\n', '?') + "\r\n";
}

// The report a Hayes modem prints for one call, rings around it.
QByteArray modemCall(const QString &call)
{
    const QString lower = call.toLower();
    if (lower == QLatin1String("garbage"))
        return garbage();
    if (lower == QLatin1String("ring"))
        return "\r\nRING\r\n\r\nRING\r\n";
    const QString number = lower == QLatin1String("private")       ? QStringLiteral("P")
                           : lower == QLatin1String("unavailable") ? QStringLiteral("O")
                                                                   : call;
    const QDateTime now = QDateTime::currentDateTime();
    return "\r\nRING\r\n\r\nDATE = " + now.toString(QStringLiteral("MMdd")).toLatin1() + "\r\nTIME = "
           + now.toString(QStringLiteral("HHmm")).toLatin1() + "\r\nNMBR = " + number.toUtf8()
           + "\r\nNAME = CIDSIM\r\n\r\nRING\r\n";
}

QByteArray ncidCall(const QString &call)
{
    const QString lower = call.toLower();
    if (lower == QLatin1String("garbage"))
        return garbage();
    const QString number = lower == QLatin1String("private")       ? QStringLiteral("PRIVATE")
                           : lower == QLatin1String("unavailable") ? QStringLiteral("OUT-OF-AREA")
                           : lower == QLatin1String("ring")        ? QStringLiteral("RING")
                                                                   : call;
    const QDateTime now = QDateTime::currentDateTime();
    return "CID: *DATE*" + now.toString(QStringLiteral("MMddyyyy")).toLatin1() + "*TIME*"
           + now.toString(QStringLiteral("HHmm")).toLatin1() + "*LINE*-*NMBR*" + number.toUtf8()
           + "*MESG*NONE*NAME*CIDSIM*\r\n";
}

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "발신번호 표시기 흉내: 가상 직렬포트(또는 NCID 서버)로 전화 수신을 보냅니다.\n"
        "CALL: 전화번호, private(발신번호 제한), unavailable(번호 없음), ring(번호 없는 벨), garbage(잡음)"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("ncid"), QStringLiteral("가상 직렬포트 대신 127.0.0.1의 NCID 서버로 보냅니다")});
    parser.addOption({QStringLiteral("port"), QStringLiteral("NCID 서버의 포트"), QStringLiteral("PORT"),
                      QString::number(NcidClient::DefaultPort)});
    parser.addOption({QStringLiteral("file"), QStringLiteral("한 줄에 하나씩 CALL이 적힌 파일 (#은 주석)"),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("interval"), QStringLiteral("호출 사이 간격 (밀리초)"), QStringLiteral("MS"),
                      QStringLiteral("3000")});
    parser.addOption({QStringLiteral("no-wait"),
                      QStringLiteral("프로그램이 포트를 열기를 기다리지 않고 바로 보냅니다")});
    parser.addOption({QStringLiteral("exit"), QStringLiteral("다 보낸 뒤 끝냅니다 (가상 포트는 뽑힌 것처럼 닫힙니다)")});
    parser.addPositionalArgument(QStringLiteral("CALL"), QStringLiteral("보낼 호출"), QStringLiteral("[CALL...]"));
    parser.process(app);

    QStringList calls = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("file"))) {
        QFile file(parser.value(QStringLiteral("file")));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "파일을 열 수 없습니다: %s\n", qPrintable(file.fileName()));
            return 1;
        }
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
                calls.append(line);
        }
    }
    if (calls.isEmpty()) {
        std::fprintf(stderr, "보낼 호출이 없습니다. 예: solbitsem-cidsim 0212345678 private\n");
        return 2;
    }
    bool ok = false;
    const int interval = parser.value(QStringLiteral("interval")).toInt(&ok);
    if (!ok || interval < 0) {
        std::fprintf(stderr, "간격이 올바르지 않습니다: %s\n", qPrintable(parser.value(QStringLiteral("interval"))));
        return 2;
    }
    const bool ncid = parser.isSet(QStringLiteral("ncid"));
    const bool exitAfter = parser.isSet(QStringLiteral("exit"));

    std::unique_ptr<PseudoTerminal> pty;
    std::unique_ptr<QSocketNotifier> notifier;
    LineSplitter fromProgram;
    QTcpServer server;
    QList<QTcpSocket *> clients;

    const auto send = [&](const QByteArray &bytes) {
        if (pty)
            pty->write(bytes);
        for (QTcpSocket *client : std::as_const(clients))
            client->write(bytes);
    };

    QTimer pace;
    qsizetype next = 0;
    const auto sendNext = [&] {
        const QString call = calls.at(next++);
        send(ncid ? ncidCall(call) : modemCall(call));
        say(QStringLiteral("보냄: %1").arg(call));
        if (next < calls.size())
            return;
        pace.stop();
        say(QStringLiteral("모두 보냈습니다.") + (exitAfter ? QString() : QStringLiteral(" 끝내려면 Ctrl+C.")));
        if (exitAfter)
            QTimer::singleShot(1000, &app, &QCoreApplication::quit);
    };
    QObject::connect(&pace, &QTimer::timeout, &app, sendNext);
    bool started = false;
    const auto begin = [&] {
        if (started)
            return;
        started = true;
        pace.start(interval);
        sendNext();
    };

    if (ncid) {
        const uint port = parser.value(QStringLiteral("port")).toUInt(&ok);
        if (!ok || port < 1 || port > 65535 || !server.listen(QHostAddress::LocalHost, static_cast<quint16>(port))) {
            std::fprintf(stderr, "NCID 서버를 열 수 없습니다: %s\n",
                         qPrintable(socketErrorText(server.serverError(), server.errorString())));
            return 1;
        }
        QObject::connect(&server, &QTcpServer::newConnection, &app, [&] {
            while (QTcpSocket *client = server.nextPendingConnection()) {
                clients.append(client);
                QObject::connect(client, &QTcpSocket::disconnected, &app, [&clients, client] {
                    clients.removeAll(client);
                    client->deleteLater();
                });
                client->write("200 solbitsem-cidsim NCID server\r\n300 End of connection startup\r\n");
                say(QStringLiteral("프로그램이 연결했습니다."));
                begin();
            }
        });
        say(QStringLiteral("NCID 서버: 127.0.0.1:%1").arg(server.serverPort()));
        say(QStringLiteral("설정 파일 [환경설정]에 COM1=NCID:127.0.0.1:%1 을 적고 사용포트1을 1로 두십시오.")
                .arg(server.serverPort()));
    } else {
        pty = std::make_unique<PseudoTerminal>();
        if (!pty->isOpen()) {
            std::fprintf(stderr, "가상 직렬포트를 만들 수 없습니다: %s\n", qPrintable(pty->errorString()));
            return 1;
        }
        // The program opens the port with its caller-ID enable command: answer it as a modem does.
        notifier = std::make_unique<QSocketNotifier>(pty->masterFd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, &app, [&] {
            for (const QByteArray &line : fromProgram.feed(pty->readAvailable())) {
                if (!line.trimmed().toUpper().startsWith("AT"))
                    continue;
                say(QStringLiteral("받은 명령: %1").arg(QString::fromLatin1(line.trimmed())));
                pty->write("\r\nOK\r\n");
                begin();
            }
        });
        say(QStringLiteral("가상 직렬포트: %1").arg(pty->devicePath()));
        say(QStringLiteral("설정 파일 [환경설정]에 COM1=%1 을 적고 사용포트1을 1로 두십시오.").arg(pty->devicePath()));
    }
    if (parser.isSet(QStringLiteral("no-wait")))
        begin();
    else
        say(QStringLiteral("프로그램이 포트를 열기를 기다립니다 (발신번호사용)..."));
    return app.exec();
}
