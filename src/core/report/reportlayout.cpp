// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportlayout.h"

#include <cmath>

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "core/base/stagedfile.h"

namespace {

const QStringList kPagePlaceholders{QStringLiteral("title"), QStringLiteral("heading"), QStringLiteral("date"),
                                    QStringLiteral("page"), QStringLiteral("pages")};

// Every {name} in text is one of allowed, and the braces pair up; else what is wrong.
QString checkPlaceholders(const QString &text, const QStringList &allowed)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == QLatin1Char('}'))
            return QStringLiteral("여는 괄호 없이 '}'가 있습니다");
        if (c != QLatin1Char('{')) {
            ++i;
            continue;
        }
        const qsizetype end = text.indexOf(QLatin1Char('}'), i + 1);
        const qsizetype nextOpen = text.indexOf(QLatin1Char('{'), i + 1);
        if (end < 0 || (nextOpen >= 0 && nextOpen < end))
            return QStringLiteral("'{'가 닫히지 않았습니다");
        const QString name = text.mid(i + 1, end - i - 1).trimmed();
        if (!allowed.contains(name))
            return QStringLiteral("알 수 없는 자리표시 {") + name + QStringLiteral("}");
        i = end + 1;
    }
    return {};
}

constexpr int kMaxColumns = 40;
constexpr int kMaxLineLength = 1000;

bool readNumber(const QString &value, double low, double high, double &out)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    // nan and inf read as numbers and fail no comparison with a bound.
    if (!ok || !std::isfinite(v) || v < low || v > high)
        return false;
    out = v;
    return true;
}

} // namespace

QString layoutFileText(const LayoutFileParts &parts)
{
    return QStringLiteral("; 솔빛셈 %1 인쇄 양식 (UTF-8)\n"
                          "; 이 파일을 고치면 인쇄 모양이 바뀝니다. 지우면 다음 인쇄 때 기본 양식으로 다시 만들어집니다.\n"
                          "%2"
                          "; 세미콜론(;)이나 #로 시작하는 줄은 설명입니다.\n"
                          "\n"
                          "[page]\n"
                          "; 여백(mm), 글꼴(한글 글꼴), 본문 글자 크기(pt). 용지는 A4 가로입니다.\n"
                          "margin = %3\n"
                          "font = NanumBarunGothic\n"
                          "size = %4\n"
                          "\n"
                          "[title]\n"
                          "text = {title}\n"
                          "size = 18\n"
                          "\n"
                          "[heading]\n"
                          "text = {heading}\n"
                          "size = 10\n"
                          "\n"
                          "[columns]\n"
                          "; 머리글 | 값 | 너비(비율) | 정렬(left, center, right)\n"
                          "%5"
                          "\n"
                          "[totals]\n"
                          "label = %6\n"
                          "\n"
                          "[footer]\n"
                          "left = 인쇄일: {date}\n"
                          "center =\n"
                          "right = {page} / {pages}\n")
        .arg(parts.name, parts.placeholders, parts.margin, parts.size, parts.columns, parts.totalsLabel);
}

QString builtInLayoutText()
{
    return layoutFileText(
        {QStringLiteral("장부"),
         QStringLiteral("; 자리표시: {title} 제목, {heading} 기간 또는 검색어, {date} 인쇄일, {page} 쪽 번호, {pages} 전체 쪽 수\n"),
         QStringLiteral("10"), QStringLiteral("8.5"),
         QStringLiteral("; 값: {maeip_date} {pro_name} {maeip_name} {maeip_cost} {maechul_date} {maechul_name}\n"
                        ";     {maechul_cost} {maechul_usecost} {margin}\n"
                        "매입일자 | {maeip_date} | 8 | center\n"
                        "품명 | {pro_name} | 22 | left\n"
                        "매입처명 | {maeip_name} | 14 | left\n"
                        "매입금액 | {maeip_cost} | 11 | right\n"
                        "판매일자 | {maechul_date} | 8 | center\n"
                        "판매처명 | {maechul_name} | 14 | left\n"
                        "판매금액 | {maechul_cost} | 11 | right\n"
                        "판매경비 | {maechul_usecost} | 11 | right\n"
                        "마진 | {margin} | 11 | right\n"),
         QStringLiteral("[합 계]")});
}

