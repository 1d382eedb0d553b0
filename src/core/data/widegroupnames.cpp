// SPDX-License-Identifier: GPL-3.0-or-later
#include "widegroupnames.h"

#include <QSqlQuery>

#include "database.h"
#include "schema.h"

namespace WideGroupNames {

namespace {
const QString kNote = QStringLiteral("wide_group_names");
const QChar kSeparator = QLatin1Char('\n');

QStringList told(Database &db)
{
    SqlStatement st(QStringLiteral("SELECT said FROM ") + Schema::notesTable() + QStringLiteral(" WHERE note = :n"));
    st.bind(QStringLiteral("n"), kNote);
    Database::Result r = db.exec(st);
    if (!r.ok() || !r.query.next())
        return {};
    return r.query.value(0).toString().split(kSeparator, Qt::SkipEmptyParts);
}
} // namespace

QString notice(const QStringList &names)
{
    return QStringLiteral("그룹 이름 %1개가 지금 쓸 수 있는 길이(한글 %2자, 영문·숫자 %3자)보다 깁니다: %4\r\n"
                          "예전 프로그램에서 만든 이름이라 그룹 목록과 전표에 그대로 두었고, 지금처럼 쓸 수 있습니다.\r\n"
                          "줄이려면 [도구] → [그룹 이름]에서 그 이름을 고르고 [수정(F3)]을 눌러 짧은 이름을 넣은 뒤, "
                          "전표의 이름도 바꾸겠느냐고 물으면 [예]를 누르십시오.\r\n"
                          "이 안내는 이 장부에서 한 번만 드립니다.")
        .arg(names.size())
        .arg(Schema::GroupNameSize / 2)
        .arg(Schema::GroupNameSize)
        .arg(names.join(QStringLiteral(", ")));
}

QStringList untold(Database &db, const QStringList &names)
{
    const QStringList before = told(db);
    QStringList out;
    for (const QString &n : names)
        if (!before.contains(n) && !out.contains(n))
            out << n;
    return out;
}

SqlError markTold(Database &db, const QStringList &names)
{
    QStringList all = told(db);
    for (const QString &n : names)
        if (!all.contains(n))
            all << n;
    TransactionGuard tx(db, QStringLiteral("notes"));
    SqlStatement del(QStringLiteral("DELETE FROM ") + Schema::notesTable() + QStringLiteral(" WHERE note = :n"));
    del.bind(QStringLiteral("n"), kNote);
    SqlError e = db.exec(del).error;
    if (e.isError())
        return e;
    SqlStatement ins(QStringLiteral("INSERT INTO ") + Schema::notesTable() + QStringLiteral(" (note, said) VALUES (:n, :s)"));
    ins.bind(QStringLiteral("n"), kNote).bind(QStringLiteral("s"), all.join(kSeparator));
    e = db.exec(ins).error;
    return e.isError() ? e : tx.commit();
}

} // namespace WideGroupNames
