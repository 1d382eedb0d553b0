// SPDX-License-Identifier: GPL-3.0-or-later
#include "hometaxsheet.h"

#include <xlsxwriter.h>

#include <variant>

#include "core/base/stagedfile.h"
#include "core/ledger/ledgerexport.h"
#include "taxinvoice.h"

namespace {

// 전자(세금)계산서 종류 01: 일반; 영수(01)/청구(02): the shop asks to be paid (외상).
const QString kKindGeneral = QStringLiteral("01");
const QString kClaim = QStringLiteral("02");

using Cell = std::variant<std::monostate, QString, qint64>;

// One invoice's items as its four groups: past the fourth, the rest is summed into the fourth
// as "○○ 외 n건".
QList<TaxInvoiceItem> fourItems(const QList<TaxInvoiceItem> &items)
{
    if (items.size() <= HometaxSheet::ItemsPerInvoice)
        return items;
    QList<TaxInvoiceItem> out = items.mid(0, HometaxSheet::ItemsPerInvoice);
    TaxInvoiceItem &last = out.last();
    for (qsizetype i = HometaxSheet::ItemsPerInvoice; i < items.size(); ++i)
        last.amount += items.at(i).amount;
    last.product = QStringLiteral("%1 외 %2건").arg(last.product).arg(items.size() - HometaxSheet::ItemsPerInvoice);
    return out;
}

QList<Cell> rowOf(const TaxInvoiceData &data, const TaxInvoice &invoice)
{
    const ShopDetails &shop = data.shop;
    const ClientBusiness &customer = invoice.business;
    QList<Cell> row{kKindGeneral, data.issueDate.toString(QStringLiteral("yyyyMMdd")),
                    shop.number, {}, shop.name, shop.owner, shop.address, shop.busiType, shop.busiItem, shop.email,
                    customer.number, {}, invoice.customerName, customer.owner, invoice.address, customer.busiType,
                    customer.busiItem, customer.email, {},
                    invoice.total.supply, invoice.total.tax, {}};
    const QList<TaxInvoiceItem> items = fourItems(invoice.items);
    for (int i = 0; i < HometaxSheet::ItemsPerInvoice; ++i) {
        if (i < items.size()) {
            const TaxInvoiceItem &item = items.at(i);
            // One voucher is one product: 수량 1, 단가 its 공급가액.
            row << item.date.toString(QStringLiteral("dd")) << item.product << Cell{} << qint64(1) << item.amount.supply
                << item.amount.supply << item.amount.tax << Cell{};
        } else {
            for (int c = 0; c < 8; ++c)
                row << Cell{};
        }
    }
    row << Cell{} << Cell{} << Cell{} << Cell{} << kClaim;
    return row;
}

} // namespace

namespace HometaxSheet {

QStringList headers()
{
    QStringList h{QStringLiteral("전자(세금)계산서 종류"), QStringLiteral("작성일자")};
    for (const QString &side : {QStringLiteral("공급자"), QStringLiteral("공급받는자")})
        for (const char16_t *field : {u"등록번호", u"종사업장번호", u"상호", u"성명", u"사업장주소", u"업태", u"종목"})
            h << side + QLatin1Char(' ') + QString::fromUtf16(field);
    h.insert(9, QStringLiteral("공급자 이메일"));
    h << QStringLiteral("공급받는자 이메일1") << QStringLiteral("공급받는자 이메일2") << QStringLiteral("공급가액 합계")
      << QStringLiteral("세액 합계") << QStringLiteral("비고");
    for (int i = 1; i <= ItemsPerInvoice; ++i)
        for (const char16_t *field : {u"일자", u"품목", u"규격", u"수량", u"단가", u"공급가액", u"세액", u"품목비고"})
            h << QString::fromUtf16(field) + QString::number(i);
    h << QStringLiteral("현금") << QStringLiteral("수표") << QStringLiteral("어음") << QStringLiteral("외상미수금")
      << QStringLiteral("영수(01)/청구(02)");
    return h;
}

QString write(const TaxInvoiceData &data, const QString &path)
{
    StagedFile file(path);
    QString error;
    lxw_workbook *book = LedgerExport::openWorkbook(file, &error);
    if (!book)
        return error;
    lxw_worksheet *sheet = workbook_add_worksheet(book, "세금계산서");
    lxw_format *header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "#,##0");

    const QStringList names = headers();
    for (int c = 0; c < names.size(); ++c)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), names.at(c).toUtf8().constData(), header);
    lxw_row_t r = 1;
    for (const TaxInvoice &invoice : data.invoices) {
        const QList<Cell> row = rowOf(data, invoice);
        for (int c = 0; c < row.size(); ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            if (const auto *text = std::get_if<QString>(&row.at(c)); text && !text->isEmpty())
                worksheet_write_string(sheet, r, col, text->toUtf8().constData(), nullptr);
            else if (const auto *number = std::get_if<qint64>(&row.at(c)))
                worksheet_write_number(sheet, r, col, static_cast<double>(*number), money);
        }
        ++r;
    }
    worksheet_set_column(sheet, 0, ColumnCount - 1, 14, nullptr);
    return LedgerExport::closeWorkbook(book, file, static_cast<int>(r));
}

} // namespace HometaxSheet
