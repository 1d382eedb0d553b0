// SPDX-License-Identifier: GPL-3.0-or-later
#include "calleriddesk.h"

#include <QCoreApplication>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/recordset.h"
#include "core/masterdata/callerlookup.h"
#include "callhistory.h"
#include "incomingcall.h"
#include "telvox.h"
#include "waitingcalls.h"

CallerIdDesk::CallerIdDesk(AppSettings &settings, Database &db, UserPrompt &prompt, View &view, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_db(db),
      m_prompt(prompt),
      m_view(view),
      m_waitingCalls(std::make_unique<WaitingCalls>())
{
    for (int i = 0; i < TelvoxPorts::Count; ++i) {
        m_devices[i] = new telvox(m_settings, this);
        connect(m_devices[i], &telvox::Received, this,
                [this, i](const CallerReport &report) { telvox_Received(i, report); });
        // A device pulled out (or a server gone) is said once; ticking the box again reopens it.
        connect(m_devices[i], &telvox::linkLost, this, [this](const QString &name, const QString &reason) {
            m_prompt.MsgWarn(QStringLiteral("포트 ") + name + QStringLiteral("의 발신번호 표시기 연결이 끊어졌습니다.\r\n")
                             + reason);
        });
    }
}

CallerIdDesk::~CallerIdDesk() = default;

void CallerIdDesk::OpenTelvox()
{
    m_ports = TelvoxPorts::load(m_settings);
    for (int i = 0; i < TelvoxPorts::Count; ++i) {
        if (m_devices[i]->IsOpen() || TelvoxPorts::isUnused(m_ports.at(i)))
            continue;
        QString name = TelvoxPorts::portName(m_ports.at(i));
        QString reply;
        if (m_devices[i]->OpenPort(name, reply) != telvox::Done)
            m_prompt.MsgPlain(QStringLiteral("포트 ") + name + QStringLiteral("으로 TELVOX OPEN에 실패했습니다."));
    }
}

void CallerIdDesk::CloseTelvox()
{
    m_ports = TelvoxPorts::load(m_settings);
    for (int i = 0; i < TelvoxPorts::Count; ++i) {
        if (!m_devices[i]->IsOpen() || TelvoxPorts::isUnused(m_ports.at(i)))
            continue;
        QString name = TelvoxPorts::portName(m_ports.at(i));
        QString reply;
        if (m_devices[i]->ClosePort(name, reply) != telvox::Done)
            m_prompt.MsgPlain(QStringLiteral("포트 ") + name + QStringLiteral("으로 TELVOX CLOSE에 실패했습니다."));
    }
}

void CallerIdDesk::telvox_Received(int index, const CallerReport &report)
{
    if (report.kind != CallerReport::Number && report.kind != CallerReport::NoNumber)
        return;
    m_pendingCalls.append({index, callKindOf(report.kind, report.data), report.data});
    if (m_inCall)
        return;
    m_inCall = true;
    while (!m_pendingCalls.isEmpty()) {
        const PendingCall call = m_pendingCalls.takeFirst();
        // A word in place of a number ("Restricted", "0000000000") is never looked up as one.
        const QString number = call.kind == CallKind::Number ? call.data : QString();
        // Every report is kept, with its kind and the customer it was found to be.
        const QString name = HandleTelvoxNumber(number);
        const QString port = TelvoxPorts::portName(m_ports.value(call.member));
        const QDateTime now = m_now();
        const SqlError e = CallHistory(m_db).record(now, port, call.kind, number, name);
        if (e.isError() && !m_historyFailed) {
            m_historyFailed = true; // said once, not at every ring
            reportQueryError(e, m_prompt);
        }
        m_view.addHistoryLine(
            CallHistory::line(CallHistory::timeText(now), port, static_cast<int>(call.kind), number, name));
    }
    m_inCall = false;
}

QString CallerIdDesk::HandleTelvoxNumber(const QString &number)
{
    QString name;
    if (!lookUp(number, &name))
        PushWaitingCall(number);
    // A popped waiting call was not this report's number: its customer is not this report's.
    return number.isEmpty() ? QString() : name;
}

bool CallerIdDesk::InputFromTelvox(const QString &Telno)
{
    return lookUp(Telno, nullptr);
}

bool CallerIdDesk::lookUp(const QString &Telno, QString *callerName)
{
    QString number = Telno;
    if (number.isEmpty()) {
        number = PopWaitingCall();
        if (number.isEmpty())
            return false;
    }
    m_view.showNumber(number);
    QString key;
    const QString display = FormatTel(number, &key);
    m_view.showCaller(nullptr);
    if (key.isEmpty()) {
        m_view.showProducts(IncomingCall::unknownFormatText(number));
        return true;
    }
    const CallerLookup found = LookupCaller(m_db, number);
    if (found.error.isError()) {
        reportQueryError(found.error, m_prompt);
        return true;
    }
    QString name;
    QString products;
    if (!found.found) {
        products = IncomingCall::unregisteredText(number);
    } else {
        // Let the window paint; a report arriving meanwhile waits for this one (telvox_Received).
        QCoreApplication::processEvents();
        m_view.showCaller(&found.caller);
        name = found.caller.name;
        products = found.products;
    }
    m_view.showProducts(products);
    m_view.addLogLine(IncomingCall::logLine(display, m_now(), name, products));
    if (callerName)
        *callerName = name;
    return true;
}

void CallerIdDesk::PushWaitingCall(const QString &number)
{
    m_view.useWaitingList();
    m_waitingCalls->PushWaitingCall(number);
}

QString CallerIdDesk::PopWaitingCall()
{
    m_view.useWaitingList();
    return m_waitingCalls->PopWaitingCall();
}

QStringList CallerIdDesk::earlierCalls(int latest)
{
    CallHistory::Lines history = CallHistory(m_db).lines(latest);
    reportQueryError(history.error, m_prompt);
    return history.lines;
}
