// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchcontext.h"
#include "serverledger.h"

#include <QDir>
#include <QFile>

#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "devkit/sampleledger.h"
#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/vouchereditor.h"
#include "core/masterdata/voucherlookups.h"

namespace {

constexpr int ShownVouchers = 100000;
constexpr int Repeats = 50;

class SilentPrompt final : public UserPrompt
{
public:
    Answer message(Icon, const QString &text, const QString &, Buttons buttons, Answer defaultButton) override
    {
        // A question is answered with its default; a box that only informs tells of a failure.
        if (buttons == Buttons::Ok)
            lastText = text;
        return defaultButton;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> inputSecret(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> pickDate(const QString &, const QObject *) override { return std::nullopt; }
    std::optional<QString> pickFile(const QString &, const QString &, const QString &) override { return std::nullopt; }
    QString lastText;
};

// Takes the typed product as chosen, as a single match does.
class TakeTyped final : public VoucherLookups
{
public:
    QString SelGroup(const QString &text, const QObject *, FormRules::Horizontal, bool) override { return text; }
    QString SelProduct(QString &text, const QObject *, FormRules::Horizontal, bool, const QString &) override
    {
        return text;
    }
    std::optional<PickedClient> SelClient(BusiMode, const QString &, const QObject *, FormRules::Horizontal,
                                          bool) override
    {
        return std::nullopt;
    }
};

class NoView final : public VoucherEditor::View
{
public:
    void setActiveCell(int, int) override {}
    void focusGrid() override {}
    void setConfirmHighlight(int, int, bool) override {}
    void setRowMode(bool) override {}
    void showFloatMsg(const QString &) override {}
    void showClient(BusiMode, const ClientRecord *) override {}
    const QObject *codeAnchor() const override { return nullptr; }
    const QObject *clientAnchor() const override { return nullptr; }
};

struct EditTimes
{
    int shown = 0;
    double commit = -1;
    double insert = -1;
    double remove = -1;
    QString box; // the last box an edit showed, a write that failed
};

// Committing a cell, inserting and deleting a voucher while every voucher of the ledger is shown.
EditTimes timeEdits(Database &db)
{
    SilentPrompt prompt;
    TakeTyped lookups;
    NoView view;
    LedgerModel model;
    Ledger ledger(db, prompt, model);
    VoucherEditor editor(db, prompt, lookups, model, ledger, view);
    VoucherFilter all;
    all.fromDate = QDate(1, 1, 1);
    all.toDate = QDate(9999, 12, 31);
    ledger.DispList(all);
    EditTimes t;
    t.shown = model.rowCount() - 1;

    // The last saved row asks no question.
    qint64 n = 1000;
    t.commit = bestOf(Repeats, [&] {
        const int row = model.entryRow() - 1;
        editor.editBegins(row, LedgerModel::ColMaeipCost);
        editor.editEnds(row, LedgerModel::ColMaeipCost, QString::number(++n), true);
    });
    t.insert = bestOf(Repeats, [&] {
        const int row = model.entryRow();
        editor.editBegins(row, LedgerModel::ColProName);
        editor.editEnds(row, LedgerModel::ColProName, QStringLiteral("벤치 상품"), true);
    });
    t.remove = bestOf(Repeats, [&] { editor.RecDelete(model.rowCount() / 2); });
    t.box = prompt.lastText;
    return t;
}

} // namespace

// The same edits with 100,000 vouchers shown, on the file (each write on disk when it returns)
// and on the server (each write committed by the server when it returns).
void runEditBench(BenchContext &ctx)
{
    const QString path = ctx.workFolder + QStringLiteral("/edit-100k.db");
    QFile::remove(path);
    SampleLedgerOptions o;
    o.vouchers = ShownVouchers;
    o.today = QDate(2026, 12, 8);
    o.soldShare = 1.0; // every voucher has a sale date inside the shown period
    if (!writeSampleLedger(path, o, nullptr))
        return;
    EditTimes server;
    if (ctx.server.isServer())
        if (const auto ledger = serverLedger(ctx.server, QStringLiteral("solbitsem_bench_edit"), path, true)) {
            Database db;
            if (db.open(*ledger))
                server = timeEdits(db);
        }
    EditTimes file;
    {
        Database db;
        if (!db.open(path))
            return;
        file = timeEdits(db);
    }
    QString goal = QStringLiteral("(goal < 20 ms)");
    for (const QString &box : {file.box, server.box})
        if (!box.isEmpty())
            goal += QStringLiteral(" BOX: ") + box.simplified();
    ctx.reportBoth(QStringLiteral("commit one amount cell"), file.shown, file.commit, server.commit, goal);
    ctx.reportBoth(QStringLiteral("insert a voucher from the entry row"), file.shown, file.insert, server.insert, goal);
    ctx.reportBoth(QStringLiteral("delete a voucher in the middle"), file.shown, file.remove, server.remove, goal);
    QFile::remove(path);
}
