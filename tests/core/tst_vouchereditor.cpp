// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSqlQuery>
#include <QTest>

#include "core/data/database.h"
#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/vouchereditor.h"
#include "core/masterdata/clientrecord.h"
#include "core/ledger/checkdate.h"
#include "ledgerfixture.h"
#include "recordingview.h"

using C = LedgerModel::Column;

class tst_VoucherEditor : public QObject, public LedgerFixture
{
    Q_OBJECT

    std::unique_ptr<RecordingView> m_view;

    void refill() { QVERIFY(showPeriod(QStringLiteral("2000-01-01"), QStringLiteral("2099-12-31"))); }
    // Types text into a cell as the grid does: the edit begins, then ends.
    void type(int row, int column, const QString &text, bool enter = false)
    {
        m_ed->editBegins(row, column);
        m_ed->setEnterPressed(enter);
        const QVariant old = m_model->data(m_model->index(row, column), Qt::EditRole);
        m_ed->editEnds(row, column, text, text != (old.isNull() ? QString() : old.toString()));
    }
    // Every saved row of the grid equals its voucher in the file.
    void verifyGridMatchesFile()
    {
        int saved = 0;
        for (int r = 0; r < m_model->rowCount(); ++r) {
            if (r == entry())
                continue;
            ++saved;
            const LedgerRow &row = m_model->row(r);
            auto q = m_l->db().exec(SqlStatement(QStringLiteral(
                                                     "SELECT maeip_date, group_name, pro_name, maeip_code, maeip_name, "
                                                     "maeip_cost, maechul_date, maechul_code, maechul_name, maechul_cost, "
                                                     "maechul_usecost FROM total WHERE total_id = :id"))
                                        .bind(QStringLiteral("id"), row.totalId));
            QVERIFY(q.ok() && q.query.next());
            for (int c = 0; c <= C::ColUsecost; ++c) {
                QVariant g = m_model->data(m_model->index(r, c), Qt::EditRole);
                QVariant f = q.query.value(c);
                QCOMPARE(g.isNull() ? QString() : g.toString(), f.isNull() ? QString() : f.toString());
            }
        }
        QCOMPARE(saved, int(m_l->count(QStringLiteral("total"))));
    }

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        openLedger();
        m_view = std::make_unique<RecordingView>();
        startEditor(*m_view);
        refill();
    }
    void cleanup() { QVERIFY2(m_prompt->scriptDone(), "a scripted answer was not used"); }

    void purchaseDateCopiesToSaleDateOnEntryRowOnly();
    void refusedDateRevertsAndIsNotCopied();
    void productInsertsVoucherWithZeroAmountsAndNewEntryRow();
    void defaultDateFollowsEveryValidDate();
    void clientBeforeProductSaysProductFirst();
    void lastSavedRowChangesWithoutQuestion();
    void olderRowAsksWithOldValueAndNoRestores();
    void confirmationShowsStoredValueOrDeletion();
    void enterOnEmptyLookupCellOpensLookupWithEmptyText();
    void choosingSupplierWritesCodeAndNameAndShowsPanel();
    void failedClientWriteKeepsTheStoredClient();
    void sameLookupResultSavesNothing();
    void amountTextAndOverflowRefused_data();
    void amountTextAndOverflowRefused();
    void amountsKeepMarginAndTotals();
    void voucherDeletedElsewhereIsReported();
    void deleteOnEntryRowAndSavedRow();
    void apostrophesStoredAsTyped();
    void lockedDatabaseRestoresTheGrid();
    void serverGoneRestoresTheCellAndComesBack();
    void panelsFollowTheActiveRow();
};

void tst_VoucherEditor::purchaseDateCopiesToSaleDateOnEntryRowOnly()
{
    type(entry(), C::ColMaeipDate, QStringLiteral("1225"));
    QCOMPARE(cell(entry(), C::ColMaeipDate), QStringLiteral("2026-12-25"));
    QCOMPARE(cell(entry(), C::ColMaechulDate), QStringLiteral("2026-12-25"));
    type(entry(), C::ColMaechulDate, QStringLiteral("20261230"));
    QCOMPARE(cell(entry(), C::ColMaechulDate), QStringLiteral("2026-12-30"));
    QCOMPARE(cell(entry(), C::ColMaeipDate), QStringLiteral("2026-12-25"));
    QCOMPARE(m_l->count(QStringLiteral("total")), 0);
    QCOMPARE(m_prompt->count(), 0);
}

