// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include "core/data/database.h"
#include "core/ledger/ledgerrow.h"

// Points HOME and the XDG folders of this test process at a temporary folder, so that the
// settings store, the data folders and the layout files of the real user are never touched.
// Call once, first thing in initTestCase(): QSettings remembers its folder after first use.
class TestEnvironment final
{
public:
    static TestEnvironment &instance();
    QString home() const { return m_dir.path(); }
    // Removes every setting and every file below the temporary home.
    void reset();

private:
    TestEnvironment();
    QTemporaryDir m_dir;
};

// The engine the ledger tests run on. ctest runs the ledger's tests twice: as they are, on
// SQLite, and with SOLBITSEM_TEST_ENGINE=postgres against the server SOLBITSEM_PG names in
// libpq's words (scripts/pgcluster.sh starts one and sets it).
namespace TestEngine {
bool isServer();
// The server of the server copy; false when none is configured.
bool available();
} // namespace TestEngine

// First thing in initTestCase() of a test that runs on both engines: the server copy without a
// server is skipped whole.
#define INIT_LEDGER_TEST()                                                                                   \
    do {                                                                                                     \
        TestEnvironment::instance();                                                                         \
        if (TestEngine::isServer() && !TestEngine::available())                                              \
            QSKIP("PostgreSQL 서버가 설정되지 않았습니다 (SOLBITSEM_PG): 서버 사본은 건너뜁니다.");                     \
    } while (false)

// A fresh, empty ledger with the full schema, opened: a file in a temporary folder, or in the
// server copy a schema of its own on the test server, dropped at the end.
class TempLedger final
{
public:
    TempLedger();
    ~TempLedger();
    TempLedger(const TempLedger &) = delete;
    TempLedger &operator=(const TempLedger &) = delete;
    QString folder() const { return m_dir.path(); }
    // The file, or the server ledger's name in messages.
    QString path() const { return m_path; }
    // What opens this ledger again, on either engine.
    const ConnectionSettings &settings() const { return m_settings; }
    Database &db() { return *m_db; }

    // Runs SQL (values bound by name) and fails the test on an error.
    Database::Result exec(const SqlStatement &sql);
    // A voucher written straight into the file; returns its total_id.
    qint64 addVoucher(const LedgerRow &row);
    // A client of side 0 (maeip) or 1 (maechul).
    void addClient(int side, qint32 id, const QString &name, const QString &tel = {}, const QString &phone = {});
    qint64 count(const QString &table);

private:
    QTemporaryDir m_dir;
    QString m_path;
    ConnectionSettings m_settings;
    std::unique_ptr<Database> m_db;
};

// A voucher row for tests; amounts in won.
LedgerRow voucher(const QString &maeipDate, const QString &proName, qint64 maeipCost, const QString &maechulDate = {},
                  qint64 maechulCost = 0, qint64 usecost = 0, const QString &group = {});

#define QVERIFY_SQL(result)                                                                                  \
    do {                                                                                                     \
        const auto &r_ = (result);                                                                           \
        QVERIFY2(r_.ok(), qPrintable(r_.error.text + QStringLiteral(" | ") + r_.error.statement));          \
    } while (false)
