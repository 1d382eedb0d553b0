// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a caller-ID device said, in the kinds the main window tells apart.
struct CallerReport
{
    enum Kind { Number = 1, NoNumber = 2, Other = 3 };

    int kind = Other;
    QString data; // Number: the number as received; NoNumber: empty; Other: the device's line

    friend bool operator==(const CallerReport &, const CallerReport &) = default;
};

// Words that devices and servers send in place of a number the network withheld or never had.
bool isWithheldNumber(const QString &number);