void tst_VoucherEditor::refusedDateRevertsAndIsNotCopied()
{
    const QString before = cell(entry(), C::ColMaeipDate);
    m_prompt->ok();
    type(entry(), C::ColMaeipDate, QStringLiteral("2004-02-30"));
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().text, dateFormatMessage(QStringLiteral("2004-02-30")));
    QCOMPARE(cell(entry(), C::ColMaeipDate), before);
    QCOMPARE(cell(entry(), C::ColMaechulDate), before);
    QCOMPARE(m_view->active, qMakePair(entry(), int(C::ColMaeipDate)));
    QCOMPARE(m_ledger->DefaultDate(), QStringLiteral("2026-12-08"));
}

void tst_VoucherEditor::productInsertsVoucherWithZeroAmountsAndNewEntryRow()
{
    const int row = entry();
    m_lookups->groups.enqueue(QStringLiteral("가전"));
    type(row, C::ColGroup, QStringLiteral("가"));
    QCOMPARE(cell(row, C::ColGroup), QStringLiteral("가전"));
    m_lookups->products.enqueue(QStringLiteral("LG 세탁기 T-1"));
    type(row, C::ColProName, QStringLiteral("세탁"));
    QCOMPARE(m_lookups->calls.last().group, QStringLiteral("가전"));
    const qint64 id = m_model->row(row).totalId;
    QVERIFY(id > 0);
    QCOMPARE(cell(row, C::ColTotalId), QString::number(id));
    for (int c : {int(C::ColMaeipCost), int(C::ColMaechulCost), int(C::ColUsecost)})
        QCOMPARE(cell(row, c), QStringLiteral("0"));
    QCOMPARE(entry(), row + 1);
    QCOMPARE(cell(entry(), C::ColMaeipDate), QStringLiteral("2026-12-08"));
    QCOMPARE(stored(id, QStringLiteral("pro_name")).toString(), QStringLiteral("LG 세탁기 T-1"));
    QCOMPARE(stored(id, QStringLiteral("group_name")).toString(), QStringLiteral("가전"));
    QCOMPARE(stored(id, QStringLiteral("maeip_cost")).toInt(), 0);
    QCOMPARE(stored(id, QStringLiteral("maechul_date")).toString(), QStringLiteral("2026-12-08"));
    verifyGridMatchesFile();
}

void tst_VoucherEditor::defaultDateFollowsEveryValidDate()
{
    type(entry(), C::ColMaechulDate, QStringLiteral("2024-03-05"));
    m_lookups->products.enqueue(QStringLiteral("TV"));
    type(entry(), C::ColProName, QStringLiteral("TV"));
    QCOMPARE(cell(entry(), C::ColMaeipDate), QStringLiteral("2024-03-05"));
    QCOMPARE(cell(entry(), C::ColMaechulDate), QStringLiteral("2024-03-05"));
    // A date changed on a saved row moves it too.
    type(entry() - 1, C::ColMaeipDate, QStringLiteral("040229"));
    QCOMPARE(cell(entry() - 1, C::ColMaeipDate), QStringLiteral("2004-02-29"));
    QCOMPARE(m_ledger->DefaultDate(), QStringLiteral("2004-02-29"));
    verifyGridMatchesFile();
}

void tst_VoucherEditor::clientBeforeProductSaysProductFirst()
{
    m_l->addClient(0, 7, QStringLiteral("서울상회"));
    m_lookups->clients.enqueue({ClientCode(7), QStringLiteral("서울상회")});
    m_prompt->ok();
    type(entry(), C::ColMaeipName, QStringLiteral("서울"));
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().text, QStringLiteral("상품명을 먼저 입력하세요."));
    QCOMPARE(m_view->active, qMakePair(entry(), int(C::ColProName)));
    QCOMPARE(cell(entry(), C::ColMaeipName), QString());
    QCOMPARE(cell(entry(), C::ColMaeipCode), QString());
    QCOMPARE(m_view->panel[0], QString());
    QCOMPARE(m_l->count(QStringLiteral("total")), 0);
    // An amount too.
    m_prompt->ok();
    type(entry(), C::ColMaeipCost, QStringLiteral("5000"));
    QCOMPARE(m_prompt->count(), 2);
    QCOMPARE(m_prompt->last().text, QStringLiteral("상품명을 먼저 입력하세요."));
    QCOMPARE(cell(entry(), C::ColMaeipCost), QString());
}

