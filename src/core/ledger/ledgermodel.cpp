// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgermodel.h"

#include <algorithm>
#include <array>

#include "core/base/money.h"

namespace {

struct ColumnInfo
{
    const char16_t *header;
    const char16_t *field;
};

constexpr std::array<ColumnInfo, LedgerModel::ColumnCount> kColumns{{
    {u"매입일자", u"maeip_date"},
    {u"그룹", u"group_name"},
    {u"품명", u"pro_name"},
    {u"매입처코드", u"maeip_code"},
    {u"매입처명", u"maeip_name"},
    {u"매입금액", u"maeip_cost"},
    {u"판매일자", u"maechul_date"},
    {u"판매처코드", u"maechul_code"},
    {u"판매처명", u"maechul_name"},
    {u"판매금액", u"maechul_cost"},
    {u"판매경비", u"maechul_usecost"},
    {u"마진", u""},
    {u"레코드키", u""},
    {u"매입합", u""},
    {u"매출합", u""},
    {u"경비합", u""},
    {u"마진합", u""},
}};

quint16 bit(int column) { return static_cast<quint16>(1u << column); }

} // namespace

LedgerModel::LedgerModel(QObject *parent) : QAbstractTableModel(parent) {}

int LedgerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int LedgerModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool LedgerModel::isHiddenColumn(int column)
{
    return column == ColMaeipCode || column == ColMaechulCode || column >= ColTotalId;
}

bool LedgerModel::isAmountColumn(int column)
{
    return column == ColMaeipCost || column == ColMaechulCost || column == ColUsecost;
}

bool LedgerModel::isCodeColumn(int column)
{
    return column == ColMaeipCode || column == ColMaechulCode;
}

QString LedgerModel::fieldOf(int column)
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return QString::fromUtf16(kColumns[static_cast<size_t>(column)].field);
}

QString LedgerModel::headerText(int column)
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return QString::fromUtf16(kColumns[static_cast<size_t>(column)].header);
}

double LedgerModel::designWidth(int column)
{
    static constexpr std::array<double, ColumnCount> widths{10, 4, 23.25, 0, 13.75, 10, 10, 0, 17, 10, 10, 10,
                                                            0,  0, 0,     0, 0};
    if (column < 0 || column >= ColumnCount)
        return 0;
    return widths[static_cast<size_t>(column)];
}

bool LedgerModel::isNumericColumn(int column)
{
    return isAmountColumn(column) || column == ColMargin || column >= ColSumMaeip;
}

QVariant LedgerModel::raw(const LedgerRow &r, int column) const
{
    switch (column) {
    case ColSumMaeip: return m_totals.maeipCost;
    case ColSumMaechul: return m_totals.maechulCost;
    case ColSumUsecost: return m_totals.usecost;
    case ColSumMargin: return m_totals.margin;
    default: return valueOf(r, column);
    }
}

QVariant LedgerModel::valueOf(const LedgerRow &r, int column)
{
    if (column >= 0 && column < ColumnCount && (r.emptyMask & bit(column)))
        return QVariant();
    switch (column) {
    case ColMaeipDate: return r.maeipDate;
    case ColGroup: return r.groupName;
    case ColProName: return r.proName;
    case ColMaeipCode: return r.maeipCode.value();
    case ColMaeipName: return r.maeipName;
    case ColMaeipCost: return r.maeipCost;
    case ColMaechulDate: return r.maechulDate;
    case ColMaechulCode: return r.maechulCode.value();
    case ColMaechulName: return r.maechulName;
    case ColMaechulCost: return r.maechulCost;
    case ColUsecost: return r.maechulUsecost;
    case ColMargin: return r.margin();
    case ColTotalId: return r.totalId == 0 ? QVariant() : QVariant(r.totalId);
    default: return {};
    }
}

QVariant LedgerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LedgerRow &r = m_rows[static_cast<size_t>(index.row())];
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = raw(r, c);
        if (v.isNull())
            return QString();
        if (isAmountColumn(c) || c == ColMargin || c >= ColSumMaeip)
            return Money(v.toLongLong()).toString();
        return v.toString();
    }
    case Qt::EditRole:
    case SortRole:
        return raw(r, c);
    case Qt::TextAlignmentRole:
        if (isAmountColumn(c) || c == ColMargin || c >= ColSumMaeip)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool LedgerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    return store(index.row(), index.column(), value);
}

