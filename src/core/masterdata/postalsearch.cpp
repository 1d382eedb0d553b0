// SPDX-License-Identifier: GPL-3.0-or-later
#include "postalsearch.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include "core/base/textutil.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/recordset.h"

PostalSearch::PostalSearch() : m_db(std::make_unique<Database>()) {}
PostalSearch::~PostalSearch() = default;

bool PostalSearch::open(const QString &path)
{
    m_error.clear();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_error = unavailableMessage(path, QStringLiteral("파일이 없습니다."));
        return false;
    }
    if (!m_db->open(path, false, Database::Access::ReadOnly)) {
        m_error = unavailableMessage(path, QStringLiteral("파일을 열 수 없습니다."));
        return false;
    }
    // A damaged file, or one without the Post table, opens all the same: ask it now.
    const Database::Result r = m_db->exec(SqlStatement(QStringLiteral("SELECT ZIPCODE, SIDO, GUGUN, DONG, BUNJI FROM Post LIMIT 1")));
    if (!r.ok()) {
        m_error = unavailableMessage(path, r.error.text);
        m_db->close();
        return false;
    }
    return true;
}

bool PostalSearch::isOpen() const
{
    return m_db->isOpen();
}

QString PostalSearch::unavailableMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("우편번호 파일을 사용할 수 없습니다.\r\n") + QDir::toNativeSeparators(path)
           + QStringLiteral("\r\n") + reason;
}

SqlStatement PostalSearch::query(const QString &text)
{
    SqlStatement st(QStringLiteral("SELECT ZIPCODE, SIDO, GUGUN, DONG, BUNJI FROM Post"));
    if (!text.isEmpty()) {
        const bool doubleByte = LenAnsi(text.left(1)) == 2;
        // The postal file is always the embedded engine's, whatever engine the ledger is on.
        st.whereContains(SqlDialect(), doubleByte ? QStringLiteral("DONG") : QStringLiteral("ZIPCODE"), text);
    }
    st.text += QStringLiteral(" ORDER BY ZIPCODE");
    return st;
}

std::optional<std::vector<PostalRow>> PostalSearch::search(const QString &text, UserPrompt &prompt) const
{
    auto rs = shownOnFailure(OpenRS(*m_db, query(text)), prompt);
    if (!rs)
        return std::nullopt;
    std::vector<PostalRow> rows;
    while (rs->next())
        rows.push_back({NullToStr(rs->value(0)), NullToStr(rs->value(1)), NullToStr(rs->value(2)),
                        NullToStr(rs->value(3)), NullToStr(rs->value(4))});
    CloseObj(rs);
    return rows;
}

QString PostalSearch::formatZip(const QString &zipcode)
{
    // Only six digits take the pattern; a code that carries its dash already stays as it is.
    if (zipcode.size() != 6 || !std::all_of(zipcode.begin(), zipcode.end(), [](QChar c) { return c.isDigit(); }))
        return zipcode;
    return zipcode.left(3) + QLatin1Char('-') + zipcode.mid(3);
}

QString PostalSearch::address(const PostalRow &row)
{
    return row.sido + QLatin1Char(' ') + row.gugun + QLatin1Char(' ') + row.dong;
}

std::optional<PostalPick> PostalSearch::pick(const PostalRow &row, PickedBy by)
{
    if (by == PickedBy::SingleMatch)
        return PostalPick{row.zipcode, address(row)};
    if (row.zipcode.isEmpty())
        return std::nullopt;
    return PostalPick{formatZip(row.zipcode), address(row)};
}