void tst_VoucherEditor::lastSavedRowChangesWithoutQuestion()
{
    m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    m_l->addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("B"), 200, QStringLiteral("2026-12-02")));
    refill();
    type(1, C::ColMaeipCost, QStringLiteral("80,000"));
    QCOMPARE(m_prompt->count(), 0);
    QCOMPARE(stored(m_model->row(1).totalId, QStringLiteral("maeip_cost")).toLongLong(), 80000);
    QCOMPARE(cell(1, C::ColMaeipCost), QStringLiteral("80,000"));
    verifyGridMatchesFile();
}

void tst_VoucherEditor::olderRowAsksWithOldValueAndNoRestores()
{
    m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    m_l->addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("B"), 200, QStringLiteral("2026-12-02")));
    refill();
    m_prompt->no();
    type(0, C::ColMaeipCost, QStringLiteral("999"));
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().lines(), QStringLiteral("정말 수정하시겠습니까?\n이전 데이터: 100"));
    QCOMPARE(m_prompt->last().defaultButton, UserPrompt::Answer::Yes);
    QCOMPARE(m_prompt->last().title, QString());
    QCOMPARE(m_view->highlighted, qMakePair(0, int(C::ColMaeipCost)));
    QVERIFY(!m_view->highlightOn);
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("100"));
    QCOMPARE(stored(m_model->row(0).totalId, QStringLiteral("maeip_cost")).toInt(), 100);
    m_prompt->yes();
    type(0, C::ColMaeipCost, QStringLiteral("999"));
    QCOMPARE(stored(m_model->row(0).totalId, QStringLiteral("maeip_cost")).toInt(), 999);
    verifyGridMatchesFile();
}

// Another PC changed or deleted the voucher after the grid was filled.
void tst_VoucherEditor::confirmationShowsStoredValueOrDeletion()
{
    const qint64 a = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    m_l->addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("B"), 200, QStringLiteral("2026-12-02")));
    refill();
    Database other;
    QVERIFY(other.open(m_l->settings()));
    QVERIFY_SQL(other.exec(SqlStatement(QStringLiteral("UPDATE total SET maeip_cost = 150, pro_name = 'A2' WHERE total_id = :id"))
                               .bind(QStringLiteral("id"), a)));
    m_prompt->no();
    type(0, C::ColMaeipCost, QStringLiteral("999"));
    QCOMPARE(m_prompt->last().lines(), QStringLiteral("정말 수정하시겠습니까?\n이전 데이터: 150"));
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("150"));
    QCOMPARE(stored(a, QStringLiteral("maeip_cost")).toInt(), 150);
    m_prompt->no();
    type(0, C::ColProName, QStringLiteral("Z"));
    QCOMPARE(m_prompt->last().lines(), QStringLiteral("정말 수정하시겠습니까?\n이전 데이터: A2"));

    QVERIFY_SQL(other.exec(SqlStatement(QStringLiteral("DELETE FROM total WHERE total_id = :id")).bind(QStringLiteral("id"), a)));
    const int asked = m_prompt->count();
    m_prompt->ok();
    type(0, C::ColMaeipCost, QStringLiteral("999"));
    QCOMPARE(m_prompt->count(), asked + 1);
    QCOMPARE(m_prompt->last().text, QStringLiteral("이 전표는 다른 PC에서 삭제되었습니다. 수정한 내용은 저장하지 않습니다."));
    QCOMPARE(m_prompt->last().icon, UserPrompt::Icon::Warning);
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("150"));
    QCOMPARE(m_l->count(QStringLiteral("total")), Q_INT64_C(1));
}

void tst_VoucherEditor::enterOnEmptyLookupCellOpensLookupWithEmptyText()
{
    for (int c : {int(C::ColGroup), int(C::ColProName)}) {
        m_lookups->calls.clear();
        type(entry(), c, QString(), true);
        QCOMPARE(m_lookups->calls.size(), 1);
        QCOMPARE(m_lookups->calls.last().text, QString());
    }
    // Without Enter, leaving an untouched empty cell looks nothing up.
    m_lookups->calls.clear();
    type(entry(), C::ColGroup, QString(), false);
    QCOMPARE(m_lookups->calls.size(), 0);
}

