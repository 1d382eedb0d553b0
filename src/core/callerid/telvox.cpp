// SPDX-License-Identifier: GPL-3.0-or-later
#include "telvox.h"

#include "core/base/systemerror.h"
#include "core/shell/settingkeys.h"

namespace {

const QLatin1String ncidPrefix("NCID:");

template<typename T>
struct Choice
{
    const char *text;
    T value;
};

template<typename T, std::size_t N>
bool pick(const Choice<T> (&choices)[N], const QString &text, T &value)
{
    for (const Choice<T> &c : choices) {
        if (text.compare(QLatin1String(c.text), Qt::CaseInsensitive) == 0) {
            value = c.value;
            return true;
        }
    }
    return false;
}

} // namespace

telvox::telvox(AppSettings &settings, QObject *parent) : QObject(parent), m_settings(settings)
{
    m_clock.start();
    connect(&m_serial, &QSerialPort::readyRead, this, [this] {
        emitReports(m_parser.feed(m_serial.readAll(), m_clock.elapsed()));
        m_quiet.start();
    });
    // A call that rang once and stopped is told when the line has gone quiet.
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(static_cast<int>(CallerIdParser::CallGapMs) + 100);
    connect(&m_quiet, &QTimer::timeout, this, [this] { emitReports(m_parser.expire(m_clock.elapsed())); });
    connect(&m_serial, &QSerialPort::errorOccurred, this, &telvox::onSerialError);
    connect(&m_ncid, &NcidClient::reported, this, [this](const CallerReport &r) { emitReports({r}); });
    connect(&m_ncid, &NcidClient::connectionLost, this,
            [this](const QString &reason) { emit linkLost(m_name, reason); });
}

telvox::~telvox()
{
    // Closing on the way out is not a lost device.
    m_serial.disconnect(this);
    m_ncid.disconnect(this);
}

bool telvox::IsOpen() const
{
    return m_serial.isOpen() || m_ncid.isActive();
}

int telvox::OpenPort(QString &name, QString &reply)
{
    if (IsOpen()) {
        reply = m_name;
        return AlreadyOpen;
    }
    if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) {
        reply = name;
        return NoSuchPort;
    }
    const QString text = name.mid(3);
    QString target = text.startsWith(ncidPrefix, Qt::CaseInsensitive)
                         ? text
                         : m_settings.get(Settings::telvoxPortTarget(name)).trimmed();
    if (target.startsWith(ncidPrefix, Qt::CaseInsensitive)) {
        const int result = openNetwork(target.mid(ncidPrefix.size()), reply);
        if (result == Done)
            m_name = name;
        return result;
    }
    if (target.isEmpty()) {
#ifdef Q_OS_WIN
        target = name;
#else
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number < 1) {
            reply = name;
            return NoSuchPort;
        }
        target = QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
    }
    const int result = openSerial(target, reply);
    if (result == Done)
        m_name = name;
    return result;
}

int telvox::openSerial(const QString &path, QString &reply)
{
    static const Choice<QSerialPort::DataBits> dataBits[] = {
        {"5", QSerialPort::Data5}, {"6", QSerialPort::Data6}, {"7", QSerialPort::Data7}, {"8", QSerialPort::Data8}};
    static const Choice<QSerialPort::Parity> parities[] = {
        {"N", QSerialPort::NoParity},   {"E", QSerialPort::EvenParity},  {"O", QSerialPort::OddParity},
        {"M", QSerialPort::MarkParity}, {"S", QSerialPort::SpaceParity}};
    static const Choice<QSerialPort::StopBits> stopBits[] = {
        {"1", QSerialPort::OneStop}, {"1.5", QSerialPort::OneAndHalfStop}, {"2", QSerialPort::TwoStop}};

    const QString baudText = m_settings.get(Settings::telvoxBaudRate).trimmed();
    bool ok = false;
    const int baud = baudText.toInt(&ok);
    QSerialPort::DataBits bits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stops = QSerialPort::OneStop;
    const auto bad = [&reply](const QString &key) {
        reply = key;
        return BadSetting;
    };
    if (!ok || baud <= 0)
        return bad(baudRateKey());
    if (!pick(dataBits, m_settings.get(Settings::telvoxDataBits).trimmed(), bits))
        return bad(dataBitsKey());
    if (!pick(parities, m_settings.get(Settings::telvoxParity).trimmed().left(1), parity))
        return bad(parityKey());
    if (!pick(stopBits, m_settings.get(Settings::telvoxStopBits).trimmed(), stops))
        return bad(stopBitsKey());

    m_serial.setPortName(path);
    m_serial.setBaudRate(baud);
    m_serial.setDataBits(bits);
    m_serial.setParity(parity);
    m_serial.setStopBits(stops);
    m_serial.setFlowControl(QSerialPort::NoFlowControl);
    m_parser.reset();
    if (!m_serial.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_serial.error();
        reply = path + QStringLiteral(": ") + serialErrorText(error, m_serial.errorString());
        m_serial.clearError();
        if (error == QSerialPort::DeviceNotFoundError)
            return NoSuchPort;
        return error == QSerialPort::PermissionError ? PortInUse : Failed;
    }
    const QString command = m_settings.get(Settings::telvoxInitCommand).trimmed();
    if (!command.isEmpty())
        m_serial.write(command.toLatin1() + '\r');
    reply = path;
    return Done;
}

int telvox::openNetwork(const QString &address, QString &reply)
{
    // host, host:port; the last colon separates the port.
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    const QString host = (colon < 0 ? address : address.left(colon)).trimmed();
    quint16 port = NcidClient::DefaultPort;
    if (colon >= 0) {
        bool ok = false;
        const uint number = address.mid(colon + 1).trimmed().toUInt(&ok);
        if (!ok || number < 1 || number > 65535) {
            reply = ncidPrefix + address;
            return NoSuchPort;
        }
        port = static_cast<quint16>(number);
    }
    if (host.isEmpty()) {
        reply = ncidPrefix + address;
        return NoSuchPort;
    }
    // Connecting never waits here: a server that is not up yet is tried again and again.
    m_ncid.start(host, port);
    reply = host + QLatin1Char(':') + QString::number(port);
    return Done;
}

int telvox::ClosePort(QString &name, QString &reply)
{
    if (!IsOpen() || name.compare(m_name, Qt::CaseInsensitive) != 0) {
        reply = m_name;
        return NotOpen;
    }
    m_ncid.stop();
    m_serial.close();
    m_serial.clearError();
    m_quiet.stop();
    m_parser.reset();
    reply = m_name;
    m_name.clear();
    return Done;
}

void telvox::emitReports(const QList<CallerReport> &reports)
{
    for (const CallerReport &r : reports)
        emit Received(r);
}

void telvox::onSerialError(QSerialPort::SerialPortError error)
{
    // A read that fails because the device is gone: close so that the port can be opened again
    // once the adapter is back, and say it once. A device that hangs up after it has sent data
    // reads as end of file, which QSerialPort gives as a read error and would signal again at
    // every turn of the event loop.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || !m_serial.isOpen())
        return;
    const QString reason = serialErrorText(error, m_serial.errorString());
    const QString name = m_name;
    m_serial.close();
    m_serial.clearError();
    m_quiet.stop();
    m_parser.reset();
    m_name.clear();
    emit linkLost(name, reason);
}
