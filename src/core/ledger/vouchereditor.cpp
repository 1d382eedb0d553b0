// SPDX-License-Identifier: GPL-3.0-or-later
#include "vouchereditor.h"

#include "core/base/floatmsgtexts.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"
#include "core/masterdata/clientrecord.h"
#include "core/masterdata/clientregister.h"
#include "core/masterdata/voucherlookups.h"
#include "cellrule.h"
#include "ledger.h"
#include "ledgermodel.h"

namespace {

using C = LedgerModel::Column;

const QString kForm = QStringLiteral("frmMain");

QString updateFailed() { return QStringLiteral("자료를 수정하는 중 오류가 발생했습니다."); }
QString deletedElsewhere()
{
    return QStringLiteral("이 전표는 다른 PC에서 삭제되었습니다. 수정한 내용은 저장하지 않습니다.");
}

bool isLookupColumn(int c)
{
    return c == C::ColGroup || c == C::ColProName || c == C::ColMaeipName || c == C::ColMaechulName;
}

} // namespace

VoucherEditor::VoucherEditor(Database &db, UserPrompt &prompt, VoucherLookups &lookups, LedgerModel &model,
                             Ledger &ledger, View &view)
    : m_db(db), m_store(db), m_prompt(prompt), m_lookups(lookups), m_model(model), m_ledger(ledger), m_view(view)
{
}

QString VoucherEditor::cellText(int row, int column) const
{
    const QVariant v = m_model.data(m_model.index(row, column), Qt::EditRole);
    return v.isNull() ? QString() : v.toString();
}

void VoucherEditor::runError(const QString &procedure, int number, const QString &description)
{
    m_prompt.ShowRunError(number, description, procedure, kForm, true);
}

void VoucherEditor::editBegins(int row, int column)
{
    m_editOldText = cellText(row, column);
    m_enterPressed = false;
}

void VoucherEditor::editEnds(int row, int column, const QString &typed, bool changed)
{
    if (row < 0 || row >= m_model.rowCount())
        return;
    const int entry = m_model.entryRow();
    const int lastSaved = entry >= 0 ? entry - 1 : m_model.rowCount() - 1;
    // 1. Rows above the last saved one are changed only after a confirmation.
    if (row < lastSaved && changed && !ReallyEdit(m_editOldText, column, row))
        return;
    const bool pickOnEmpty = typed.isEmpty() && m_enterPressed && isLookupColumn(column);
    const auto field = voucherFieldOf(column);
    if ((!changed && !pickOnEmpty) || !field)
        return;
    // An amount needs a saved voucher before anything else; a client is looked up first (the
    // lookup may register it) and refused after.
    if (row == entry && LedgerModel::isAmountColumn(column)) {
        productFirst(row);
        return;
    }
    // 2. What the cell stores, by its rule or its lookup; the grid is not touched before the write.
    const std::optional<FieldValue> value = cellValueOf(row, column, typed);
    if (!value) {
        // A refused date or an empty lookup keeps the cursor on its cell; a refused amount is a
        // refused save, after which the cursor goes on as after any other.
        if (!LedgerModel::isAmountColumn(column))
            m_view.setActiveCell(row, column);
        return;
    }
    const auto client = std::get_if<VoucherClient>(&*value);
    if (row == entry) {
        if (client) {
            productFirst(row);
            return;
        }
        if (*field != VoucherField::Product) {
            // Dates and group wait in the entry row for the insert; a purchase date is also its sale date.
            m_model.setField(row, *field, *value);
            if (*field == VoucherField::MaeipDate)
                m_model.setField(row, VoucherField::MaechulDate, *value);
            return;
        }
        LedgerRow voucher = m_model.row(row);
        voucher.proName = std::get<QString>(*value);
        if (const auto id = RecAddNew(voucher)) {
            m_model.setField(row, *field, *value);
            m_model.setTotalId(row, *id);
            // The amounts show 0; the hidden client codes hold the 0 the insert stored.
            for (VoucherField f : {VoucherField::MaeipCost, VoucherField::MaechulCost, VoucherField::Usecost})
                m_model.setField(row, f, Money());
            m_model.setField(row, VoucherField::Supplier, VoucherClient{ClientCode(), voucher.maeipName});
            m_model.setField(row, VoucherField::Customer, VoucherClient{ClientCode(), voucher.maechulName});
            m_ledger.AddNewRow();
        }
        return;
    }
    // 3. A saved voucher: the field is written, and only then shown.
    if (!RecUpdate(row, *field, *value))
        return;
    m_model.setField(row, *field, *value);
    if (client)
        DispClientInfo(*field == VoucherField::Supplier ? BusiMode::Supplier : BusiMode::Customer, client->code);
}

