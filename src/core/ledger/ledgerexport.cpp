// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerexport.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <vector>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "core/base/csvfield.h"
#include "core/base/ownerfiles.h"
#include "ledgermodel.h"

namespace {

const QString kTotalsLabel = QStringLiteral("[합 계]");

struct Column
{
    int column;
    bool number;
    bool date;
};

std::vector<Column> shownColumns()
{
    std::vector<Column> out;
    for (int c = 0; c < LedgerModel::ColumnCount; ++c)
        if (!LedgerModel::isHiddenColumn(c))
            out.push_back({c, LedgerModel::isNumericColumn(c),
                           c == LedgerModel::ColMaeipDate || c == LedgerModel::ColMaechulDate});
    return out;
}

int savedRows(const LedgerModel &model)
{
    return model.hasEntryRow() ? model.rowCount() - 1 : model.rowCount();
}

qint64 totalOf(const LedgerModel::Totals &t, int column)
{
    switch (column) {
    case LedgerModel::ColMaeipCost: return t.maeipCost;
    case LedgerModel::ColMaechulCost: return t.maechulCost;
    case LedgerModel::ColUsecost: return t.usecost;
    case LedgerModel::ColMargin: return t.margin;
    default: return 0;
    }
}

bool hasTotal(int column)
{
    return LedgerModel::isAmountColumn(column) || column == LedgerModel::ColMargin;
}

// Excel's character unit: a Hangul syllable (or any wide character) takes two.
int displayWidth(const QString &text)
{
    int w = 0;
    for (const QChar c : text)
        w += c.unicode() < 0x80 ? 1 : 2;
    return w;
}

// "-1,234,567": the digits, their separators and the sign.
int moneyWidth(qint64 n)
{
    int digits = 1;
    for (qint64 m = n < 0 ? -(n / 10) : n / 10; m > 0; m /= 10)
        ++digits;
    return digits + (digits - 1) / 3 + (n < 0 ? 1 : 0);
}

// A cell as CSV: amounts and well-formed dates as the program wrote them, anything typed as
// text that a spreadsheet cannot run or turn into a number.
QString csvCell(const Column &c, const QVariant &v)
{
    if (v.isNull())
        return {};
    const QString text = v.toString();
    if (c.number || (c.date && QDate::fromString(text, Qt::ISODate).isValid()))
        return csvField(text);
    return csvTextField(text);
}

} // namespace

