// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/masterdata/voucherlookups.h"

class Database;
class QWidget;
class UserPrompt;

// The type-ahead lookups of the voucher cells over the search and edit windows: the single
// match is taken at once, several open the search window below the anchor, none offers to
// register the typed text. Each call loads its windows and unloads them before returning.
class SelData final : public VoucherLookups
{
public:
    // parent owns the windows while they are open; postFile serves the client edit window.
    SelData(Database &db, UserPrompt &prompt, QString postFile, QWidget *parent);

    QString SelGroup(const QString &text, const QObject *anchor, FormRules::Horizontal alignment, bool ask) override;
    QString SelProduct(QString &text, const QObject *anchor, FormRules::Horizontal alignment, bool ask,
                       const QString &group) override;
    std::optional<PickedClient> SelClient(BusiMode mode, const QString &text, const QObject *anchor,
                                          FormRules::Horizontal alignment, bool ask) override;

private:
    // Asks whether to register what was not found (or reports it without ask); true for Yes.
    bool offerToRegister(const QString &text, const QString &title, const QString &notFound, const QString &none,
                         const QString &question, bool defaultYes, bool ask);

    Database &m_db;
    UserPrompt &m_prompt;
    QString m_postFile;
    QWidget *m_parent;
};
