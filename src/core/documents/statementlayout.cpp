// SPDX-License-Identifier: GPL-3.0-or-later
#include "statementlayout.h"

#include <QStringList>

#include "core/report/reportlayout.h"

QString StatementLayout::builtInText()
{
    return QStringLiteral("; 솔빛셈 거래명세표 인쇄 양식 (UTF-8)\n"
                          "; 이 파일을 고치면 인쇄 모양이 바뀝니다. 지우면 다음 인쇄 때 기본 양식으로 다시 만들어집니다.\n"
                          "; 세미콜론(;)이나 #로 시작하는 줄은 설명입니다.\n"
                          "\n"
                          "[page]\n"
                          "; 용지는 A4 세로입니다. copies = 2: 한 장에 두 부(위 공급받는자 보관용, 아래 공급자 보관용),\n"
                          "; copies = 1: 한 쪽에 한 부씩. 여백(mm), 글꼴(한글 글꼴), 본문 글자 크기(pt).\n"
                          "copies = 2\n"
                          "margin = 10\n"
                          "font = NanumBarunGothic\n"
                          "size = 9\n"
                          "\n"
                          "[title]\n"
                          "text = 거래명세표\n"
                          "size = 18\n"
                          "receiver = (공급받는자 보관용)\n"
                          "supplier = (공급자 보관용)\n"
                          "\n"
                          "[lines]\n"
                          "; 품목 줄이 이보다 적으면 빈 줄로 채웁니다.\n"
                          "minimum = 8\n");
}

bool StatementLayout::parse(const QString &text, StatementLayout &layout, QString *error)
{
    QString section;
    int lineNo = 0;
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QString::number(lineNo) + QStringLiteral("행: ") + why;
        return false;
    };
    const auto number = [&](const QString &value, double low, double high, double &out) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok || v < low || v > high)
            return false;
        out = v;
        return true;
    };
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (section != QLatin1String("page") && section != QLatin1String("title") && section != QLatin1String("lines"))
                return fail(QStringLiteral("알 수 없는 구역 [") + section + QStringLiteral("]"));
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || section.isEmpty())
            return fail(QStringLiteral("\"이름 = 값\" 꼴이 아닙니다"));
        const QString key = section + QLatin1Char('.') + line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        double v = 0;
        if (key == QLatin1String("page.copies")) {
            if (value != QLatin1String("1") && value != QLatin1String("2"))
                return fail(QStringLiteral("copies는 1 또는 2입니다"));
            layout.copies = value.toInt();
        } else if (key == QLatin1String("page.margin")) {
            if (!number(value, 0, 40, v))
                return fail(QStringLiteral("여백은 0에서 40(mm) 사이의 수입니다"));
            layout.marginMm = v;
        } else if (key == QLatin1String("page.font")) {
            layout.font = value;
        } else if (key == QLatin1String("page.size") || key == QLatin1String("title.size")) {
            if (!number(value, 5, 40, v))
                return fail(QStringLiteral("글자 크기는 5에서 40(pt) 사이의 수입니다"));
            (key == QLatin1String("page.size") ? layout.bodySize : layout.titleSize) = v;
        } else if (key == QLatin1String("title.text")) {
            layout.titleText = value;
        } else if (key == QLatin1String("title.receiver")) {
            layout.receiverCopy = value;
        } else if (key == QLatin1String("title.supplier")) {
            layout.supplierCopy = value;
        } else if (key == QLatin1String("lines.minimum")) {
            if (!number(value, 0, 40, v) || v != int(v))
                return fail(QStringLiteral("minimum은 0에서 40 사이의 정수입니다"));
            layout.minLines = int(v);
        } else {
            return fail(QStringLiteral("알 수 없는 이름 ") + key);
        }
    }
    return true;
}

LoadedStatementLayout loadStatementLayout(const QString &reportFolder)
{
    LoadedStatementLayout loaded;
    loaded.problem = readLayoutFile(
        reportFolder, StatementLayout::fileName(), StatementLayout::builtInText(),
        [&loaded](const QString &text, QString *error) {
            StatementLayout edited;
            if (!StatementLayout::parse(text, edited, error))
                return false;
            loaded.layout = edited;
            return true;
        },
        &loaded.path);
    return loaded;
}
