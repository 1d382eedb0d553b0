// SPDX-License-Identifier: GPL-3.0-or-later
#include "clientchooser.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/accounts/payment.h"
#include "core/base/userprompt.h"
#include "core/masterdata/clientregister.h"
#include "core/masterdata/voucherlookups.h"
#include "gui/ui/formhelpers.h"

ClientChooser::ClientChooser(Database &db, UserPrompt &prompt, VoucherLookups &lookups, const QStringList &sides,
                             QWidget *parent)
    : QObject(parent), m_db(db), m_prompt(prompt), m_lookups(lookups)
{
    cmbMode = named(new QComboBox(parent), QStringLiteral("cmbMode"), QStringLiteral("구분"));
    cmbMode->addItems(sides);
    cmbMode->setCurrentIndex(toInt(BusiMode::Customer));
    txtClient = named(new QLineEdit(parent), QStringLiteral("txtClient"), QStringLiteral("거래처"));
    txtClient->setMinimumWidth(160);
    connect(cmbMode, &QComboBox::activated, this, [this] { setClient(mode(), 0); });
    connect(txtClient, &QLineEdit::editingFinished, this, [this] { commit(); });
}

BusiMode ClientChooser::mode() const
{
    return busiModeOf(cmbMode->currentIndex()).value_or(BusiMode::Customer);
}

void ClientChooser::setClient(BusiMode mode, qint64 code)
{
    cmbMode->setCurrentIndex(toInt(mode));
    m_code = code;
    m_name.clear();
    if (code > 0) {
        const auto found = shownOnFailure(ClientRegister(m_db, mode).find(ClientCode::fromNumber(code)), m_prompt);
        const std::optional<ClientRecord> record = found ? *found : std::nullopt;
        m_name = record ? record->name : PaymentRules::deletedClientName();
    }
    txtClient->setText(m_name);
    txtClient->setModified(false);
    emit chosen();
}

bool ClientChooser::commit()
{
    // A search window the lookup opens takes the focus, which ends the box's edit once more.
    if (m_lookingUp || txtClient->text() == m_name)
        return true;
    const QString typed = txtClient->text().trimmed();
    if (typed.isEmpty()) {
        txtClient->setText(m_name);
        return true;
    }
    m_lookingUp = true;
    const auto picked = m_lookups.SelClient(mode(), typed, txtClient, FormRules::AlignLeft, true);
    m_lookingUp = false;
    if (picked && picked->code.isValid()) {
        setClient(mode(), picked->code.value());
        return true;
    }
    txtClient->setText(m_name);
    txtClient->setFocus();
    return false;
}
