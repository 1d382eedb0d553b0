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

// A chosen client as it travels between windows: the code, one NUL character, the name.
inline QString clientResult(qint32 code, const QString &name)
{
    return QString::number(code) + QChar(0) + name;
}
