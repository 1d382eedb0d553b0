// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "core/masterdata/businessmode.h"

class Database;
class QComboBox;
class QLineEdit;
class QWidget;
class UserPrompt;
class VoucherLookups;

// The side and client boxes of the money windows: a typed name goes through the voucher cells'
// type-ahead lookup when the box is left or Enter pressed (and before any command), a code is
// shown by its register name, or "(삭제된 거래처)" when it is no longer registered.
class ClientChooser final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientChooser)

public:
    // sides: the combo box's items in the order of BusiMode's numbers.
    ClientChooser(Database &db, UserPrompt &prompt, VoucherLookups &lookups, const QStringList &sides,
                  QWidget *parent);

    QComboBox *cmbMode = nullptr;
    QLineEdit *txtClient = nullptr;

    BusiMode mode() const;
    qint64 code() const { return m_code; }
    QString name() const { return m_name; }
    // Shows that client (code 0: none) and announces it.
    void setClient(BusiMode mode, qint64 code);
    // Looks a typed name up when it differs from the chosen client's; false when the lookup
    // found none (the box gets the chosen client's name back).
    bool commit();

signals:
    void chosen();

private:
    Database &m_db;
    UserPrompt &m_prompt;
    VoucherLookups &m_lookups;
    qint64 m_code = 0;
    QString m_name;
    bool m_lookingUp = false;
};
