// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The printed 거래명세표's layout, read from Statement.ini in the report folder, which the shop
// may edit as it edits LedgerList.ini: two copies on one A4 portrait sheet (the receiver's
// above, the supplier's below) or one copy per page, margin, font and sizes, the texts.
struct StatementLayout
{
    int copies = 2; // 2: both copies on one sheet; 1: each copy on a page of its own
    double marginMm = 10;
    QString font = QStringLiteral("NanumBarunGothic");
    double bodySize = 9; // points
    QString titleText = QStringLiteral("거래명세표");
    double titleSize = 18;
    QString receiverCopy = QStringLiteral("(공급받는자 보관용)");
    QString supplierCopy = QStringLiteral("(공급자 보관용)");
    int minLines = 8; // empty lines fill the table up to this many

    static QString fileName() { return QStringLiteral("Statement.ini"); }
    static QString builtInText();
    // On a fault error says which line and why; layout keeps the defaults it had there.
    static bool parse(const QString &text, StatementLayout &layout, QString *error);
};

// The report folder's Statement.ini, written with the built-in text when missing and never
// overwritten. problem names the file and the reason when it cannot be written or read, and
// the built-in layout is used.
struct LoadedStatementLayout
{
    StatementLayout layout;
    QString path;
    QString problem;
};
LoadedStatementLayout loadStatementLayout(const QString &reportFolder);
