// SPDX-License-Identifier: GPL-3.0-or-later
#include "paymentsmodel.h"

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"

namespace {

const QString kSaveFailed = QStringLiteral("자료 저장중 오류가 발생했습니다.");

QString fieldOf(int column)
{
    switch (column) {
    case PaymentsModel::ColDate: return QStringLiteral("pay_date");
    case PaymentsModel::ColAmount: return QStringLiteral("amount");
    case PaymentsModel::ColMethod: return QStringLiteral("method");
    default: return QStringLiteral("memo");
    }
}

QVariant valueOf(const Payment &p, int column)
{
    switch (column) {
    case PaymentsModel::ColDate: return p.date;
    case PaymentsModel::ColAmount: return p.amount;
    case PaymentsModel::ColMethod: return p.method;
    case PaymentsModel::ColMemo: return p.memo;
    default: return {};
    }
}

QString textOf(const Payment &p, int column)
{
    return column == PaymentsModel::ColAmount ? formatMoney(p.amount) : valueOf(p, column).toString();
}

} // namespace

PaymentsModel::PaymentsModel(Database &db, UserPrompt &prompt, QObject *parent)
    : QAbstractTableModel(parent), m_db(db), m_prompt(prompt), m_store(db)
{
}

bool PaymentsModel::setClient(BusiMode mode, qint64 clientCode)
{
    m_mode = mode;
    m_clientCode = clientCode;
    m_lastSaved = 0;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    return reload();
}

bool PaymentsModel::reload()
{
    std::vector<Payment> rows;
    const SqlError e = m_clientCode > 0 ? m_store.list(m_mode, m_clientCode, rows) : SqlError{};
    if (e.isError()) {
        reportQueryError(e, m_prompt);
        return false;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    return true;
}

int PaymentsModel::rowOf(qint64 id) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id)
            return static_cast<int>(i);
    return -1;
}

std::optional<qint64> PaymentsModel::addPayment(const QString &dateText, const QString &amountText, const QString &method,
                                                const QString &memo)
{
    if (m_clientCode <= 0) {
        m_prompt.MsgInfo(QStringLiteral("거래처를 먼저 선택하세요."));
        return std::nullopt;
    }
    const auto date = PaymentRules::parseDate(dateText, m_prompt, today());
    if (!date)
        return std::nullopt;
    const auto amount = PaymentRules::parseAmount(amountText, m_prompt);
    if (!amount)
        return std::nullopt;
    Payment p{0, m_mode, m_clientCode, *date, *amount, method.isEmpty() ? PaymentRules::methods().front() : method, memo};
    const PaymentStore::Result r = m_store.insert(p);
    if (!r.ok()) {
        m_prompt.ShowErrBox(kSaveFailed, r.error.code, r.error.text);
        return std::nullopt;
    }
    if (r.rowsAffected < 1 || r.id <= 0) {
        m_prompt.MsgInfo(kSaveFailed);
        return std::nullopt;
    }
    p.id = r.id;
    m_lastSaved = r.id;
    // Newest first: its place by date, then key.
    size_t at = 0;
    while (at < m_rows.size() && (m_rows[at].date > p.date || (m_rows[at].date == p.date && m_rows[at].id > p.id)))
        ++at;
    beginInsertRows({}, static_cast<int>(at), static_cast<int>(at));
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), p);
    endInsertRows();
    return p.id;
}

bool PaymentsModel::commitCell(int row, int column, const QString &typed)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount)
        return false;
    Payment &p = m_rows[static_cast<size_t>(row)];
    QVariant value;
    switch (column) {
    case ColDate:
        if (const auto d = PaymentRules::parseDate(typed, m_prompt, today()))
            value = *d;
        break;
    case ColAmount:
        if (const auto a = PaymentRules::parseAmount(typed, m_prompt))
            value = *a;
        break;
    case ColMethod:
        if (PaymentRules::methods().contains(typed.trimmed()))
            value = typed.trimmed();
        else
            m_prompt.MsgInfo(QStringLiteral("결제방법은 %1 중에서 고르세요.").arg(PaymentRules::methods().join(QStringLiteral(", "))));
        break;
    default: value = typed; break;
    }
    if (!value.isValid() || value == valueOf(p, column))
        return false;
    // Another PC may have changed or deleted the payment since it was listed: the question
    // shows what is stored now.
    if (p.id != m_lastSaved) {
        SqlError error;
        const auto now = m_store.read(p.id, &error);
        if (!now && !error.isError()) {
            m_prompt.MsgWarn(QStringLiteral("다른 곳에서 삭제된 %1자료입니다.").arg(PaymentRules::paymentWord(m_mode)));
            reload();
            return false;
        }
        const QString stored = now ? textOf(*now, column) : textOf(p, column);
        if (!m_prompt.MsgYesNo(QStringLiteral("정말 수정하시겠습니까?\r\n이전 데이터: ") + stored, QString(), true))
            return false;
    }
    const PaymentStore::Result r = m_store.update(p.id, fieldOf(column), value);
    if (!r.ok()) {
        m_prompt.ShowErrBox(kSaveFailed, r.error.code, r.error.text);
        return false;
    }
    if (r.rowsAffected < 1) {
        m_prompt.MsgWarn(QStringLiteral("%1자료를 찾을 수 없습니다.").arg(PaymentRules::paymentWord(m_mode)));
        return false;
    }
    switch (column) {
    case ColDate: p.date = value.toString(); break;
    case ColAmount: p.amount = value.toLongLong(); break;
    case ColMethod: p.method = value.toString(); break;
    default: p.memo = value.toString(); break;
    }
    emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole, Qt::EditRole, SortRole});
    return true;
}