const ReportForm &ledgerReportForm()
{
    // In the order of ReportLayout::Field.
    static const ReportForm form{reportLayoutFileName(), builtInLayoutText(),
                                 {QStringLiteral("maeip_date"), QStringLiteral("pro_name"), QStringLiteral("maeip_name"),
                                  QStringLiteral("maeip_cost"), QStringLiteral("maechul_date"),
                                  QStringLiteral("maechul_name"), QStringLiteral("maechul_cost"),
                                  QStringLiteral("maechul_usecost"), QStringLiteral("margin")},
                                 {}};
    return form;
}

ReportLayout builtInLayout(const ReportForm &form)
{
    ReportLayout l;
    parseReportLayout(form.builtInText, l, nullptr, form);
    return l;
}

bool parseReportLayout(const QString &text, ReportLayout &layout, QString *error, const ReportForm &form)
{
    ReportLayout l;
    QString section;
    int lineNo = 0;
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QString::number(lineNo) + QStringLiteral("행: ") + why;
        return false;
    };
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        // A printed design needs neither; without a bound a crafted file takes the print minutes.
        if (raw.size() > kMaxLineLength)
            return fail(QStringLiteral("한 행은 %1글자까지만 쓸 수 있습니다").arg(kMaxLineLength));
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return fail(QStringLiteral("구역 이름이 ']'로 끝나지 않습니다"));
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            static const QStringList sections{QStringLiteral("page"),    QStringLiteral("title"),
                                              QStringLiteral("heading"), QStringLiteral("columns"),
                                              QStringLiteral("totals"),  QStringLiteral("footer")};
            if (!sections.contains(section))
                return fail(QStringLiteral("알 수 없는 구역 [") + section + QStringLiteral("]"));
            continue;
        }
        if (section == QLatin1String("columns")) {
            const QStringList parts = line.split(QLatin1Char('|'));
            if (parts.size() != 4)
                return fail(QStringLiteral("열은 '머리글 | 값 | 너비 | 정렬'의 네 칸이어야 합니다"));
            if (l.columns.size() >= kMaxColumns)
                return fail(QStringLiteral("열은 %1개까지만 둘 수 있습니다").arg(kMaxColumns));
            ReportLayout::Column c;
            c.header = parts[0].trimmed();
            // Only a form with words of its own reads braces in a header as placeholders.
            if (const QString wrong = form.words.isEmpty() ? QString() : checkPlaceholders(c.header, form.words);
                !wrong.isEmpty())
                return fail(wrong);
            const QString value = parts[1].trimmed();
            c.field = value.startsWith(QLatin1Char('{')) && value.endsWith(QLatin1Char('}'))
                          ? int(form.fields.indexOf(value.mid(1, value.size() - 2).trimmed()))
                          : -1;
            if (c.field < 0)
                return fail(QStringLiteral("알 수 없는 열 값 ") + value);
            if (!readNumber(parts[2].trimmed(), 0.1, 1000, c.width))
                return fail(QStringLiteral("열 너비는 0.1에서 1000 사이의 수여야 합니다"));
            const QString align = parts[3].trimmed().toLower();
            if (align == QLatin1String("left"))
                c.align = ReportLayout::Align::Left;
            else if (align == QLatin1String("center"))
                c.align = ReportLayout::Align::Center;
            else if (align == QLatin1String("right"))
                c.align = ReportLayout::Align::Right;
            else
                return fail(QStringLiteral("정렬은 left, center, right 중 하나여야 합니다"));
            l.columns.append(c);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || section.isEmpty())
            return fail(QStringLiteral("'이름 = 값' 꼴이 아닙니다"));
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        const QString where = section + QLatin1Char('.') + key;
        QString *textTarget = nullptr;
        double *numberTarget = nullptr;
        double low = 0, high = 0;
        if (where == QLatin1String("page.margin")) {
            numberTarget = &l.marginMm, low = 0, high = 50;
        } else if (where == QLatin1String("page.font")) {
            l.font = value;
            continue;
        } else if (where == QLatin1String("page.size")) {
            numberTarget = &l.bodySize, low = 4, high = 36;
        } else if (where == QLatin1String("title.text")) {
            textTarget = &l.titleText;
        } else if (where == QLatin1String("title.size")) {
            numberTarget = &l.titleSize, low = 4, high = 72;
        } else if (where == QLatin1String("heading.text")) {
            textTarget = &l.headingText;
        } else if (where == QLatin1String("heading.size")) {
            numberTarget = &l.headingSize, low = 4, high = 72;
        } else if (where == QLatin1String("totals.label")) {
            textTarget = &l.totalsLabel;
        } else if (where == QLatin1String("footer.left")) {
            textTarget = &l.footerLeft;
        } else if (where == QLatin1String("footer.center")) {
            textTarget = &l.footerCenter;
        } else if (where == QLatin1String("footer.right")) {
            textTarget = &l.footerRight;
        } else {
            return fail(QStringLiteral("알 수 없는 항목 ") + key);
        }
        if (numberTarget && !readNumber(value, low, high, *numberTarget))
            return fail(key + QStringLiteral("는 ") + QString::number(low) + QStringLiteral("에서 ")
                        + QString::number(high) + QStringLiteral(" 사이의 수여야 합니다"));
        if (textTarget) {
            const QString wrong = checkPlaceholders(value, kPagePlaceholders + form.words);
            if (!wrong.isEmpty())
                return fail(wrong);
            *textTarget = value;
        }
    }
    if (l.columns.isEmpty()) {
        lineNo = 0;
        if (error)
            *error = QStringLiteral("[columns] 구역에 열이 하나도 없습니다");
        return false;
    }
    layout = l;
    return true;
}

