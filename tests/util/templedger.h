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

// A fresh, empty ledger file with the full schema in a temporary folder, opened.
class TempLedger final
{
public:
    TempLedger();
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_path; }
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
