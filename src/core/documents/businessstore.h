// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/base/clientcode.h"
#include "core/data/sqlstatement.h"
#include "core/masterdata/businessmode.h"

class Database;

// The shop's own business details, as its papers head them.
struct ShopDetails
{
    QString name;     // 상호
    QString owner;    // 대표자
    QString number;   // 사업자등록번호, ten digits or empty
    QString busiType; // 업태
    QString busiItem; // 종목
    QString address;  // 사업장 주소
    QString tel;
    QString email;
    // 부가세포함: sale amounts include VAT. Kept in the ledger, not per PC, so that every PC
    // splits them alike.
    bool vatIncluded = true;
};

// A client's business details beside the register's record.
struct ClientBusiness
{
    QString number; // 사업자등록번호, ten digits or empty
    QString owner;  // 대표자
    QString busiType;
    QString busiItem;
    QString email;
};

// What a save came to: refused (a number that breaks a rule, said in Korean) or the engine's error.
struct BusinessSave
{
    QString refused;
    SqlError error;
    bool ok() const { return refused.isEmpty() && !error.isError(); }
};

// Reads and writes the business details of a ledger, on either engine. A number is checked
// (BusinessNumber) and stored as its ten digits.
class BusinessStore final
{
public:
    explicit BusinessStore(Database &db) : m_db(db) {}

    // Defaults (nothing filled in, VAT included) when the shop has none yet.
    SqlError readShop(ShopDetails &shop);
    BusinessSave saveShop(const ShopDetails &shop);
    // Empty details when the client has none.
    SqlError readClient(BusiMode mode, ClientCode code, ClientBusiness &details);
    // Details with nothing filled in remove the client's row.
    BusinessSave saveClient(BusiMode mode, ClientCode code, const ClientBusiness &details);

private:
    Database &m_db;
};