namespace LedgerExport {

QString writeCsv(const LedgerModel &model, const QString &path)
{
    const std::vector<Column> columns = shownColumns();
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // A new file is the owner's alone from its first byte (the temporary file is what this sets);
    // a file replaced keeps the mode its owner gave it.
    if (!existed && !file.setPermissions(OwnerFiles::fileMode()))
        return file.errorString();
    QString out = QStringLiteral("\uFEFF");
    const auto line = [&out](const QStringList &fields) {
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    QStringList fields;
    for (const Column &c : columns)
        fields << csvField(LedgerModel::headerText(c.column));
    line(fields);
    const int rows = savedRows(model);
    for (int r = 0; r < rows; ++r) {
        fields.clear();
        for (const Column &c : columns) {
            fields << csvCell(c, model.data(model.index(r, c.column), Qt::EditRole));
        }
        line(fields);
        if (out.size() > (1 << 20)) {
            file.write(out.toUtf8());
            out.clear();
        }
    }
    fields.clear();
    for (const Column &c : columns)
        fields << (c.column == columns.front().column ? kTotalsLabel
                   : hasTotal(c.column)               ? QString::number(totalOf(model.totals(), c.column))
                                                      : QString());
    line(fields);
    file.write(out.toUtf8());
    return file.commit() ? QString() : file.errorString();
}

QString writeXlsx(const LedgerModel &model, const QString &path, const QString &title)
{
    const std::vector<Column> columns = shownColumns();
    const QByteArray target = QFile::encodeName(path);
    const QByteArray tmp = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    // Rows go straight to disk as they are written: 100,000 vouchers need no workbook in memory.
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(tmp.constData());
    lxw_workbook *book = workbook_new_opt(target.constData(), &options);
    if (!book)
        return QStringLiteral("파일을 만들 수 없습니다.");
    lxw_worksheet *sheet = workbook_add_worksheet(book, "장부");
    lxw_format *header = workbook_add_format(book);
    format_set_bold(header);
    format_set_bg_color(header, 0xE0E0E0);
    format_set_border(header, LXW_BORDER_THIN);
    format_set_align(header, LXW_ALIGN_CENTER);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "#,##0");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format *totalLabel = workbook_add_format(book);
    format_set_bold(totalLabel);
    format_set_top(totalLabel, LXW_BORDER_THIN);
    lxw_format *totalMoney = workbook_add_format(book);
    format_set_bold(totalMoney);
    format_set_top(totalMoney, LXW_BORDER_THIN);
    format_set_num_format(totalMoney, "#,##0");

    for (size_t i = 0; i < columns.size(); ++i)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(i),
                               LedgerModel::headerText(columns[i].column).toUtf8().constData(), header);
    worksheet_freeze_panes(sheet, 1, 0);
    // Widths in Excel's character unit, where a Hangul syllable takes two, found while writing.
    std::vector<int> widths(columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        widths[i] = displayWidth(LedgerModel::headerText(columns[i].column));
    const int rows = savedRows(model);
    for (int r = 0; r < rows; ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        for (size_t i = 0; i < columns.size(); ++i) {
            const Column &c = columns[i];
            const auto col = static_cast<lxw_col_t>(i);
            const QVariant v = model.data(model.index(r, c.column), Qt::EditRole);
            if (v.isNull())
                continue;
            if (c.number) {
                const qint64 n = v.toLongLong();
                worksheet_write_number(sheet, row, col, static_cast<double>(n), money);
                widths[i] = std::max(widths[i], moneyWidth(n));
                continue;
            }
            const QString text = v.toString();
            if (text.isEmpty())
                continue;
            const QDate d = c.date ? QDate::fromString(text, Qt::ISODate) : QDate();
            if (d.isValid()) {
                lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
                worksheet_write_datetime(sheet, row, col, &dt, date);
            } else {
                worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr);
            }
            widths[i] = std::max(widths[i], d.isValid() ? 10 : displayWidth(text));
        }
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto col = static_cast<lxw_col_t>(i);
        worksheet_set_column(sheet, col, col, std::min(widths[i], 60) + 2, nullptr);
    }
    const auto totalsRow = static_cast<lxw_row_t>(rows + 1);
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto col = static_cast<lxw_col_t>(i);
        if (i == 0)
            worksheet_write_string(sheet, totalsRow, col, kTotalsLabel.toUtf8().constData(), totalLabel);
        else if (hasTotal(columns[i].column))
            worksheet_write_number(sheet, totalsRow, col, static_cast<double>(totalOf(model.totals(), columns[i].column)),
                                   totalMoney);
        else
            worksheet_write_blank(sheet, totalsRow, col, totalLabel);
    }
    const QByteArray titleText = title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char *>(titleText.constData());
    if (!title.isEmpty())
        workbook_set_properties(book, &properties);
    const lxw_error e = workbook_close(book);
    return e == LXW_NO_ERROR ? QString() : QString::fromUtf8(lxw_strerror(e));
}

QString write(const LedgerModel &model, const QString &path, const QString &title)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("xlsx")) {
        const bool existed = QFileInfo::exists(path);
        const QString error = writeXlsx(model, path, title);
        // The library makes the file as the umask says; a new one becomes the owner's alone.
        if (error.isEmpty() && !existed)
            QFile::setPermissions(path, OwnerFiles::fileMode());
        return error;
    }
    if (suffix == QStringLiteral("csv"))
        return writeCsv(model, path);
    return QStringLiteral("저장할 파일은 .xlsx 또는 .csv 이어야 합니다.");
}

} // namespace LedgerExport