bool PaymentsModel::removePayment(int row)
{
    const QString word = PaymentRules::paymentWord(m_mode);
    if (row < 0 || row >= rowCount()) {
        m_prompt.MsgInfo(QStringLiteral("삭제할 %1자료를 선택하세요.").arg(word));
        return false;
    }
    const Payment &p = m_rows[static_cast<size_t>(row)];
    if (!m_prompt.MsgYesNo(QStringLiteral("선택된 %1자료를 정말로 삭제 하시겠습니까?\r\n일자: %2, 금액: %3")
                               .arg(word, p.date, formatMoney(p.amount)),
                           word + QStringLiteral(" 삭제"), true))
        return false;
    const PaymentStore::Result r = m_store.remove(p.id);
    if (!r.ok()) {
        m_prompt.ShowErrBox(QStringLiteral("자료삭제중 오류가 발생했습니다."), r.error.code, r.error.text);
        return false;
    }
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

int PaymentsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PaymentsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PaymentsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Payment &p = m_rows.at(static_cast<size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole: return textOf(p, index.column());
    case Qt::EditRole:
    case SortRole: return valueOf(p, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == ColAmount ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return {};
    }
}

QVariant PaymentsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString word = PaymentRules::paymentWord(m_mode);
    const QString headers[] = {word + QStringLiteral("일자"), word + QStringLiteral("금액"), QStringLiteral("결제방법"),
                               QStringLiteral("메모")};
    return headers[section];
}

Qt::ItemFlags PaymentsModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool PaymentsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    return commitCell(index.row(), index.column(), value.toString());
}

namespace OpeningBalance {

QString changeQuestion(BusiMode mode)
{
    return QStringLiteral("이 거래처에는 이미 %1 내역이 있습니다.\r\n이월 잔액을 바꾸면 모든 잔액이 달라집니다. 바꾸시겠습니까?")
        .arg(PaymentRules::paymentWord(mode));
}

std::optional<ClientOpening> read(Database &db, BusiMode mode, qint64 clientCode, UserPrompt &prompt)
{
    SqlError e;
    const auto o = PaymentStore(db).opening(mode, clientCode, &e);
    if (!o)
        reportQueryError(e, prompt);
    return o;
}

bool set(Database &db, BusiMode mode, qint64 clientCode, const QString &dateText, const QString &amountText,
         UserPrompt &prompt, const QDate &today)
{
    const auto amount = PaymentRules::parseOpeningAmount(amountText, prompt);
    if (!amount)
        return false;
    QString date;
    if (!dateText.trimmed().isEmpty()) {
        const auto d = PaymentRules::parseDate(dateText, prompt, today);
        if (!d)
            return false;
        date = *d;
    }
    PaymentStore store(db);
    SqlError e;
    const auto old = store.opening(mode, clientCode, &e);
    const auto paid = old ? store.hasPayments(mode, clientCode, &e) : std::nullopt;
    if (!paid) {
        reportQueryError(e, prompt);
        return false;
    }
    if (old->amount == *amount && old->date == date)
        return true;
    if (*paid && !prompt.MsgYesNo(changeQuestion(mode), QStringLiteral("이월 잔액"), false))
        return false;
    e = store.setOpening(mode, clientCode, {date, *amount});
    if (e.isError()) {
        prompt.ShowErrBox(kSaveFailed, e.code, e.text);
        return false;
    }
    return true;
}

} // namespace OpeningBalance
