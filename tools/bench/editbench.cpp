// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchcontext.h"

#include <QDir>
#include <QFile>

#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/sampleledger.h"
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
    Answer message(Icon, const QString &text, const QString &, Buttons, Answer defaultButton) override
    {
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

} // namespace

// Committing a cell, inserting and deleting a voucher while 100,000 are shown: the write on
// disk (synchronous), the grid row and the totals.
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
    Database db;
    if (!db.open(path))
        return;
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
    const int shown = model.rowCount() - 1;

    // The last saved row asks no question.
    const double commit = bestOf(Repeats, [&] {
        static qint64 n = 1000;
        const int row = model.entryRow() - 1;
        editor.editBegins(row, LedgerModel::ColMaeipCost);
        editor.editEnds(row, LedgerModel::ColMaeipCost, QString::number(++n), true);
    });
    ctx.report(QStringLiteral("commit one amount cell"), shown, commit, QStringLiteral("(goal < 20 ms)"));

    const double insert = bestOf(Repeats, [&] {
        const int row = model.entryRow();
        editor.editBegins(row, LedgerModel::ColProName);
        editor.editEnds(row, LedgerModel::ColProName, QStringLiteral("벤치 상품"), true);
    });
    ctx.report(QStringLiteral("insert a voucher from the entry row"), model.rowCount() - 1, insert,
               QStringLiteral("(goal < 20 ms)"));

    const double remove = bestOf(Repeats, [&] { editor.RecDelete(model.rowCount() / 2); });
    ctx.report(QStringLiteral("delete a voucher in the middle"), model.rowCount() - 1, remove,
               QStringLiteral("(goal < 20 ms)"));
    db.close();
    QFile::remove(path);
}
