// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerentry.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/masterdata/clientrecord.h"
#include "gui/ui/frmfloatmsg.h"
#include "ledgergrid.h"

LedgerEntry::LedgerEntry(const Controls &controls, LedgerModel &model, Ledger &ledger, Database &db, UserPrompt &prompt,
                         VoucherLookups &lookups)
    : m_controls(controls),
      m_grid(*controls.grid),
      m_editor(std::make_unique<VoucherEditor>(db, prompt, lookups, model, ledger, *this))
{
    m_grid.setVoucherEditor(m_editor.get());
    for (const BusiMode side : {BusiMode::Supplier, BusiMode::Customer}) {
        const auto i = static_cast<std::size_t>(toInt(side));
        QPushButton *button = controls.editButtons[i];
        QObject::connect(controls.codes[i], &QLineEdit::textChanged, button,
                         [button](const QString &text) { button->setEnabled(!text.isEmpty()); });
        button->setEnabled(!controls.codes[i]->text().isEmpty());
        controls.connectCommand(button, [this, side] { btnClientEdit_Click(side); });
    }
}

LedgerEntry::~LedgerEntry()
{
    m_grid.setVoucherEditor(nullptr);
}

void LedgerEntry::setActiveCell(int row, int column)
{
    m_grid.noteActiveCellSet();
    const QModelIndex i = m_grid.model()->index(row, column);
    m_grid.setCurrentIndex(i);
    m_grid.scrollTo(i);
}

void LedgerEntry::focusGrid()
{
    // After a window of its own closed, the ledger takes the keyboard back itself: a window
    // manager may hand the focus elsewhere (or nowhere) while a notice is on screen.
    if (!m_grid.isActiveWindow() && !QApplication::activeModalWidget() && !QApplication::activePopupWidget())
        m_grid.activateWindow();
    m_grid.setFocus();
}

void LedgerEntry::setConfirmHighlight(int row, int column, bool on)
{
    m_grid.setConfirmCell(m_grid.model()->index(row, column), on);
    m_grid.repaint();
}

void LedgerEntry::setRowMode(bool on)
{
    m_grid.setRowMode(on);
    m_grid.repaint();
}

void LedgerEntry::showFloatMsg(const QString &text)
{
    ShowFloatMsg(text, FloatMsg::Delay, 1, FloatMsgCyan, m_controls.window);
}

void LedgerEntry::showClient(BusiMode side, const ClientRecord *client)
{
    const auto i = static_cast<std::size_t>(toInt(side));
    const std::array<QLabel *, 6> &panels = m_controls.panels[i];
    const QString values[6] = {client ? client->name : QString(),    client ? client->tel : QString(),
                               client ? client->zipcode : QString(), client ? client->phone : QString(),
                               client ? client->address : QString(), client ? client->memo : QString()};
    for (std::size_t p = 0; p < panels.size(); ++p)
        setPanelText(panels[p], values[p]);
    m_controls.codes[i]->setText(client ? client->id.toText() : QString());
}

const QObject *LedgerEntry::codeAnchor() const
{
    // The group and product windows open against the cell being edited, where the user looks.
    return &m_grid;
}

const QObject *LedgerEntry::clientAnchor() const
{
    return m_controls.clientAnchor;
}

void LedgerEntry::btnClientEdit_Click(BusiMode side)
{
    // Text that is no number reads as no client.
    const ClientCode code = ClientCode::fromText(m_controls.codes[static_cast<std::size_t>(toInt(side))]->text());
    if (code == ClientCode())
        return;
    if (m_openClientEdit)
        m_openClientEdit(side, code);
    focusGrid();
}

void LedgerEntry::setPanelText(QLabel *panel, const QString &text)
{
    panel->setText(text);
    panel->setAccessibleDescription(text);
}
