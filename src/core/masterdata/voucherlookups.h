// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QString>

#include "core/layout/formrules.h"
#include "businessmode.h"
#include "clientrecord.h"

class QObject;

// The type-ahead lookups a voucher cell goes through: a partial name becomes a registered
// entry, chosen in a search window or registered on the spot. The anchor is the control the
// windows are placed against (a widget, opaque to the core), always below it, with the
// alignment PlaceForm takes.
class VoucherLookups
{
public:
    virtual ~VoucherLookups() = default;

    // The chosen or registered group; empty when none.
    virtual QString SelGroup(const QString &text, const QObject *anchor, FormRules::Horizontal alignment, bool ask) = 0;
    // The chosen or registered product; text receives a name typed into the registration prompt.
    virtual QString SelProduct(QString &text, const QObject *anchor, FormRules::Horizontal alignment, bool ask,
                               const QString &group) = 0;
    // The chosen or registered client of that side; nullopt when none was chosen. An edit
    // window closed without saving gives code 0 and no name.
    virtual std::optional<PickedClient> SelClient(BusiMode mode, const QString &text, const QObject *anchor,
                                                  FormRules::Horizontal alignment, bool ask) = 0;
};