bool LedgerModel::store(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= rowCount())
        return false;
    const int c = column;
    if (c == ColMargin || c >= ColTotalId)
        return false;
    qint64 number = 0;
    const bool empty = value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
    if ((isAmountColumn(c) || isCodeColumn(c)) && !empty) {
        bool ok = false;
        number = value.toLongLong(&ok);
        if (!ok)
            return false;
        if (isCodeColumn(c) && (number < INT32_MIN || number > INT32_MAX))
            return false;
        if (isAmountColumn(c) && (number < -AmountLimit || number > AmountLimit))
            return false;
    }
    assign(row, c, empty ? QString() : value.toString(), number, empty);
    return true;
}

namespace {
template<class... F>
struct Overloaded : F...
{
    using F::operator()...;
};
// Clang 14 does not deduce an aggregate's template arguments by itself.
template<class... F>
Overloaded(F...) -> Overloaded<F...>;
} // namespace

void LedgerModel::setField(int row, VoucherField field, const FieldValue &value)
{
    if (row < 0 || row >= rowCount() || !fits(field, value))
        return;
    const int c = columnOf(field);
    std::visit(Overloaded{
                   [&](const QString &text) { assign(row, c, text, 0, text.isEmpty()); },
                   [&](const LedgerDate &date) { assign(row, c, date.toStored(), 0, date.isNull()); },
                   [&](const Money &amount) { assign(row, c, {}, amount.won(), false); },
                   [&](const VoucherClient &client) {
                       assign(row, field == VoucherField::Supplier ? ColMaeipCode : ColMaechulCode, {},
                              client.code.value(), false);
                       assign(row, c, client.name, 0, client.name.isEmpty());
                   },
               },
               value);
}

void LedgerModel::assign(int row, int c, const QString &text, qint64 number, bool empty)
{
    const QModelIndex index = this->index(row, c);
    LedgerRow &r = m_rows[static_cast<size_t>(row)];
    addToTotals(r, -1);
    if (empty)
        r.emptyMask |= bit(c);
    else
        r.emptyMask &= static_cast<quint16>(~bit(c));
    switch (c) {
    case ColMaeipDate: r.maeipDate = text; break;
    case ColGroup: r.groupName = text; break;
    case ColProName: r.proName = text; break;
    case ColMaeipCode: r.maeipCode = ClientCode(static_cast<qint32>(number)); break;
    case ColMaeipName: r.maeipName = text; break;
    case ColMaeipCost: r.maeipCost = number; break;
    case ColMaechulDate: r.maechulDate = text; break;
    case ColMaechulCode: r.maechulCode = ClientCode(static_cast<qint32>(number)); break;
    case ColMaechulName: r.maechulName = text; break;
    case ColMaechulCost: r.maechulCost = number; break;
    case ColUsecost: r.maechulUsecost = number; break;
    default: break;
    }
    addToTotals(r, +1);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    if (isAmountColumn(c)) {
        const QModelIndex m = this->index(index.row(), ColMargin);
        emit dataChanged(m, m, {Qt::DisplayRole, Qt::EditRole});
        emitTotals();
    }
}

Qt::ItemFlags LedgerModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < ColMargin && !isCodeColumn(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant LedgerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return headerText(section);
    return section + 1;
}

void LedgerModel::addToTotals(const LedgerRow &r, int sign)
{
    m_totals.maeipCost += sign * r.maeipCost;
    m_totals.maechulCost += sign * r.maechulCost;
    m_totals.usecost += sign * r.maechulUsecost;
    m_totals.margin += sign * r.margin();
}

void LedgerModel::emitTotals()
{
    const int last = rowCount() - 1;
    if (last >= 0)
        emit dataChanged(index(0, ColSumMaeip), index(last, ColSumMargin), {Qt::DisplayRole, Qt::EditRole});
    emit totalsChanged(m_totals);
}

