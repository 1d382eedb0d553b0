// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlstatement.h"

#include <algorithm>

#include "sqldialect.h"

QString SqlStatement::display() const
{
    // Longest names first so that :name does not eat the start of :name2.
    auto sorted = binds;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    QString out = text;
    for (const auto &[name, value] : sorted) {
        QString shown;
        if (value.isNull())
            shown = QStringLiteral("NULL");
        else if (value.typeId() == QMetaType::QString)
            shown = QLatin1Char('\'') + value.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        else
            shown = value.toString();
        out.replace(QLatin1Char(':') + name, shown);
    }
    return out;
}

SqlStatement &SqlStatement::whereContains(const SqlDialect &dialect, const QString &field, const QString &word)
{
    // Folding the field costs a copy of every row's text and doubles the time of a scan, so it
    // is done only when the word has a letter to fold; without one, a plain search finds the
    // same rows.
    const bool hasLetter = std::any_of(word.begin(), word.end(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    });
    // No stored text holds a NUL (none is let in), and the server refuses one in any value.
    if (word.contains(QChar(0)))
        text += QStringLiteral(" WHERE 0 = 1");
    else
        text += QStringLiteral(" WHERE ") + dialect.contains(field, QStringLiteral("contains"), hasLetter);
    return word.contains(QChar(0)) ? *this : bind(QStringLiteral("contains"), word);
}

SqlError SqlError::noDatabase(const SqlStatement &statement)
{
    SqlError e;
    e.kind = Kind::NoDatabase;
    e.code = 91;
    e.text = QStringLiteral("Data Base MDB가 선언되지 않았습니다.");
    e.statement = statement.display();
    return e;
}

namespace {
// The 91 error with what befell the server connection, and the engine's reason.
SqlError noDatabaseBecause(const SqlStatement &statement, const QString &what, const QString &reason)
{
    SqlError e = SqlError::noDatabase(statement);
    e.text += QStringLiteral("\r\n") + what;
    if (!reason.isEmpty())
        e.text += QStringLiteral("\r\n") + reason;
    return e;
}
} // namespace

SqlError SqlError::connectionLost(const SqlStatement &statement, const QString &reason)
{
    return noDatabaseBecause(statement,
                             QStringLiteral("장부 서버와의 연결이 끊어졌습니다. 이 작업이 저장되었는지 확인하십시오. 다음 작업 때 다시 연결합니다."),
                             reason);
}

SqlError SqlError::reconnectFailed(const SqlStatement &statement, const QString &reason)
{
    return noDatabaseBecause(statement, QStringLiteral("장부 서버에 다시 연결할 수 없습니다."), reason);
}
