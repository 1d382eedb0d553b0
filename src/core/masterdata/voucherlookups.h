// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QObject;

// The type-ahead lookups a voucher cell goes through: a partial name becomes a registered
// entry, chosen in a search window or registered on the spot. The anchor is the control the
// windows are placed against (a widget, opaque to the core); alignment 0 = left edges,
// 1 = right edges, 2 = centred, always below the anchor.
class VoucherLookups
{
public:
    virtual ~VoucherLookups() = default;

    // The chosen or registered group; empty when none.
    virtual QString SelGroup(const QString &text, const QObject *anchor, int alignment, bool ask) = 0;
    // The chosen or registered product; text receives a name typed into the registration prompt.
    virtual QString SelProduct(QString &text, const QObject *anchor, int alignment, bool ask,
                               const QString &group) = 0;
    // The chosen or registered client name (mode 0 supplier, 1 customer); codeReceiver gets the
    // client's code as decimal text (emptied first; untouched when it is null, and then nothing
    // is looked up).
    virtual QString SelClient(int mode, const QString &text, QString *codeReceiver, const QObject *anchor,
                              int alignment, bool ask) = 0;
};
