// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

#include "core/documents/businessstore.h"

class QGridLayout;
class QLineEdit;
class UserPrompt;

// A 사업자등록번호 box: checked when the user leaves it (the message says which rule failed)
// and shown as 123-45-67890 when right.
void checkBusinessNumberOnLeave(QLineEdit *box, UserPrompt &prompt);
// The number typed into box, checked; empty when right (or empty), else the rule it broke,
// already said to the user, with the focus back in the box.
QString refuseWrongBusinessNumber(QLineEdit *box, UserPrompt &prompt);

// The keys of the register's fields for box: its text selected when it gets the focus, Enter
// and Down on to the next control, Up back.
void giveFieldKeys(QLineEdit *box);

// A framed caption and its box in row of grid, the box named objectName with the caption, with
// the keys above.
QLineEdit *addBusinessField(QGridLayout *grid, int row, const QString &caption, const QString &objectName);

// The client edit window's second group box: 사업자등록번호, 대표자, 업태, 종목, 이메일.
// Its boxes have the keys of the fields above it.
class ClientBusinessBox final : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientBusinessBox)

public:
    enum Field { Number, Owner, BusiType, BusiItem, Email, FieldCount };

    ClientBusinessBox(UserPrompt &prompt, QWidget *parent = nullptr);
    void showDetails(const ClientBusiness &details);
    ClientBusiness details() const;
    void clear();

    QLineEdit *txtBusi[FieldCount] = {};
};
