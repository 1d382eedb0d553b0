// SPDX-License-Identifier: GPL-3.0-or-later
#include "businessstore.h"

#include "core/data/database.h"
#include "core/data/schema.h"
#include "businessnumber.h"

namespace {

constexpr int kShopId = 1;

// The number's ten digits, or the refusal.
QString checkedNumber(const QString &typed, QString *refused)
{
    const BusinessNumber n = BusinessNumber::parse(typed);
    *refused = n.error;
    return n.digits;
}

} // namespace

SqlError BusinessStore::readShop(ShopDetails &shop)
{
    shop = {};
    Database::Result r = m_db.exec(SqlStatement(QStringLiteral("SELECT name, owner, busi_no, busi_type, busi_item, address, "
                                                               "tel, email, vat_included FROM ")
                                                + Schema::shopInfoTable() + QStringLiteral(" WHERE shop_id = :id"))
                                       .bind(QStringLiteral("id"), kShopId));
    if (!r.ok())
        return r.error;
    if (r.query.next()) {
        const auto text = [&r](int c) { return r.query.value(c).toString(); };
        shop = {text(0), text(1), text(2), text(3), text(4), text(5), text(6), text(7),
                r.query.value(8).isNull() || r.query.value(8).toLongLong() != 0};
    }
    return {};
}

BusinessSave BusinessStore::saveShop(const ShopDetails &shop)
{
    BusinessSave result;
    const QString number = checkedNumber(shop.number, &result.refused);
    if (!result.refused.isEmpty())
        return result;
    const auto bindAll = [&](SqlStatement st) {
        return st.bind(QStringLiteral("id"), kShopId)
            .bind(QStringLiteral("name"), shop.name)
            .bind(QStringLiteral("owner"), shop.owner)
            .bind(QStringLiteral("busi_no"), number)
            .bind(QStringLiteral("busi_type"), shop.busiType)
            .bind(QStringLiteral("busi_item"), shop.busiItem)
            .bind(QStringLiteral("address"), shop.address)
            .bind(QStringLiteral("tel"), shop.tel)
            .bind(QStringLiteral("email"), shop.email)
            .bind(QStringLiteral("vat_included"), shop.vatIncluded ? 1 : 0)
            .into(Schema::shopInfoTable());
    };
    TransactionGuard guard(m_db, QStringLiteral("shop_info"));
    Database::Result r = m_db.exec(bindAll(QStringLiteral("UPDATE ") + Schema::shopInfoTable()
                                           + QStringLiteral(" SET name = :name, owner = :owner, busi_no = :busi_no, "
                                                            "busi_type = :busi_type, busi_item = :busi_item, address = :address, "
                                                            "tel = :tel, email = :email, vat_included = :vat_included "
                                                            "WHERE shop_id = :id")));
    if (r.ok() && r.rowsAffected == 0)
        r = m_db.exec(bindAll(QStringLiteral("INSERT INTO ") + Schema::shopInfoTable()
                              + QStringLiteral(" (shop_id, name, owner, busi_no, busi_type, busi_item, address, tel, email, "
                                               "vat_included) VALUES (:id, :name, :owner, :busi_no, :busi_type, :busi_item, "
                                               ":address, :tel, :email, :vat_included)")));
    result.error = r.ok() ? guard.commit() : r.error;
    return result;
}

SqlError BusinessStore::readClient(BusiMode mode, ClientCode code, ClientBusiness &details)
{
    details = {};
    Database::Result r = m_db.exec(SqlStatement(QStringLiteral("SELECT busi_no, owner, busi_type, busi_item, email FROM ")
                                                + Schema::clientBusinessTable()
                                                + QStringLiteral(" WHERE client_code = :code AND busi_mode = :mode"))
                                       .bind(QStringLiteral("code"), code.toVariant())
                                       .bind(QStringLiteral("mode"), toInt(mode)));
    if (!r.ok())
        return r.error;
    if (r.query.next()) {
        const auto text = [&r](int c) { return r.query.value(c).toString(); };
        details = {text(0), text(1), text(2), text(3), text(4)};
    }
    return {};
}

BusinessSave BusinessStore::saveClient(BusiMode mode, ClientCode code, const ClientBusiness &details)
{
    BusinessSave result;
    const QString number = checkedNumber(details.number, &result.refused);
    if (!result.refused.isEmpty())
        return result;
    // The client's row is replaced whole, so that no second row can stay behind.
    TransactionGuard guard(m_db, QStringLiteral("client_business"));
    Database::Result r = m_db.exec(SqlStatement(QStringLiteral("DELETE FROM ") + Schema::clientBusinessTable()
                                                + QStringLiteral(" WHERE client_code = :code AND busi_mode = :mode"))
                                       .bind(QStringLiteral("code"), code.toVariant())
                                       .bind(QStringLiteral("mode"), toInt(mode)));
    const bool empty = number.isEmpty() && details.owner.isEmpty() && details.busiType.isEmpty() && details.busiItem.isEmpty()
                       && details.email.isEmpty();
    if (r.ok() && !empty)
        r = m_db.exec(SqlStatement(QStringLiteral("INSERT INTO ") + Schema::clientBusinessTable()
                                   + QStringLiteral(" (busi_mode, client_code, busi_no, owner, busi_type, busi_item, email) "
                                                    "VALUES (:mode, :code, :busi_no, :owner, :busi_type, :busi_item, :email)"))
                          .bind(QStringLiteral("mode"), toInt(mode))
                          .bind(QStringLiteral("code"), code.toVariant())
                          .bind(QStringLiteral("busi_no"), number)
                          .bind(QStringLiteral("owner"), details.owner)
                          .bind(QStringLiteral("busi_type"), details.busiType)
                          .bind(QStringLiteral("busi_item"), details.busiItem)
                          .bind(QStringLiteral("email"), details.email)
                          .into(Schema::clientBusinessTable()));
    result.error = r.ok() ? guard.commit() : r.error;
    return result;
}