void tst_VoucherEditor::choosingSupplierWritesCodeAndNameAndShowsPanel()
{
    m_l->addClient(0, 41, QStringLiteral("O'Neil상사"), QStringLiteral("02-123-4567"));
    m_l->addClient(1, 3, QStringLiteral("김철수"));
    const qint64 id = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    refill();
    m_lookups->clients.enqueue({ClientCode(41), QStringLiteral("O'Neil상사")});
    type(0, C::ColMaeipName, QStringLiteral("neil"));
    QCOMPARE(m_lookups->calls.last().mode, 0);
    QCOMPARE(cell(0, C::ColMaeipCode), QStringLiteral("41"));
    QCOMPARE(cell(0, C::ColMaeipName), QStringLiteral("O'Neil상사"));
    QCOMPARE(stored(id, QStringLiteral("maeip_code")).toInt(), 41);
    QCOMPARE(stored(id, QStringLiteral("maeip_name")).toString(), QStringLiteral("O'Neil상사"));
    QCOMPARE(m_view->panel[0], QStringLiteral("O'Neil상사"));
    m_lookups->clients.enqueue({ClientCode(3), QStringLiteral("김철수")});
    type(0, C::ColMaechulName, QStringLiteral("철수"));
    QCOMPARE(stored(id, QStringLiteral("maechul_code")).toInt(), 3);
    QCOMPARE(m_view->panel[1], QStringLiteral("김철수"));
    // Nothing chosen: the old name and code stay.
    type(0, C::ColMaechulName, QStringLiteral("없는이름"));
    QCOMPARE(cell(0, C::ColMaechulName), QStringLiteral("김철수"));
    QCOMPARE(cell(0, C::ColMaechulCode), QStringLiteral("3"));
    // An edit window closed without saving gives code 0: nothing is written either.
    m_lookups->clients.enqueue({ClientCode(0), QString()});
    type(0, C::ColMaechulName, QStringLiteral("새손님"));
    QCOMPARE(stored(id, QStringLiteral("maechul_code")).toInt(), 3);
    verifyGridMatchesFile();
}

// The write of a chosen client fails: the cell, its code and the panel keep the stored client.
void tst_VoucherEditor::failedClientWriteKeepsTheStoredClient()
{
    m_l->addClient(1, 3, QStringLiteral("김철수"));
    m_l->addClient(1, 4, QStringLiteral("박영희"));
    LedgerRow v = voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01"));
    v.maechulCode = ClientCode(3);
    v.maechulName = QStringLiteral("김철수");
    const qint64 id = m_l->addVoucher(v);
    refill();
    m_ed->activeRowChanged(-1, 0);
    m_l->exec(SqlStatement(QStringLiteral("DELETE FROM total WHERE total_id = :id")).bind(QStringLiteral("id"), id));
    m_lookups->clients.enqueue({ClientCode(4), QStringLiteral("박영희")});
    m_prompt->ok();
    type(0, C::ColMaechulName, QStringLiteral("영희"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("전표코드[%1]에 해당하는 자료를 찾을 수 없습니다.").arg(id));
    QCOMPARE(cell(0, C::ColMaechulName), QStringLiteral("김철수"));
    QCOMPARE(cell(0, C::ColMaechulCode), QStringLiteral("3"));
    QCOMPARE(m_view->panel[1], QStringLiteral("김철수"));
}

void tst_VoucherEditor::sameLookupResultSavesNothing()
{
    const qint64 id = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100,
                                              QStringLiteral("2026-12-01"), 0, 0, QStringLiteral("가전")));
    refill();
    m_l->exec(SqlStatement(QStringLiteral("UPDATE total SET group_name = '주방' WHERE total_id = :id")).bind(QStringLiteral("id"), id));
    m_lookups->groups.enqueue(QStringLiteral("가전"));
    type(0, C::ColGroup, QStringLiteral("가"));
    // Nothing was written: the file keeps what another program put there.
    QCOMPARE(stored(id, QStringLiteral("group_name")).toString(), QStringLiteral("주방"));
    QCOMPARE(cell(0, C::ColGroup), QStringLiteral("가전"));
}

void tst_VoucherEditor::amountTextAndOverflowRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("text") << QStringLiteral("만원");
    QTest::newRow("13 digits") << QStringLiteral("1234567890123");
    QTest::newRow("fraction") << QStringLiteral("12.5");
}

