// SPDX-License-Identifier: GPL-3.0-or-later
#include "schema.h"

#include <QRegularExpression>

namespace Schema {

namespace {

Field text(const QString &name, int size = 0) { return {name, FieldType::Text, size, false}; }
Field integer(const QString &name) { return {name, FieldType::Integer, 0, false}; }

// The shop's row is shop_id 1; vat_included 1 when its sale amounts include VAT, in the ledger
// because every PC must split them alike. The sizes leave room for what Hometax takes.
void appendBusinessTables(QList<Table> &tables)
{
    const auto s = [](const char16_t *t) { return QString::fromUtf16(t); };
    tables.append({shopInfoTable(),
                   {{s(u"shop_id"), FieldType::Integer, 0, true},
                    text(s(u"name"), 70),
                    text(s(u"owner"), 30),
                    text(s(u"busi_no"), BusinessNumberSize),
                    text(s(u"busi_type"), 50),
                    text(s(u"busi_item"), 50),
                    text(s(u"address"), 150),
                    text(s(u"tel"), 20),
                    text(s(u"email"), 100),
                    integer(s(u"vat_included"))},
                   {{shopInfoTable() + s(u"_shop_id"), s(u"shop_id"), false, true}}});
    // No unique key over the pair: the server would make a second column an INCLUDE. The store
    // replaces a client's row inside one transaction instead.
    tables.append({clientBusinessTable(),
                   {{s(u"busi_mode"), FieldType::Integer, 0, true},
                    {s(u"client_code"), FieldType::Integer, 0, true},
                    text(s(u"busi_no"), BusinessNumberSize),
                    text(s(u"owner"), 30),
                    text(s(u"busi_type"), 50),
                    text(s(u"busi_item"), 50),
                    text(s(u"email"), 100)},
                   {{clientBusinessTable() + s(u"_client_code"), s(u"client_code"), false, false, {s(u"busi_mode")}}}});
}

QList<Table> buildTables()
{
    const auto s = [](const char16_t *t) { return QString::fromUtf16(t); };
    QList<Table> tables;
    tables.append({s(u"total"),
                   {{s(u"total_id"), FieldType::Counter, 0, true},
                    text(s(u"maeip_date"), 10),
                    integer(s(u"pro_code")),
                    integer(s(u"maeip_code")),
                    text(s(u"maeip_name"), 50),
                    integer(s(u"maeip_cost")),
                    integer(s(u"maechul_code")),
                    text(s(u"maechul_date"), 10),
                    text(s(u"maechul_name"), 50),
                    integer(s(u"maechul_cost")),
                    integer(s(u"maechul_usecost")),
                    text(s(u"group_name"), GroupNameSize),
                    text(s(u"pro_name"), 50)},
                   // The ledger's period query, its searches by client and the group filter. The
                   // period index carries what the analysis sums and filters on, the client indexes
                   // what a client's balance sums.
                   {{s(u"total_maechul_date"), s(u"maechul_date"), false, false,
                     {s(u"maechul_cost"), s(u"maeip_cost"), s(u"group_name"), s(u"pro_name")}},
                    {s(u"total_maeip_code"), s(u"maeip_code"), false, false, {s(u"maeip_date"), s(u"maeip_cost")}},
                    {s(u"total_maechul_code"), s(u"maechul_code"), false, false, {s(u"maechul_date"), s(u"maechul_cost")}},
                    {s(u"total_group_name"), s(u"group_name"), false, false}}});
    // Deleted vouchers with their deletion time: the fields of total, the key kept as it was so
    // that a restored voucher comes back under it.
    Table bin{recycleBinTable(), tables.front().fields, {{recycleBinTable() + s(u"_total_id"), s(u"total_id"), false, true}}};
    bin.fields.front() = {s(u"total_id"), FieldType::Integer, 0, true};
    bin.fields.append(text(s(u"deleted_date"), 19));
    tables.append(bin);
    tables.append({s(u"total_print"),
                   {text(s(u"maeip_date"), 10), text(s(u"pro_name"), 50), text(s(u"maeip_name"), 50),
                    integer(s(u"maeip_cost")), text(s(u"maechul_date"), 10),
                    text(s(u"maechul_name"), 50), integer(s(u"maechul_cost")),
                    integer(s(u"maechul_usecost")), text(s(u"group_name"), GroupNameSize)},
                   {}});
    for (const char16_t *client : {u"maeip", u"maechul"}) {
        const QString t = s(client);
        tables.append({t,
                       {{s(u"id"), FieldType::Integer, 0, true},
                        text(s(u"name"), ClientNameSize),
                        text(s(u"tel"), 20),
                        text(s(u"phone"), 20),
                        text(s(u"zipcode"), 7),
                        text(s(u"address"), 100),
                        text(s(u"memo"), 100)},
                       {{t + s(u"_id"), s(u"id"), false, true},
                        {t + s(u"_name"), s(u"name"), false, false}}});
    }
    tables.append({s(u"product"), {text(s(u"name"), 50)}, {{s(u"product_name"), s(u"name"), false, false}}});
    tables.append({s(u"group_name"),
                   {{s(u"name"), FieldType::Text, GroupNameSize, true}},
                   {{s(u"group_name_name"), s(u"name"), true, true}}});
    tables.append({s(u"user"), {text(s(u"userid"), 20), text(s(u"pass"), 20)}, {}});
    // Every caller-ID report, so that missed calls are still there after a restart. kind is the
    // CallKind, added after the first histories (0 in their rows and in older programs' rows).
    tables.append({s(u"call_history"),
                   {{s(u"call_id"), FieldType::Counter, 0, true},
                    text(s(u"call_time"), 19),
                    text(s(u"port"), 50),
                    text(s(u"number"), 50),
                    text(s(u"client_name"), ClientNameSize),
                    integer(s(u"kind"))},
                   {}});
    // What the program has told the shop about this ledger, so that it is told once per ledger
    // and not once per PC or per start.
    tables.append({notesTable(),
                   {{s(u"note"), FieldType::Text, 50, true}, text(s(u"said"))},
                   {{notesTable() + s(u"_note"), s(u"note"), false, true}}});
    // Payments: busi_mode 0 paid to a supplier, 1 received from a customer. The client index
    // carries what a balance sums, so one client's balance reads the index alone.
    Table payment{paymentTable(),
                  {{s(u"payment_id"), FieldType::Counter, 0, true},
                   integer(s(u"busi_mode")),
                   integer(s(u"client_code")),
                   text(s(u"pay_date"), 10),
                   integer(s(u"amount")),
                   text(s(u"method"), 10),
                   text(s(u"memo"), 100)},
                  {{paymentTable() + s(u"_client_code"), s(u"client_code"), false, false,
                    {s(u"busi_mode"), s(u"pay_date"), s(u"amount")}}}};
    tables.append(payment);
    Table paymentBin{paymentBinTable(), payment.fields, {{paymentBinTable() + s(u"_payment_id"), s(u"payment_id"), false, true}}};
    paymentBin.fields.front() = {s(u"payment_id"), FieldType::Integer, 0, true};
    paymentBin.fields.append(text(s(u"deleted_date"), 19));
    tables.append(paymentBin);
    tables.append({openingTable(),
                   {integer(s(u"busi_mode")), integer(s(u"client_code")), text(s(u"opening_date"), 10),
                    integer(s(u"amount"))},
                   {{openingTable() + s(u"_client_code"), s(u"client_code"), false, false}}});
    appendBusinessTables(tables);
    return tables;
}

} // namespace

const Field *Table::field(const QString &fieldName) const
{
    for (const Field &f : fields)
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const QList<Table> &ledgerTables()
{
    static const QList<Table> tables = buildTables();
    return tables;
}

const QList<ExpressionIndex> &expressionIndexes()
{
    // A caller is found by the end of a customer's number. Every search key ends with the
    // number's last four digits, so an index on the last four characters narrows the
    // ends-with match to a handful of rows.
    static const QList<ExpressionIndex> indexes{
        {QStringLiteral("maechul_tel_tail"), QStringLiteral("maechul"), QStringLiteral("tel"),
         4},
        {QStringLiteral("maechul_phone_tail"), QStringLiteral("maechul"), QStringLiteral("phone"),
         4}};
    return indexes;
}

const Table *ledgerTable(const QString &name)
{
    for (const Table &t : ledgerTables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const Table &postTable()
{
    static const Table post{QStringLiteral("Post"),
                            {text(QStringLiteral("ZIPCODE"), 7), text(QStringLiteral("SIDO"), 20),
                             text(QStringLiteral("GUGUN"), 30), text(QStringLiteral("DONG"), 50),
                             text(QStringLiteral("BUNJI"), 30)},
                            {{QStringLiteral("Post_DONG"), QStringLiteral("DONG"), false, false}}};
    return post;
}

int sizeFromDeclaredType(const QString &declared)
{
    static const QRegularExpression re(QStringLiteral(R"(\(\s*(\d+)\s*\))"));
    const auto m = re.match(declared);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace Schema
