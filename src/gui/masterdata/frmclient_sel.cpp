// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmclient_sel.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include "core/base/userprompt.h"
#include "core/masterdata/askanddelete.h"
#include "core/masterdata/businessmode.h"
#include "core/masterdata/clientregister.h"
#include "core/masterdata/texttablemodel.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/spreadhelpers.h"
#include "frmclient_write.h"

namespace {
QStringList rowOf(const ClientRecord &c)
{
    return {c.name, c.tel, c.address, c.memo, c.id.toText()};
}
} // namespace

FrmClient_Sel::FrmClient_Sel(Database &db, UserPrompt &prompt, const QString &postFile, QWidget *parent)
    : SearchWindow(db, prompt,
                   {QStringLiteral("상호명"), QStringLiteral("전화"), QStringLiteral("주소"), QStringLiteral("메모"),
                    QStringLiteral("코드")},
                   parent),
      m_postFile(postFile)
{
    setObjectName(QStringLiteral("FrmClient_Sel"));
    setColumnWidths({18.87, 13, 27.75, 16.25});
    spList->setColumnHidden(Code, true);
    resize(sizeHint().width(), 460);
}

void FrmClient_Sel::setMode(BusiMode iMode)
{
    m_mode = iMode;
    setWindowTitle(busiWord(iMode) + QStringLiteral("처 검색"));
}

ClientRegister FrmClient_Sel::clients()
{
    return ClientRegister(m_db, m_mode.value_or(BusiMode::Supplier));
}

void FrmClient_Sel::Refresh_Sheet()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model().clear();
    if (const auto found = shownOnFailure(clients().list(txtName->text()), m_prompt)) {
        QList<QStringList> rows;
        rows.reserve(static_cast<qsizetype>(found->size()));
        for (const ClientRecord &c : *found)
            rows.append(rowOf(c));
        model().setRows(std::move(rows));
    }
    QApplication::restoreOverrideCursor();
}

void FrmClient_Sel::takeRow(int row)
{
    m_picked = PickedClient{ClientCode::fromText(model().text(row, Code)), model().text(row, Name)};
}

ClientCode FrmClient_Sel::activeCode() const
{
    const int row = activeRow();
    return row < 0 ? ClientCode() : ClientCode::fromText(const_cast<FrmClient_Sel *>(this)->model().text(row, Code));
}

void FrmClient_Sel::SyncUpdateClient(ClientCode nCode, BusiMode, bool bAdd)
{
    const auto found = shownOnFailure(clients().find(nCode), m_prompt);
    if (!found || !*found)
        return;
    const ClientRecord &c = **found;
    int row = activeRow();
    if (bAdd) {
        model().appendRow(rowOf(c));
        row = model().rowCount() - 1;
    } else if (row >= 0) {
        model().setRow(row, rowOf(c));
    } else {
        return;
    }
    const int column = spList->currentIndex().isValid() ? spList->currentIndex().column() : 0;
    spList->setCurrentIndex(model().index(row, column));
}

void FrmClient_Sel::openEditor(ClientEditor::EditMode addEditMode, ClientCode code)
{
    FrmClient_write w(m_db, m_prompt, m_postFile, this);
    w.setAddEditMode(addEditMode);
    if (m_mode)
        w.setBusiMode(*m_mode);
    if (addEditMode == ClientEditor::EditMode::Edit)
        w.setCCode(code);
    w.setCallForm([this](ClientCode nCode, BusiMode nBusiMode, bool bAdd) { SyncUpdateClient(nCode, nBusiMode, bAdd); });
    PlaceForm(&w, txtName, 0, 0);
    w.exec();
    spList->setFocus();
}

void FrmClient_Sel::cmdAdd_Click()
{
    openEditor(ClientEditor::EditMode::Add, ClientCode());
}

void FrmClient_Sel::cmdEdit_Click()
{
    const ClientCode code = activeCode();
    if (code == ClientCode()) {
        m_prompt.MsgInfo(QStringLiteral("수정할 자료를 먼저 선택하세요."));
        return;
    }
    openEditor(ClientEditor::EditMode::Edit, code);
}

void FrmClient_Sel::cmdDel_Click()
{
    const int row = activeRow();
    const ClientCode code = activeCode();
    if (askAndDeleteClient(m_prompt, clients(), code, row < 0 ? QString() : model().text(row, Name))) {
        DeleteRow(spList, -2, true, true);
        spList->setFocus();
    }
}