void tst_VoucherEditor::amountTextAndOverflowRefused()
{
    QFETCH(QString, typed);
    const qint64 id = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    refill();
    m_prompt->ok();
    type(0, C::ColMaechulCost, typed);
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().title, QStringLiteral("오류"));
    QVERIFY(m_prompt->last().lines().startsWith(QStringLiteral("자료를 수정하는 중 오류가 발생했습니다.\n오류번호 : ")));
    QCOMPARE(cell(0, C::ColMaechulCost), QStringLiteral("0"));
    QCOMPARE(stored(id, QStringLiteral("maechul_cost")).toInt(), 0);
    verifyGridMatchesFile();
}

void tst_VoucherEditor::amountsKeepMarginAndTotals()
{
    m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 80000, QStringLiteral("2026-12-01")));
    refill();
    type(0, C::ColMaechulCost, QStringLiteral("100000"));
    type(0, C::ColUsecost, QStringLiteral("5000"));
    QCOMPARE(cell(0, C::ColMargin), QStringLiteral("15,000"));
    QCOMPARE(m_model->totals().margin, 15000);
    QCOMPARE(m_model->totals().maechulCost, 100000);
    type(0, C::ColMaechulCost, QString());
    QCOMPARE(cell(0, C::ColMargin), QStringLiteral("0"));
    QCOMPARE(m_model->totals().margin, 0);
    verifyGridMatchesFile();
}

void tst_VoucherEditor::voucherDeletedElsewhereIsReported()
{
    const qint64 id = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    refill();
    m_l->exec(SqlStatement(QStringLiteral("DELETE FROM total")));
    m_prompt->ok();
    type(0, C::ColMaeipCost, QStringLiteral("5"));
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().text, QStringLiteral("전표코드[%1]에 해당하는 자료를 찾을 수 없습니다.").arg(id));
    QCOMPARE(m_prompt->last().icon, UserPrompt::Icon::Warning);
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("100"));
}

void tst_VoucherEditor::deleteOnEntryRowAndSavedRow()
{
    m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01"), 300));
    m_l->addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("B"), 200, QStringLiteral("2026-12-02"), 500));
    refill();
    m_prompt->ok();
    m_ed->RecDelete(entry());
    QCOMPARE(m_prompt->last().text, QStringLiteral("삭제할 전표자료를 선택하세요."));
    m_prompt->no();
    m_ed->RecDelete(0);
    QCOMPARE(m_prompt->last().title, QStringLiteral("전표 삭제"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("선택된 전표자료를 정말로 삭제 하시겠습니까?\r\n품명: A, 판매일자: 2026-12-01"));
    QCOMPARE(m_prompt->last().defaultButton, UserPrompt::Answer::Yes);
    QCOMPARE(m_l->count(QStringLiteral("total")), 2);
    QVERIFY(!m_view->rowMode);
    m_prompt->yes();
    m_ed->RecDelete(0);
    QCOMPARE(m_l->count(QStringLiteral("total")), 1);
    QCOMPARE(m_model->rowCount(), 2);
    QCOMPARE(m_model->row(0).proName, QStringLiteral("B"));
    QCOMPARE(m_view->floats, QStringList{QStringLiteral("자료를 삭제하였습니다.")});
    QCOMPARE(m_model->totals().maechulCost, 500);
    QCOMPARE(m_model->totals().margin, 300);
    // An unsold voucher is named by its purchase date.
    type(0, C::ColMaechulDate, QString());
    m_prompt->no();
    m_ed->RecDelete(0);
    QCOMPARE(m_prompt->last().text, QStringLiteral("선택된 전표자료를 정말로 삭제 하시겠습니까?\r\n품명: B, 매입일자: 2026-12-02"));
    verifyGridMatchesFile();
}

void tst_VoucherEditor::apostrophesStoredAsTyped()
{
    m_lookups->groups.enqueue(QStringLiteral("O'K"));
    type(entry(), C::ColGroup, QStringLiteral("O'K"));
    m_lookups->products.enqueue(QStringLiteral("'; DROP TABLE total; --"));
    type(entry(), C::ColProName, QStringLiteral("x"));
    QCOMPARE(m_l->count(QStringLiteral("total")), 1);
    const qint64 id = m_model->row(0).totalId;
    QCOMPARE(stored(id, QStringLiteral("pro_name")).toString(), QStringLiteral("'; DROP TABLE total; --"));
    QCOMPARE(stored(id, QStringLiteral("group_name")).toString(), QStringLiteral("O'K"));
}