QString fillPlaceholders(const QString &text, const QMap<QString, QString> &values)
{
    if (!text.contains(QLatin1Char('{')))
        return text;
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0) {
            out += text.mid(i);
            break;
        }
        out += text.mid(i, open - i);
        const QString name = text.mid(open + 1, close - open - 1).trimmed();
        const auto it = values.constFind(name);
        out += it != values.cend() ? *it : text.mid(open, close - open + 1);
        i = close + 1;
    }
    return out;
}

QString readLayoutFile(const QString &reportFolder, const QString &fileName, const QString &builtInText,
                       const std::function<bool(const QString &, QString *)> &parse, QString *path)
{
    const QString filePath = QDir(reportFolder).filePath(fileName);
    if (path)
        *path = filePath;
    const QString shown = QDir::toNativeSeparators(filePath);
    QFile file(filePath);
    if (!file.exists()) {
        // The window's start makes the report folder; a print from the command line may be the
        // first thing to need it.
        QDir().mkpath(reportFolder);
        StagedFile out(filePath);
        QString why = out.create();
        if (why.isEmpty() && out.write(builtInText.toUtf8()) < 0)
            why = out.writeFailure();
        if (why.isEmpty())
            why = out.commit();
        if (!why.isEmpty())
            return QStringLiteral("인쇄 양식 파일을 만들 수 없어 기본 양식으로 인쇄합니다.\n") + shown + QStringLiteral("\n") + why;
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("인쇄 양식 파일을 읽을 수 없어 기본 양식으로 인쇄합니다.\n") + shown + QStringLiteral("\n")
               + file.errorString();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    QString error;
    if (utf8.hasError())
        error = QStringLiteral("UTF-8 글자가 아닌 내용이 있습니다");
    else if (parse(text, &error))
        return {};
    return QStringLiteral("인쇄 양식 파일이 잘못되어 기본 양식으로 인쇄합니다.\n") + shown + QStringLiteral("\n") + error;
}

LoadedLayout loadReportLayout(const QString &reportFolder, const ReportForm &form)
{
    LoadedLayout loaded;
    loaded.layout = builtInLayout(form);
    loaded.problem = readLayoutFile(
        reportFolder, form.fileName, form.builtInText,
        [&](const QString &text, QString *error) {
            ReportLayout edited;
            if (!parseReportLayout(text, edited, error, form))
                return false;
            loaded.layout = edited;
            return true;
        },
        &loaded.path);
    return loaded;
}