std::optional<FieldValue> VoucherEditor::cellValueOf(int row, int column, const QString &typed)
{
    switch (column) {
    case C::ColGroup:
    case C::ColProName: {
        QString text = typed;
        const QString value = column == C::ColGroup
                                  ? m_lookups.SelGroup(text, m_view.codeAnchor(), FormRules::AlignLeft, true)
                                  : m_lookups.SelProduct(text, m_view.codeAnchor(), FormRules::AlignLeft, true,
                                                         cellText(row, C::ColGroup));
        m_view.focusGrid();
        if (value.isEmpty() || value == m_editOldText)
            return std::nullopt;
        return value;
    }
    case C::ColMaeipName:
    case C::ColMaechulName: {
        const BusiMode side = column == C::ColMaeipName ? BusiMode::Supplier : BusiMode::Customer;
        const auto picked = m_lookups.SelClient(side, typed, m_view.clientAnchor(), FormRules::AlignCentre, true);
        m_view.focusGrid();
        // An edit window closed without saving leaves code 0 and no name: nothing was chosen.
        if (!picked || picked->code == ClientCode() || picked->name.isEmpty())
            return std::nullopt;
        return VoucherClient{picked->code, picked->name};
    }
    default:
        break;
    }
    const CellValue cell = cellValue(column, typed, m_today.isValid() ? m_today : QDate::currentDate());
    if (!cell.value) {
        if (cell.refusal.number == 0)
            m_prompt.MsgInfo(cell.refusal.text);
        else
            m_prompt.ShowErrBox(updateFailed(), cell.refusal.number, cell.refusal.text);
        return std::nullopt;
    }
    if (const auto date = std::get_if<LedgerDate>(&*cell.value); date && !date->isNull())
        m_ledger.setDefaultDate(date->toStored());
    return cell.value;
}

void VoucherEditor::productFirst(int row)
{
    m_prompt.MsgInfo(QStringLiteral("상품명을 먼저 입력하세요."));
    m_view.setActiveCell(row, C::ColProName);
    m_view.focusGrid();
}

std::optional<qint64> VoucherEditor::RecAddNew(const LedgerRow &voucher)
{
    const VoucherStore::Result r = m_store.insert(voucher);
    if (!r.ok()) {
        runError(QStringLiteral("RecAddNew"), r.error.code, r.error.text);
        return std::nullopt;
    }
    if (r.rowsAffected < 1 || r.id <= 0) {
        m_prompt.MsgInfo(QStringLiteral("자료 저장중 오류가 발생했습니다."));
        return std::nullopt;
    }
    return r.id;
}

bool VoucherEditor::RecUpdate(int row, VoucherField field, const FieldValue &value)
{
    const qint64 code = m_model.row(row).totalId;
    if (code == 0) {
        m_prompt.MsgWarn(QStringLiteral("전표코드 정의 오류입니다."));
        return false;
    }
    const VoucherStore::Result r = m_store.update(code, field, value);
    if (!r.ok()) {
        // Not reaching the table at all (no ledger, a lock, no table) is the query layer's box;
        // a value the table refused is the save's.
        if (r.error.kind == SqlError::Kind::NoDatabase || r.error.kind == SqlError::Kind::Busy
            || r.error.kind == SqlError::Kind::NoObject)
            m_prompt.show(queryError(r.error));
        else
            m_prompt.ShowErrBox(updateFailed(), r.error.code, r.error.text);
        return false;
    }
    if (r.rowsAffected < 1) {
        m_prompt.MsgWarn(QStringLiteral("전표코드[%1]에 해당하는 자료를 찾을 수 없습니다.").arg(code));
        return false;
    }
    return true;
}