void LedgerModel::setRows(std::vector<LedgerRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_hasEntryRow = false;
    m_queryOrder = true;
    m_totals = {};
    for (const LedgerRow &r : m_rows)
        addToTotals(r, +1);
    endResetModel();
    emit totalsChanged(m_totals);
}

void LedgerModel::clear()
{
    setRows({});
}

void LedgerModel::AddNewRow(const QString &defaultDate)
{
    const int r = rowCount();
    beginInsertRows({}, r, r);
    LedgerRow row;
    row.maeipDate = defaultDate;
    row.maechulDate = defaultDate;
    // An entry row's amounts and codes stay blank until typed.
    row.emptyMask = bit(ColMaeipCode) | bit(ColMaeipCost) | bit(ColMaechulCode) | bit(ColMaechulCost)
                    | bit(ColUsecost);
    m_rows.push_back(std::move(row));
    m_hasEntryRow = true;
    endInsertRows();
    emitTotals();
}

void LedgerModel::removeVoucherRow(int r)
{
    if (r < 0 || r >= rowCount() || r == entryRow())
        return;
    beginRemoveRows({}, r, r);
    addToTotals(m_rows[static_cast<size_t>(r)], -1);
    m_rows.erase(m_rows.begin() + r);
    endRemoveRows();
    emitTotals();
}

void LedgerModel::replaceRow(int r, const LedgerRow &row)
{
    if (r < 0 || r >= rowCount() || r == entryRow())
        return;
    LedgerRow &old = m_rows[static_cast<size_t>(r)];
    addToTotals(old, -1);
    old = row;
    addToTotals(old, +1);
    emit dataChanged(index(r, 0), index(r, ColTotalId), {Qt::DisplayRole, Qt::EditRole});
    emitTotals();
}

void LedgerModel::insertVoucherRow(int r, const LedgerRow &row)
{
    const int saved = m_hasEntryRow ? rowCount() - 1 : rowCount();
    r = std::clamp(r, 0, saved);
    beginInsertRows({}, r, r);
    m_rows.insert(m_rows.begin() + r, row);
    addToTotals(row, +1);
    endInsertRows();
    emitTotals();
}

bool LedgerModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    const auto first = m_rows.begin() + row;
    for (auto it = first; it != first + count; ++it)
        addToTotals(*it, -1);
    if (m_hasEntryRow && row + count == static_cast<int>(m_rows.size()))
        m_hasEntryRow = false;
    m_rows.erase(first, first + count);
    endRemoveRows();
    emitTotals();
    return true;
}

