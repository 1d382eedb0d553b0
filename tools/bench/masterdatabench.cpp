// SPDX-License-Identifier: GPL-3.0-or-later
// The search windows and lookups over large registers: 10,000 customers, 5,000 products in
// 25 groups and 300,000 vouchers that use them. A window's fill is its list query plus the
// list model it shows; a lookup is the same fill for the typed text.
#include <QFileInfo>
#include <QSqlQuery>

#include "core/data/database.h"
#include "core/masterdata/clientregister.h"
#include "core/masterdata/namelist.h"
#include "core/masterdata/texttablemodel.h"
#include "benchcontext.h"

namespace {

constexpr int Clients = 10000;
constexpr int Products = 5000;
constexpr int Groups = 25;
constexpr int Vouchers = 300000;

QString clientName(int i)
{
    static const QStringList heads{QStringLiteral("한빛"), QStringLiteral("가람"), QStringLiteral("세종"),
                                   QStringLiteral("다솜"), QStringLiteral("누리"), QStringLiteral("미래"),
                                   QStringLiteral("김철수"), QStringLiteral("대한"), QStringLiteral("동방")};
    static const QStringList tails{QStringLiteral("상사"), QStringLiteral("상회"), QStringLiteral("유통"),
                                   QStringLiteral("전자"), QStringLiteral("마트")};
    return heads[i % heads.size()] + tails[(i / heads.size()) % tails.size()] + QString::number(i);
}

QString productName(int i) { return QStringLiteral("상품%1 모델-%2").arg(i).arg(i * 7 % 1000); }
QString groupName(int i) { return QStringLiteral("그룹%1").arg(i); }

bool build(const QString &path)
{
    if (!Database::createLedger(path, nullptr))
        return false;
    Database db;
    if (!db.open(path))
        return false;
    // Positional binds by index: each row replaces the previous row's values.
    TransactionGuard tx(db);
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("INSERT INTO maechul (id, name, tel, phone, zipcode, address, memo) "
                             "VALUES (?, ?, ?, '', '', ?, '')"));
    for (int i = 1; i <= Clients; ++i) {
        q.bindValue(0, i);
        q.bindValue(1, clientName(i));
        q.bindValue(2, QStringLiteral("02-%1-%2").arg(100 + i % 900).arg(1000 + i % 9000));
        q.bindValue(3, QStringLiteral("서울 강남구 역삼동 %1").arg(i));
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO product (name) VALUES (?)"));
    for (int i = 1; i <= Products; ++i) {
        q.bindValue(0, productName(i));
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO group_name (name) VALUES (?)"));
    for (int i = 0; i < Groups; ++i) {
        q.bindValue(0, groupName(i));
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO total (maeip_date, maechul_code, maechul_name, group_name, pro_name) "
                             "VALUES ('2026-01-02', ?, ?, ?, ?)"));
    for (int i = 0; i < Vouchers; ++i) {
        const int p = static_cast<int>(1 + (qint64(i) * 7919) % Products);
        const int c = static_cast<int>(1 + (qint64(i) * 104729) % Clients);
        q.bindValue(0, c);
        q.bindValue(1, clientName(c));
        q.bindValue(2, groupName(p % Groups));
        q.bindValue(3, productName(p));
        q.exec();
    }
    q.finish();
    return !tx.commit().isError();
}

} // namespace

void runMasterDataBench(BenchContext &ctx)
{
    const QString path = ctx.workFolder + QStringLiteral("/masterdata.db");
    if (!QFileInfo::exists(path) && !build(path)) {
        std::fprintf(stderr, "cannot build %s\n", qPrintable(path));
        return;
    }
    Database db;
    if (!db.open(path))
        return;
    PrintingPrompt prompt;

    const auto window = [&](const QString &what, const std::function<QList<QStringList>()> &query) {
        TextTableModel model({QStringLiteral("이름")});
        qint64 rows = 0;
        const double ms = bestOf(5, [&] {
            model.setRows(query());
            rows = model.rowCount();
        });
        ctx.report(what, rows, ms, ms < 50 ? QStringLiteral("< 50 ms") : QStringLiteral("OVER 50 ms"));
    };
    const ClientRegister customers(db, BusiMode::Customer);
    const auto clientRows = [&](const QString &word) {
        QList<QStringList> rows;
        const auto found = customers.list(word);
        if (!found)
            return rows;
        for (const ClientRecord &c : *found)
            rows.append({c.name, c.tel, c.address, c.memo, c.id.toText()});
        return rows;
    };
    const NameList products(db, prompt, NameList::Kind::Product);
    const NameList groups(db, prompt, NameList::Kind::Group);
    const auto nameRows = [](const QStringList &names) {
        QList<QStringList> rows;
        rows.reserve(names.size());
        for (const QString &n : names)
            rows.append({n});
        return rows;
    };

    window(QStringLiteral("client window, all 10,000"), [&] { return clientRows(QString()); });
    window(QStringLiteral("client lookup '상사' (partial)"), [&] { return clientRows(QStringLiteral("상사")); });
    window(QStringLiteral("client lookup '김철수전자4' (few)"), [&] { return clientRows(QStringLiteral("김철수전자4")); });
    window(QStringLiteral("client lookup, no match"), [&] { return clientRows(QStringLiteral("없는거래처")); });
    window(QStringLiteral("product window, all 5,000"), [&] { return nameRows(*products.list(QString())); });
    window(QStringLiteral("product lookup '모델-1'"), [&] { return nameRows(*products.list(QStringLiteral("모델-1"))); });
    window(QStringLiteral("product window, group filter (300k vouchers)"),
           [&] { return nameRows(*products.list(QString(), groupName(3))); });
    window(QStringLiteral("group window, all"), [&] { return nameRows(*groups.list(QString())); });
}