bool VoucherEditor::ReallyEdit(const QString &oldText, int column, int row)
{
    // Another PC may have changed the voucher since the grid was filled: the question shows
    // what is stored now. A read that fails shows the grid's value; the write reports it.
    QString stored = oldText;
    if (const qint64 id = m_model.row(row).totalId; id > 0) {
        SqlError error;
        if (const auto now = m_store.read(id, &error)) {
            const QVariant v = LedgerModel::valueOf(*now, column);
            stored = v.isNull() ? QString() : v.toString();
        } else if (!error.isError()) {
            m_prompt.MsgWarn(deletedElsewhere());
            m_view.focusGrid();
            return false;
        }
    }
    m_view.setConfirmHighlight(row, column, true);
    const bool yes = m_prompt.MsgYesNo(QStringLiteral("정말 수정하시겠습니까?\r\n이전 데이터: ") + stored, QString(), true);
    m_view.setConfirmHighlight(row, column, false);
    if (!yes)
        m_model.store(row, column, stored);
    m_view.focusGrid();
    return yes;
}

void VoucherEditor::RecDelete(int row)
{
    const qint64 code = row >= 0 && row < m_model.rowCount() ? m_model.row(row).totalId : 0;
    if (code == 0) {
        m_prompt.MsgInfo(QStringLiteral("삭제할 전표자료를 선택하세요."));
        m_view.focusGrid();
        return;
    }
    m_view.setRowMode(true);
    // The second line names the voucher, so that a wrong row is not deleted on trust: its
    // product and its sale date, or its purchase date while unsold.
    const LedgerRow &voucher = m_model.row(row);
    QString which = QStringLiteral("품명: ") + voucher.proName;
    if (!voucher.maechulDate.isEmpty())
        which += QStringLiteral(", 판매일자: ") + voucher.maechulDate;
    else if (!voucher.maeipDate.isEmpty())
        which += QStringLiteral(", 매입일자: ") + voucher.maeipDate;
    if (!m_prompt.MsgYesNo(QStringLiteral("선택된 전표자료를 정말로 삭제 하시겠습니까?\r\n") + which, QStringLiteral("전표 삭제"),
                           true)) {
        m_view.setRowMode(false);
        m_view.focusGrid();
        return;
    }
    if (RecDelete_Sub(code)) {
        m_model.removeVoucherRow(row);
        m_view.showFloatMsg(FloatMsg::deleted());
    }
    m_view.setRowMode(false);
    m_view.focusGrid();
}

bool VoucherEditor::RecDelete_Sub(qint64 code)
{
    const VoucherStore::Result r = m_store.remove(code);
    if (!r.ok()) {
        runError(QStringLiteral("RecDelete_Sub"), r.error.code, r.error.text);
        return false;
    }
    if (r.rowsAffected < 1) {
        m_prompt.MsgInfo(QStringLiteral("자료삭제중 오류가 발생했습니다."));
        return false;
    }
    return true;
}

void VoucherEditor::ClearClientInfo(BusiMode side)
{
    m_view.showClient(side, nullptr);
}

void VoucherEditor::DispClientInfo(BusiMode side, ClientCode code)
{
    if (!code.isValid())
        return;
    ClearClientInfo(side);
    const auto client = shownOnFailure(ClientRegister(m_db, side).find(code), m_prompt);
    if (client && *client)
        m_view.showClient(side, &**client);
}

void VoucherEditor::activeRowChanged(int oldRow, int newRow)
{
    if (oldRow == newRow || newRow < 0 || newRow >= m_model.rowCount())
        return;
    DispClientInfo(BusiMode::Supplier, m_model.row(newRow).maeipCode);
    DispClientInfo(BusiMode::Customer, m_model.row(newRow).maechulCode);
}

void VoucherEditor::SyncUpdateClient(ClientCode nCode, BusiMode nBusiMode, bool)
{
    DispClientInfo(nBusiMode, nCode);
}