void LedgerModel::setTotalId(int r, qint64 id)
{
    if (r < 0 || r >= rowCount())
        return;
    m_rows[static_cast<size_t>(r)].totalId = id;
    if (r == entryRow())
        m_hasEntryRow = false;
    const QModelIndex i = index(r, ColTotalId);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void LedgerModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColSumMaeip) // the sum columns hold one value for all rows
        return;
    m_queryOrder = false;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    if (m_hasEntryRow) {
        addToTotals(m_rows.back(), -1);
        m_rows.pop_back();
        m_hasEntryRow = false;
    }
    // Sort a permutation so that persistent indexes can follow their rows.
    std::vector<int> perm(m_rows.size());
    for (size_t i = 0; i < perm.size(); ++i)
        perm[i] = static_cast<int>(i);
    const auto key = [this](int i) -> const LedgerRow & { return m_rows[static_cast<size_t>(i)]; };
    // Text is folded once per row, not in every comparison: a sort of 100,000 rows stays quick.
    std::vector<QString> folded;
    auto cmpText = [&](const QString LedgerRow::*m) {
        folded.resize(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            folded[i] = (m_rows[i].*m).toCaseFolded();
        return [&](int a, int b) {
            const QString &x = folded[static_cast<size_t>(a)];
            const QString &y = folded[static_cast<size_t>(b)];
            return order == Qt::AscendingOrder ? x < y : y < x;
        };
    };
    auto cmpNum = [&](auto get) {
        return [&, get](int a, int b) {
            const auto x = get(key(a));
            const auto y = get(key(b));
            return order == Qt::AscendingOrder ? x < y : y < x;
        };
    };
    switch (column) {
    case ColMaeipDate: std::stable_sort(perm.begin(), perm.end(), cmpText(&LedgerRow::maeipDate)); break;
    case ColGroup: std::stable_sort(perm.begin(), perm.end(), cmpText(&LedgerRow::groupName)); break;
    case ColProName: std::stable_sort(perm.begin(), perm.end(), cmpText(&LedgerRow::proName)); break;
    case ColMaeipName: std::stable_sort(perm.begin(), perm.end(), cmpText(&LedgerRow::maeipName)); break;
    case ColMaechulDate: std::stable_sort(perm.begin(), perm.end(), cmpText(&LedgerRow::maechulDate)); break;
    case ColMaechulName: std::stable_sort(perm.begin(), perm.end(), cmpText(&LedgerRow::maechulName)); break;
    case ColMaeipCode: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.maeipCode.value(); })); break;
    case ColMaeipCost: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.maeipCost; })); break;
    case ColMaechulCode: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.maechulCode.value(); })); break;
    case ColMaechulCost: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.maechulCost; })); break;
    case ColUsecost: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.maechulUsecost; })); break;
    case ColMargin: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.margin(); })); break;
    case ColTotalId: std::stable_sort(perm.begin(), perm.end(), cmpNum([](const LedgerRow &r) { return r.totalId; })); break;
    default: break;
    }
    std::vector<LedgerRow> sorted;
    sorted.reserve(m_rows.size() + 1);
    std::vector<int> newPos(m_rows.size());
    for (size_t i = 0; i < perm.size(); ++i) {
        newPos[static_cast<size_t>(perm[i])] = static_cast<int>(i);
        sorted.push_back(std::move(m_rows[static_cast<size_t>(perm[i])]));
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &i : before) {
        if (i.row() < static_cast<int>(newPos.size()))
            after << index(newPos[static_cast<size_t>(i.row())], i.column());
        else
            after << QModelIndex(); // the old entry row is gone
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    AddNewRow(m_defaultDate);
}

namespace {
using C = LedgerModel::Column;
}

std::optional<VoucherField> voucherFieldOf(int column)
{
    switch (column) {
    case C::ColMaeipDate: return VoucherField::MaeipDate;
    case C::ColGroup: return VoucherField::Group;
    case C::ColProName: return VoucherField::Product;
    case C::ColMaeipCode:
    case C::ColMaeipName: return VoucherField::Supplier;
    case C::ColMaeipCost: return VoucherField::MaeipCost;
    case C::ColMaechulDate: return VoucherField::MaechulDate;
    case C::ColMaechulCode:
    case C::ColMaechulName: return VoucherField::Customer;
    case C::ColMaechulCost: return VoucherField::MaechulCost;
    case C::ColUsecost: return VoucherField::Usecost;
    default: return std::nullopt;
    }
}

int columnOf(VoucherField field)
{
    switch (field) {
    case VoucherField::MaeipDate: return C::ColMaeipDate;
    case VoucherField::Group: return C::ColGroup;
    case VoucherField::Product: return C::ColProName;
    case VoucherField::Supplier: return C::ColMaeipName;
    case VoucherField::MaeipCost: return C::ColMaeipCost;
    case VoucherField::MaechulDate: return C::ColMaechulDate;
    case VoucherField::Customer: return C::ColMaechulName;
    case VoucherField::MaechulCost: return C::ColMaechulCost;
    case VoucherField::Usecost: return C::ColUsecost;
    }
    return C::ColMaeipDate;
}

QString fieldName(VoucherField field)
{
    switch (field) {
    case VoucherField::Supplier: return LedgerModel::fieldOf(C::ColMaeipCode);
    case VoucherField::Customer: return LedgerModel::fieldOf(C::ColMaechulCode);
    default: return LedgerModel::fieldOf(columnOf(field));
    }
}

QString nameFieldOf(VoucherField client)
{
    return LedgerModel::fieldOf(client == VoucherField::Customer ? C::ColMaechulName : C::ColMaeipName);
}
