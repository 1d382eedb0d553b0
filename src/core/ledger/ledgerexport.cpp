// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerexport.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "core/base/csvfield.h"
#include "core/base/stagedfile.h"
#include "core/base/systemerror.h"
#include "ledgermodel.h"

namespace {

const QString kTotalsLabel = QStringLiteral("[합 계]");

using Column = LedgerExport::Column;

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

// The grid's visible columns, saved vouchers only, the four totals under them.
LedgerExport::Table tableOf(const LedgerModel &model)
{
    LedgerExport::Table t;
    t.sheet = QStringLiteral("장부");
    std::vector<int> shown;
    for (int c = 0; c < LedgerModel::ColumnCount; ++c)
        if (!LedgerModel::isHiddenColumn(c)) {
            shown.push_back(c);
            t.columns.push_back({LedgerModel::headerText(c), LedgerModel::isNumericColumn(c),
                                 c == LedgerModel::ColMaeipDate || c == LedgerModel::ColMaechulDate});
            t.totals << (t.totals.isEmpty() ? QVariant(kTotalsLabel)
                         : hasTotal(c)      ? QVariant(totalOf(model.totals(), c))
                                            : QVariant());
        }
    t.rows = savedRows(model);
    t.value = [&model, shown](int row, int column) {
        return model.data(model.index(row, shown[static_cast<size_t>(column)]), Qt::EditRole);
    };
    return t;
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
    if (c.number || c.plain || (c.date && QDate::fromString(text, Qt::ISODate).isValid()))
        return csvField(text);
    return csvTextField(text);
}

quint32 le(const QByteArray &b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b.at(at + i));
    return v;
}

// Whether the workbook's first sheet, unpacked, holds rowTag in its last part and ends as a
// sheet does. Reads the archive's central directory to find the sheet (no zip64: the library
// is asked for none).
bool sheetEndsWith(const QString &path, const QByteArray &rowTag)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray zip = f.readAll();
    const qsizetype end = zip.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0 || end + 22 > zip.size())
        return false;
    qsizetype at = le(zip, end + 16, 4);
    const QByteArray wanted = QByteArrayLiteral("xl/worksheets/sheet1.xml");
    for (quint32 n = le(zip, end + 10, 2); n > 0 && at + 46 <= zip.size(); --n) {
        if (le(zip, at, 4) != 0x02014b50)
            return false;
        const quint32 nameLength = le(zip, at + 28, 2);
        if (zip.mid(at + 46, nameLength) != wanted) {
            at += 46 + nameLength + le(zip, at + 30, 2) + le(zip, at + 32, 2);
            continue;
        }
        const quint32 method = le(zip, at + 10, 2);
        const quint32 packed = le(zip, at + 20, 4);
        const qsizetype local = le(zip, at + 42, 4);
        if (local + 30 > zip.size())
            return false;
        const qsizetype data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
        if (data + packed > zip.size())
            return false;
        QByteArray tail;
        if (method == 0) {
            tail = zip.mid(data, packed).right(1 << 14);
        } else {
            z_stream z{};
            if (method != 8 || inflateInit2(&z, -MAX_WBITS) != Z_OK)
                return false;
            z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zip.constData() + data));
            z.avail_in = packed;
            QByteArray chunk(1 << 16, '\0');
            int r = Z_OK;
            while (r == Z_OK) {
                z.next_out = reinterpret_cast<Bytef *>(chunk.data());
                z.avail_out = uInt(chunk.size());
                r = inflate(&z, Z_NO_FLUSH);
                tail = (tail + chunk.left(chunk.size() - z.avail_out)).right(1 << 14);
            }
            inflateEnd(&z);
            if (r != Z_STREAM_END)
                return false;
        }
        return tail.trimmed().endsWith("</worksheet>") && tail.contains(rowTag);
    }
    return false;
}

bool isDiskFull(int systemError)
{
    return systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG || systemError == EIO;
}

// The library's failure in Korean, its own words kept for support. What the system said (a full
// disk) is more use to the shop than the library's step that met it.
QString xlsxFailure(lxw_error e, int systemError)
{
    const QString library = QString::fromUtf8(lxw_strerror(e));
    if (isDiskFull(systemError) || systemError == EACCES || systemError == EROFS)
        return errnoText(systemError, library);
    QString words;
    switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        words = QStringLiteral("메모리가 모자라 엑셀 파일을 만들지 못했습니다.");
        break;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        words = QStringLiteral("엑셀 파일이나 그 임시 파일을 만들지 못했습니다. 저장할 곳과 임시 폴더의 빈 공간과 권한을 확인해 주십시오.");
        break;
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        words = QStringLiteral("엑셀 파일을 끝까지 쓰지 못했습니다. 디스크의 빈 공간을 확인해 주십시오.");
        break;
    default:
        words = QStringLiteral("엑셀 파일을 만들지 못했습니다.");
        break;
    }
    return words + QStringLiteral("\r\n(라이브러리 메시지: ") + library + QLatin1Char(')');
}

} // namespace

