// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QStringList>

#include "callerreport.h"
#include "core/data/sqlstatement.h"

class Database;

// Every caller-ID report kept in the ledger (table call_history), with or without a number.
class CallHistory final
{
public:
    explicit CallHistory(Database &db) : m_db(db) {}

    // number: the caller's number for a call of kind Number, empty otherwise.
    SqlError record(const QDateTime &at, const QString &port, CallKind kind, const QString &number,
                    const QString &clientName);
    // The latest calls as lines, oldest first, or the query's error (no lines then), which
    // reportQueryError shows as the failed query's box.
    struct Lines
    {
        QStringList lines;
        SqlError error;
    };
    Lines lines(int latest);

    // The time, the port, the kind in words, and the number and customer when there are any. A
    // kind of 0 (a row written before the kind was kept) is told from the number.
    static QString line(const QString &time, const QString &port, int kind, const QString &number,
                        const QString &clientName);
    static QString timeText(const QDateTime &at);

private:
    Database &m_db;
};
