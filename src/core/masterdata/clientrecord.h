// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One client of either register.
struct ClientRecord
{
    qint32 id = 0;
    QString name;
    QString tel;
    QString phone;
    QString zipcode;
    QString address;
    QString memo;
};

// A client chosen in a search or edit window, as it travels back to whoever asked.
struct PickedClient
{
    qint32 code = 0;
    QString name;
};
