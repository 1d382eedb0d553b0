// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "core/data/sqlstatement.h"
#include "ledgerrow.h"
#include "voucherfield.h"

class Database;

// The statements of one voucher in the total table, apart from the flow of an edit: the piece
// a server database implements a second time. Plain SQL only; what is particular to the engine
// stays in Database. Nothing is shown here: the caller reports the error it gets back.
class VoucherStore final
{
public:
    struct Result
    {
        SqlError error;
        int rowsAffected = 0;
        qint64 id = 0; // the new voucher's key after insert()
        bool ok() const { return !error.isError(); }
    };

    explicit VoucherStore(Database &db) : m_db(db) {}

    // A new voucher of the row's dates, group and product; amounts and codes 0, names empty.
    Result insert(const LedgerRow &row);
    // One field of a voucher, bound under its own name so that its size is checked; a client's
    // code and name are written together. A value of another kind than the field's is refused.
    Result update(qint64 id, VoucherField field, const FieldValue &value);
    Result remove(qint64 id);
    // The voucher with key id; nullopt when there is none, or on an error (then in error).
    std::optional<LedgerRow> read(qint64 id, SqlError *error = nullptr);

private:
    Database &m_db;
};
