// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/base/clientcode.h"

// One client of either register.
struct ClientRecord
{
    ClientCode id;
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
    ClientCode code;
    QString name;
};