void tst_VoucherEditor::lockedDatabaseRestoresTheGrid()
{
    if (TestEngine::isServer())
        QSKIP("SQLite's file lock; the server's row lock is not simulated here yet.");
    const qint64 id = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    refill();
    Database other;
    QVERIFY(other.open(m_l->path()));
    QVERIFY(other.exec(SqlStatement(QStringLiteral("BEGIN EXCLUSIVE"))).ok());
    // Update: the select already meets the lock and says so in its box.
    m_prompt->ok();
    type(0, C::ColMaeipCost, QStringLiteral("5"));
    QCOMPARE(m_prompt->last().title, QStringLiteral("MDB 오류"));
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("100"));
    // Insert: the engine's text in the run-time error box; the row stays the entry row.
    m_lookups->products.enqueue(QStringLiteral("TV"));
    const int before = m_model->rowCount();
    m_prompt->ok();
    type(entry(), C::ColProName, QStringLiteral("TV"));
    QVERIFY(m_prompt->last().text.contains(QStringLiteral("in procedure RecAddNew of Form frmMain")));
    QVERIFY(m_prompt->last().text.contains(QStringLiteral("locked")));
    QCOMPARE(m_model->rowCount(), before);
    QCOMPARE(cell(entry(), C::ColProName), QString());
    // Delete.
    m_prompt->yes().ok();
    m_ed->RecDelete(0);
    QVERIFY(m_prompt->last().text.contains(QStringLiteral("in procedure RecDelete_Sub of Form frmMain")));
    QCOMPARE(m_model->rowCount(), before);
    QVERIFY(other.exec(SqlStatement(QStringLiteral("ROLLBACK"))).ok());
    QCOMPARE(stored(id, QStringLiteral("maeip_cost")).toInt(), 100);
    verifyGridMatchesFile();
}

void tst_VoucherEditor::serverGoneRestoresTheCellAndComesBack()
{
    if (!TestEngine::isServer())
        QSKIP("a file does not go away under an open ledger");
    const qint64 id = m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 100, QStringLiteral("2026-12-01")));
    refill();
    Database::Result pid = m_l->exec(SqlStatement(QStringLiteral("SELECT pg_backend_pid()")));
    QVERIFY(pid.query.next());
    Database admin;
    QVERIFY(admin.open(m_l->settings()));
    QVERIFY(admin.exec(SqlStatement(QStringLiteral("SELECT pg_terminate_backend(:pid)"))
                           .bind(QStringLiteral("pid"), pid.query.value(0)))
                .ok());
    // The edit that meets the lost connection says so in the 91 box; the cell keeps what is stored.
    m_prompt->ok();
    type(0, C::ColMaeipCost, QStringLiteral("5"));
    QCOMPARE(m_prompt->last().title, QStringLiteral("MDB 오류"));
    QVERIFY(m_prompt->last().text.startsWith(QStringLiteral("Data Base MDB가 선언되지 않았습니다.")));
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("100"));
    // The next edit finds the server again.
    type(0, C::ColMaeipCost, QStringLiteral("5"));
    QCOMPARE(stored(id, QStringLiteral("maeip_cost")).toInt(), 5);
    verifyGridMatchesFile();
}

void tst_VoucherEditor::panelsFollowTheActiveRow()
{
    m_l->addClient(0, 5, QStringLiteral("대한전자"));
    m_l->addClient(1, 9, QStringLiteral("박영희"));
    LedgerRow a = voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 1, QStringLiteral("2026-12-01"));
    a.maeipCode = ClientCode(5);
    a.maechulCode = ClientCode(9);
    m_l->addVoucher(a);
    m_l->addVoucher(voucher(QStringLiteral("2026-12-02"), QStringLiteral("B"), 1, QStringLiteral("2026-12-02")));
    refill();
    m_ed->activeRowChanged(-1, 0);
    QCOMPARE(m_view->panel[0], QStringLiteral("대한전자"));
    QCOMPARE(m_view->panelCode[1], 9);
    // A row without clients leaves the panels as they are.
    m_ed->activeRowChanged(0, 1);
    QCOMPARE(m_view->panel[0], QStringLiteral("대한전자"));
    QCOMPARE(m_view->panel[1], QStringLiteral("박영희"));
}

QTEST_GUILESS_MAIN(tst_VoucherEditor)
#include "tst_vouchereditor.moc"