namespace LedgerExport {

lxw_workbook *openWorkbook(StagedFile &file, QString *error)
{
    if (*error = file.create(); !error->isEmpty())
        return nullptr;
    const QByteArray target = QFile::encodeName(file.writePath());
    // The library's temporary files go here; kept for the process, as the library may keep the pointer.
    static const QByteArray tmp = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    // Rows go straight to disk as they are written: 100,000 vouchers need no workbook in memory.
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(tmp.constData());
    lxw_workbook *book = workbook_new_opt(target.constData(), &options);
    if (!book)
        *error = xlsxFailure(LXW_ERROR_CREATING_XLSX_FILE, errno);
    return book;
}

QString closeWorkbook(lxw_workbook *book, StagedFile &file, int lastRow)
{
    if (const lxw_error e = workbook_close(book); e != LXW_NO_ERROR)
        return xlsxFailure(e, errno);
    // The library does not check its writes to its own temporary parts: on a full disk it
    // reports success for a workbook whose rows were cut off.
    if (!file.isDirect() && !sheetEndsWith(file.writePath(), QByteArrayLiteral("<row r=\"") + QByteArray::number(lastRow) + '"'))
        return errnoText(ENOSPC, QString::fromUtf8(lxw_strerror(LXW_ERROR_ZIP_FILE_ADD)));
    return file.commit();
}

QString writeCsv(const Table &table, const QString &path)
{
    const std::vector<Column> &columns = table.columns;
    StagedFile file(path);
    if (const QString error = file.create(); !error.isEmpty())
        return error;
    QString out = QStringLiteral("\uFEFF");
    const auto line = [&out](const QStringList &fields) {
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    QStringList fields;
    for (const Column &c : columns)
        fields << csvField(c.header);
    line(fields);
    for (int r = 0; r < table.rows; ++r) {
        fields.clear();
        for (size_t i = 0; i < columns.size(); ++i)
            fields << csvCell(columns[i], table.value(r, static_cast<int>(i)));
        line(fields);
        if (out.size() > (1 << 20)) {
            if (file.write(out.toUtf8()) < 0)
                return file.writeFailure();
            out.clear();
        }
    }
    fields.clear();
    for (const QVariant &v : table.totals)
        fields << csvField(v.toString());
    line(fields);
    file.write(out.toUtf8());
    return file.commit();
}

QString writeXlsx(const Table &table, const QString &path, const QString &title)
{
    const std::vector<Column> &columns = table.columns;
    StagedFile file(path);
    QString error;
    lxw_workbook *book = openWorkbook(file, &error);
    if (!book)
        return error;
    lxw_worksheet *sheet = workbook_add_worksheet(book, table.sheet.toUtf8().constData());
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
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(i), columns[i].header.toUtf8().constData(), header);
    worksheet_freeze_panes(sheet, 1, 0);
    // Widths in Excel's character unit, where a Hangul syllable takes two, found while writing.
    std::vector<int> widths(columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        widths[i] = displayWidth(columns[i].header);
    const int rows = table.rows;
    for (int r = 0; r < rows; ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        for (size_t i = 0; i < columns.size(); ++i) {
            const Column &c = columns[i];
            const auto col = static_cast<lxw_col_t>(i);
            const QVariant v = table.value(r, static_cast<int>(i));
            if (v.isNull())
                continue;
            if (c.number || c.plain) {
                const qint64 n = v.toLongLong();
                worksheet_write_number(sheet, row, col, static_cast<double>(n), c.plain ? nullptr : money);
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
    for (qsizetype i = 0; i < table.totals.size(); ++i) {
        const auto col = static_cast<lxw_col_t>(i);
        const QVariant &v = table.totals.at(i);
        if (v.typeId() == QMetaType::QString)
            worksheet_write_string(sheet, totalsRow, col, v.toString().toUtf8().constData(), totalLabel);
        else if (!v.isNull())
            worksheet_write_number(sheet, totalsRow, col, static_cast<double>(v.toLongLong()), totalMoney);
        else
            worksheet_write_blank(sheet, totalsRow, col, totalLabel);
    }
    const QByteArray titleText = title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char *>(titleText.constData());
    if (!title.isEmpty())
        workbook_set_properties(book, &properties);
    // The sheet must end with the totals.
    return closeWorkbook(book, file, rows + 2);
}

QString write(const Table &table, const QString &path, const QString &title)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("xlsx"))
        return writeXlsx(table, path, title);
    if (suffix == QStringLiteral("csv"))
        return writeCsv(table, path);
    return QStringLiteral("저장할 파일은 .xlsx 또는 .csv 이어야 합니다.");
}

QString writeXlsx(const LedgerModel &model, const QString &path, const QString &title)
{
    return writeXlsx(tableOf(model), path, title);
}

QString writeCsv(const LedgerModel &model, const QString &path)
{
    return writeCsv(tableOf(model), path);
}

QString write(const LedgerModel &model, const QString &path, const QString &title)
{
    return write(tableOf(model), path, title);
}

} // namespace LedgerExport
