// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerprint.h"

#include "core/data/database.h"

namespace {

// Amount cells left empty are staged as Null, as an empty grid text would be.
QVariant amount(const LedgerRow &r, int column, qint64 value)
{
    return (r.emptyMask & (1u << column)) ? QVariant() : QVariant(value);
}

} // namespace

SqlError print_total_input(Database &db, const LedgerModel &model)
{
    TransactionGuard guard(db, QStringLiteral("print_total_input"));
    for (const QString &sql : db.dialect().emptyStagingSql(QStringLiteral("total_print")))
        if (const Database::Result cleared = db.exec(SqlStatement(sql)); !cleared.ok())
            return cleared.error;
    const int saved = model.hasEntryRow() ? model.rowCount() - 1 : model.rowCount();
    SqlStatement insert(QStringLiteral("INSERT INTO total_print(maeip_date, pro_name, maeip_name, maeip_cost, "
                                       "maechul_date, maechul_name, maechul_cost, maechul_usecost) VALUES "
                                       "(:maeip_date, :pro_name, :maeip_name, :maeip_cost, :maechul_date, "
                                       ":maechul_name, :maechul_cost, :maechul_usecost)"));
    insert.into(QStringLiteral("total_print"));
    const SqlError inserted = db.execEach(insert, saved, [&model](qsizetype i, SqlStatement &st) {
        const LedgerRow &r = model.row(static_cast<int>(i));
        st.bind(QStringLiteral("maeip_date"), r.maeipDate)
            .bind(QStringLiteral("pro_name"), r.proName)
            .bind(QStringLiteral("maeip_name"), r.maeipName)
            .bind(QStringLiteral("maeip_cost"), amount(r, LedgerModel::ColMaeipCost, r.maeipCost))
            .bind(QStringLiteral("maechul_date"), r.maechulDate)
            .bind(QStringLiteral("maechul_name"), r.maechulName)
            .bind(QStringLiteral("maechul_cost"), amount(r, LedgerModel::ColMaechulCost, r.maechulCost))
            .bind(QStringLiteral("maechul_usecost"), amount(r, LedgerModel::ColUsecost, r.maechulUsecost));
    });
    if (inserted.isError())
        return inserted;
    return guard.commit();
}

SqlError readLedgerReport(Database &db, LedgerReport &report)
{
    report.rows.clear();
    report.totals = {};
    // total_print has no key: the rows' place keeps the order they were staged in.
    const SqlStatement st(QStringLiteral("SELECT maeip_date, pro_name, maeip_name, maeip_cost, maechul_date, "
                                         "maechul_name, maechul_cost, maechul_usecost FROM total_print ORDER BY ")
                          + db.dialect().insertionOrder());
    return db.forEachRow(st, [&report](const Database::RowView &v) {
        LedgerRow r;
        const auto number = [&](int i, int column) -> qint64 {
            if (v.isNull(i))
                r.emptyMask |= static_cast<quint16>(1u << column);
            return v.integer(i);
        };
        r.maeipDate = v.text(0);
        r.proName = v.text(1);
        r.maeipName = v.text(2);
        r.maeipCost = number(3, LedgerModel::ColMaeipCost);
        r.maechulDate = v.text(4);
        r.maechulName = v.text(5);
        r.maechulCost = number(6, LedgerModel::ColMaechulCost);
        r.maechulUsecost = number(7, LedgerModel::ColUsecost);
        report.totals.maeipCost += r.maeipCost;
        report.totals.maechulCost += r.maechulCost;
        report.totals.usecost += r.maechulUsecost;
        report.totals.margin += r.margin();
        report.rows.push_back(std::move(r));
    });
}

SqlError prepareLedgerReport(Database &db, const LedgerModel &model, const QString &heading, const QDate &printDate,
                             LedgerReport &report)
{
    report.title = ledgerReportTitle();
    report.heading = heading;
    report.printDate = printDate;
    const SqlError staged = print_total_input(db, model);
    if (staged.isError())
        return staged;
    return readLedgerReport(db, report);
}
