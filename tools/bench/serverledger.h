// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <libpq-fe.h>

#include <QString>

#include "core/data/connectionsettings.h"
#include "core/data/sqlstatement.h"

// The benchmarks' ledgers once more on a PostgreSQL server, each in a schema of its own, so
// that every ledger measurement is taken on both engines in one run.

// The ledger file copied into schema on server; a schema that already holds as many vouchers as
// the file is reused unless fresh. Nullopt, after saying why, when that failed.
std::optional<ConnectionSettings> serverLedger(const ConnectionSettings &server, const QString &schema,
                                               const QString &file, bool fresh);

// A bare libpq connection on the server ledger, for the statements without the program.
class BareServer final
{
public:
    explicit BareServer(const ConnectionSettings &ledger);
    ~BareServer();
    BareServer(const BareServer &) = delete;
    BareServer &operator=(const BareServer &) = delete;
    bool isOpen() const;
    // The rows of the statement, every value read, through PQexecParams in text form.
    qint64 rows(const SqlStatement &st);

private:
    PGconn *m_conn = nullptr;
};
