// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemerror.h"

#include <cerrno>

namespace {

QString withSystemText(const QString &words, const QString &systemText)
{
    const QString detail = systemText.trimmed();
    return detail.isEmpty() ? words : words + QStringLiteral("\r\n(시스템 메시지: ") + detail + QLatin1Char(')');
}

} // namespace

QString serialErrorText(QSerialPort::SerialPortError error, const QString &systemText)
{
    QString words;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        words = QStringLiteral("장치를 찾을 수 없습니다. 장치의 연결과 포트 번호를 확인해 주십시오.");
        break;
    case QSerialPort::PermissionError:
        words = QStringLiteral("포트를 열 수 없습니다. 다른 프로그램이 쓰고 있거나 이 사용자에게 권한이 없습니다.");
        break;
    case QSerialPort::OpenError:
        words = QStringLiteral("포트가 이미 열려 있습니다.");
        break;
    case QSerialPort::NotOpenError:
        words = QStringLiteral("포트가 열려 있지 않습니다.");
        break;
    case QSerialPort::WriteError:
        words = QStringLiteral("장치로 보내지 못했습니다. 장치가 빠졌을 수 있습니다.");
        break;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        words = QStringLiteral("장치가 응답하지 않습니다. 장치가 빠졌거나 꺼졌을 수 있으니 연결을 확인해 주십시오.");
        break;
    case QSerialPort::UnsupportedOperationError:
        words = QStringLiteral("장치가 이 통신 설정(속도, 비트 수, 패리티)을 지원하지 않습니다.");
        break;
    case QSerialPort::TimeoutError:
        words = QStringLiteral("장치가 제때 응답하지 않았습니다.");
        break;
    case QSerialPort::NoError:
    case QSerialPort::UnknownError:
        words = QStringLiteral("장치에 알 수 없는 오류가 났습니다.");
        break;
    }
    return withSystemText(words, systemText);
}

QString socketErrorText(QAbstractSocket::SocketError error, const QString &systemText)
{
    QString words;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        words = QStringLiteral("서버가 연결을 받지 않습니다. 서버가 켜져 있는지, 주소와 포트가 맞는지 확인해 주십시오.");
        break;
    case QAbstractSocket::RemoteHostClosedError:
        words = QStringLiteral("서버가 연결을 끊었습니다.");
        break;
    case QAbstractSocket::HostNotFoundError:
        words = QStringLiteral("서버의 주소를 찾을 수 없습니다. 주소를 확인해 주십시오.");
        break;
    case QAbstractSocket::SocketTimeoutError:
        words = QStringLiteral("서버가 제때 응답하지 않았습니다.");
        break;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::TemporaryError:
        words = QStringLiteral("네트워크 연결에 문제가 있습니다. 네트워크 연결을 확인해 주십시오.");
        break;
    case QAbstractSocket::AddressInUseError:
        words = QStringLiteral("그 포트는 다른 프로그램이 이미 쓰고 있습니다.");
        break;
    case QAbstractSocket::SocketAccessError:
        words = QStringLiteral("이 사용자에게 네트워크를 쓸 권한이 없습니다.");
        break;
    default:
        words = QStringLiteral("서버와 주고받지 못했습니다.");
        break;
    }
    return withSystemText(words, systemText);
}

QString errnoText(int errnoValue, const QString &systemText)
{
    QString words;
    switch (errnoValue) {
    case ENOENT:
        words = QStringLiteral("장치나 파일이 없습니다.");
        break;
    case ENODEV:
    case ENXIO:
        words = QStringLiteral("장치가 연결되어 있지 않습니다.");
        break;
    case EACCES:
    case EPERM:
        words = QStringLiteral("이 사용자에게 권한이 없습니다.");
        break;
    case EBUSY:
        words = QStringLiteral("다른 프로그램이 쓰고 있습니다.");
        break;
    case EAGAIN:
        words = QStringLiteral("장치가 응답하지 않습니다. 빠졌거나 꺼졌을 수 있습니다.");
        break;
    case EIO:
        words = QStringLiteral("장치와 주고받는 중에 입출력 오류가 났습니다.");
        break;
    case EMFILE:
    case ENFILE:
        words = QStringLiteral("열린 파일이 너무 많습니다. 다른 프로그램을 닫고 다시 해 주십시오.");
        break;
    case ENOSPC:
    case EDQUOT:
        words = QStringLiteral("디스크에 빈 공간이 없습니다. 필요 없는 파일을 지우거나 다른 곳에 저장해 주십시오.");
        break;
    case EFBIG:
        words = QStringLiteral("파일이 이 디스크나 이 사용자에게 허용된 크기보다 커서 쓸 수 없습니다.");
        break;
    case EROFS:
        words = QStringLiteral("읽기 전용이라 쓸 수 없습니다.");
        break;
    case EISDIR:
        words = QStringLiteral("파일이 아니라 폴더입니다.");
        break;
    case ENOTDIR:
        words = QStringLiteral("경로 중간에 폴더가 아닌 것이 있습니다.");
        break;
    case ENAMETOOLONG:
        words = QStringLiteral("파일 이름이나 경로가 너무 깁니다.");
        break;
    default:
        words = QStringLiteral("시스템 오류가 났습니다 (오류 번호 %1).").arg(errnoValue);
        break;
    }
    return withSystemText(words, systemText);
}

bool isPasswordRefused(const QSqlError &error)
{
    // libpq's "no password supplied", the server's refusal (28P01), in whatever language.
    const QString text = error.text();
    return error.nativeErrorCode() == QLatin1String("28P01") || text.contains(QLatin1String("password"))
           || text.contains(QStringLiteral("비밀번호"));
}

QString serverConnectErrorText(const QSqlError &error)
{
    const QString text = error.text();
    const auto has = [&text](const char *words) { return text.contains(QLatin1String(words), Qt::CaseInsensitive); };
    QString words;
    if (isPasswordRefused(error))
        words = QStringLiteral("장부 서버가 비밀번호를 받아들이지 않았습니다. 사용자 이름과 비밀번호(~/.pgpass)를 확인해 주십시오.");
    else if (error.nativeErrorCode() == QLatin1String("3D000") || (has("database") && has("does not exist")))
        words = QStringLiteral("장부 서버에 그 이름의 데이터베이스가 없습니다. 데이터베이스 이름을 확인해 주십시오.");
    else if (has("could not translate host name") || has("Name or service not known"))
        words = QStringLiteral("장부 서버의 주소를 찾을 수 없습니다. 주소를 확인해 주십시오.");
    else if (has("Connection refused") || has("could not connect") || has("No such file or directory")
             || has("timeout") || has("timed out") || has("No route to host") || has("Network is unreachable")
             || has("the database system is starting up") || has("the database system is shutting down"))
        words = QStringLiteral("장부 서버가 응답하지 않습니다. 서버가 켜져 있는지, 주소와 포트가 맞는지 확인해 주십시오.");
    else
        words = QStringLiteral("장부 서버에 접속할 수 없습니다.");
    return withSystemText(words, text);
}
