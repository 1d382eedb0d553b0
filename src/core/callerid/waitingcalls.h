// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QStringListModel>

// Calls that came without a number, oldest first, waiting for a later report to pick them up.
// Each item is the number, " [", the time and "]"; the number is the text before the first blank.
class WaitingCalls final : public QStringListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WaitingCalls)

public:
    explicit WaitingCalls(QObject *parent = nullptr) : QStringListModel(parent) {}

    void PushWaitingCall(const QString &number, const QDateTime &now = QDateTime::currentDateTime());
    // Takes the oldest item and gives its number; empty when nothing waits.
    QString PopWaitingCall();
    // Removes the items at rows, in any order.
    void removeItems(QList<int> rows);

    static QString numberOf(const QString &item);
};
