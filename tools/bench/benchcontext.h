// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <functional>

#include <QString>

#include "core/base/userprompt.h"
#include "core/data/connectionsettings.h"

class Database;
struct SqlStatement;

// Benchmarks must not stop for questions: every box is printed and answered with its default.
class PrintingPrompt final : public UserPrompt
{
public:
    Answer message(Icon, const QString &text, const QString &title, Buttons, Answer defaultButton) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        return defaultButton;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> inputSecret(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> pickDate(const QString &, const QObject *) override { return std::nullopt; }
    std::optional<QString> pickFile(const QString &, const QString &, const QString &) override { return std::nullopt; }
};

// What every group of measurements gets: the sample ledger and a way to print a line.
struct BenchContext
{
    Database &db;
    QString ledgerPath;
    QString workFolder; // for extra files a measurement needs
    qint64 vouchers = 0;
    // One result line: what was measured, rows, milliseconds, and an optional comparison.
    std::function<void(const QString &what, qint64 rows, double ms, const QString &note)> report;
    // The server the ledger measurements run on as well; engine Sqlite when none was given.
    ConnectionSettings server;
    // One line with both engines side by side; serverMs < 0 when the server was skipped.
    std::function<void(const QString &what, qint64 rows, double fileMs, double serverMs, const QString &note)> reportBoth;
};

// The rows of a statement stepped through bare SQLite on its own connection, every column read.
qint64 bareRows(const QString &path, const SqlStatement &st);
// Milliseconds of the fastest of n runs.
double bestOf(int n, const std::function<void()> &run);
// The number of a customer with vouchers as a caller-ID device reports it (digits only); empty
// when the ledger has none.
QString ringingCustomer(Database &db);
// Resident memory of this process in bytes.
qint64 residentBytes();
