// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// What the main window shows about an incoming call.
namespace IncomingCall {

// The product panel when the number cannot be a telephone number, or belongs to no customer.
QString unknownFormatText(const QString &number);
QString unregisteredText(const QString &number);

// A line of the call log: the display form padded to 15 characters (a longer one unpadded),
// the time, the customer and the products. The log adds the line break.
QString logLine(const QString &display, const QDateTime &at, const QString &name, const QString &products);

} // namespace IncomingCall
