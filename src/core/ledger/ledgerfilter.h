// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include "voucherquery.h"

class UserPrompt;

// The filter strip of the main window without its widgets: the period in its two linked date
// boxes, the group, the product and client searches and the unsold switch. It applies the
// strip's rules and gives the voucher query its filter; the window forwards what the user does
// and shows the state after each change.
class LedgerFilter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LedgerFilter)

public:
    // Exactly one applies, in this order of precedence.
    enum class Mode { ClientName, ProductName, Period };

    explicit LedgerFilter(UserPrompt &prompt, QObject *parent = nullptr);

    // "Today" for the opening period and the short date forms; unset means the current date.
    void setToday(const QDate &today) { m_today = today; }
    QDate today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }
    // The opening period: the first of today's month to today.
    void resetPeriod();
    // Another period in both boxes at once (the chain does not apply).
    void setPeriod(const QDate &from, const QDate &to);

    // Box 0 is the from-date, box 1 the to-date, as typed ("YYYY-MM-DD" once committed).
    QString date(int index) const { return m_date[index]; }
    bool isChained() const { return m_chained; }
    void setChained(bool on) { m_chained = on; }
    // A changed text of date box index; with the chain on the other box gets it too.
    void setDate(int index, const QString &text);
    // The up (-1) and down (+1) buttons of a date box.
    void shiftDay(int index, int days);
    // The calendar of a date box, opened at anchor; a picked date is set as typed.
    void pickDate(int index, const QObject *anchor);
    // Leaving date box index or Enter in it: a typed date is normalised, one that is none is
    // refused with the explanation and the box gets its last good date back.
    void commitDate(int index);

    QString group() const { return m_group; }
    void setGroup(const QString &group);
    QString productName() const { return m_productName; }
    void setProductName(const QString &text);
    BusiMode clientSide() const { return m_clientSide; }
    void setClientSide(BusiMode side);
    QString clientName() const { return m_clientName; }
    void setClientName(const QString &text);
    bool noSale() const { return m_noSale; }
    void setNoSale(bool on);

    // A client search and a product search exclude each other: entering the client search
    // empties the product search (not the other way round).
    void beginClientSearch();
    // F3: both searches empty, ready for a client name.
    void clearSearches();

    Mode mode() const;
    VoucherFilter voucherFilter() const;

signals:
    // Any value changed; the window shows the state again.
    void changed();

private:
    void chain(int index);
    // Sets a value and tells the window when it changed.
    template<typename T>
    void assign(T &member, const T &value);

    UserPrompt &m_prompt;
    QDate m_today;
    QString m_date[2];
    QString m_goodDate[2]; // the last dates that passed the check, restored after a refusal
    bool m_chained = false;
    bool m_checking = false; // a refusal's box is up; leaving the box again asks nothing new
    QString m_group;
    QString m_productName;
    BusiMode m_clientSide = BusiMode::Customer;
    QString m_clientName;
    bool m_noSale = false;
};
