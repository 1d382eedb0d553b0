// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>

#include "callerreport.h"
#include "telvoxports.h"

class AppSettings;
class Database;
class UserPrompt;
class WaitingCalls;
class telvox;
struct ClientRecord;

// Incoming calls from the two caller-ID ports to the screen: the devices, the reports waiting
// their turn, the waiting-call queue, the customer lookup and the call history. What it finds
// it shows through View; the questions and failures it says through UserPrompt.
class CallerIdDesk final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CallerIdDesk)

public:
    class View
    {
    public:
        virtual ~View() = default;
        // The number box (txtGetTelvox) shows the number being looked up and takes the focus.
        virtual void showNumber(const QString &number) = 0;
        // The customer panel and its code box; null clears them.
        virtual void showCaller(const ClientRecord *caller) = 0;
        // The product panel: the caller's products, or what is wrong with the number.
        virtual void showProducts(const QString &text) = 0;
        // A line at the top of the call log (txtTelvoxList).
        virtual void addLogLine(const QString &line) = 0;
        // A report just kept in the call history, as the history window lists it.
        virtual void addHistoryLine(const QString &line) = 0;
        // The waiting-call window holds the queue: it is made at the first queue operation.
        virtual void useWaitingList() = 0;
    };

    CallerIdDesk(AppSettings &settings, Database &db, UserPrompt &prompt, View &view, QObject *parent = nullptr);
    ~CallerIdDesk() override;

    telvox &device(int index) { return *m_devices[index]; }
    WaitingCalls &waitingCalls() { return *m_waitingCalls; }

    // Each port in use and not yet open is opened (closed); a failure says so once per port and
    // goes on with the other.
    void OpenTelvox();
    void CloseTelvox();

    // A report of device index. Reports are looked up one after another: one that arrives while
    // a lookup waits on the event loop (a box, the yield before the panels) is taken up when
    // that lookup is done, so two callers never mix in the panels. Every report with a number
    // or without one goes into the call history.
    void telvox_Received(int index, const CallerReport &report);
    // Shows the caller of Telno (or of the oldest waiting call when Telno is empty): the
    // customer panel, the products and a line at the top of the call log. False only when
    // there was no number to look up.
    bool InputFromTelvox(const QString &Telno);
    void PushWaitingCall(const QString &number);
    QString PopWaitingCall();

    // The latest calls of the history, oldest first; empty after the failed query's box.
    QStringList earlierCalls(int latest);

    // The clock of the log and the history; tests freeze it.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

private:
    struct PendingCall
    {
        int member;
        CallKind kind;
        QString data;
    };
    // The customer's name found for number ("" when none), after the lookup has been shown.
    QString HandleTelvoxNumber(const QString &number);
    bool lookUp(const QString &Telno, QString *callerName);

    AppSettings &m_settings;
    Database &m_db;
    UserPrompt &m_prompt;
    View &m_view;
    telvox *m_devices[TelvoxPorts::Count] = {};
    std::unique_ptr<WaitingCalls> m_waitingCalls;
    QStringList m_ports;
    QList<PendingCall> m_pendingCalls;
    bool m_inCall = false;
    bool m_historyFailed = false;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTime(); };
};
