// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

#include "core/ledger/ledger.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/vouchereditor.h"
#include "gui/ledger/ledgergrid.h"
#include "gui/ui/spreadhelpers.h"
#include "gui/ui/typingeditor.h"
#include "keyboard.h"
#include "ledgerfixture.h"
#include "recordingview.h"

using C = LedgerModel::Column;

namespace {
// Records like the core tests' view and moves the real grid's cursor as well.
class GridView final : public RecordingView
{
public:
    explicit GridView(LedgerGrid &g) : grid(g) {}
    void setActiveCell(int row, int column) override
    {
        RecordingView::setActiveCell(row, column);
        grid.noteActiveCellSet();
        grid.setCurrentIndex(grid.model()->index(row, column));
    }
    void focusGrid() override
    {
        RecordingView::focusGrid();
        grid.setFocus();
    }
    void setConfirmHighlight(int row, int column, bool on) override
    {
        RecordingView::setConfirmHighlight(row, column, on);
        grid.setConfirmCell(grid.model()->index(row, column), on);
    }
    void setRowMode(bool on) override
    {
        RecordingView::setRowMode(on);
        grid.setRowMode(on);
    }
    LedgerGrid &grid;
};
} // namespace

// The editing feel of the ledger grid, over the real voucher logic and a real ledger file.
class tst_LedgerEditing : public QObject, public LedgerFixture
{
    Q_OBJECT

    std::unique_ptr<LedgerGrid> m_grid;
    std::unique_ptr<GridView> m_view;

    void go(int row, int column)
    {
        m_grid->setCurrentIndex(m_model->index(row, column));
        m_grid->setFocus();
    }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void init()
    {
        openLedger();
        m_l->addVoucher(voucher(QStringLiteral("2026-12-01"), QStringLiteral("A"), 80000, QStringLiteral("2026-12-01"), 100000, 5000));
        m_grid = std::make_unique<LedgerGrid>();
        m_grid->setModel(m_model.get());
        for (int c = 0; c < LedgerModel::ColumnCount; ++c)
            m_grid->setColumnHidden(c, LedgerModel::isHiddenColumn(c));
        for (int c : {int(C::ColMaeipCost), int(C::ColMaechulCost), int(C::ColUsecost)})
            SetNumberCol(m_grid.get(), c, -LedgerModel::AmountLimit, LedgerModel::AmountLimit);
        m_view = std::make_unique<GridView>(*m_grid);
        startEditor(*m_view);
        m_grid->setVoucherEditor(m_ed.get());
        QVERIFY(showPeriod(QStringLiteral("2026-01-01"), QStringLiteral("2026-12-31")));
        m_grid->resize(1200, 400);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        QApplication::setActiveWindow(m_grid.get());
    }
    void cleanup()
    {
        m_grid.reset();
        QVERIFY(m_prompt->scriptDone());
    }

    void typingReplacesAndEnterMovesToNextEditableCell();
    void enterOnLastCellMovesToNextRow();
    void escapeCancels();
    void hangulThroughInputMethodArrivesWhole();
    void leavingACellKeepsTheSyllableUnderWay_data();
    void leavingACellKeepsTheSyllableUnderWay();
    void keyOpensEmptiedEditorBeforeInputMethod();
    void thirteenDigitsRefusedWithErrorBox();
    void f4DeletesAfterQuestion();
    void f4WhileTypingFinishesTheEditFirst();
};

void tst_LedgerEditing::typingReplacesAndEnterMovesToNextEditableCell()
{
    go(0, C::ColMaeipCost);
    typeText(QStringLiteral("90,000"));
    QTRY_VERIFY(m_grid->isEditing());
    press(Qt::Key_Return);
    QTRY_COMPARE(cell(0, C::ColMaeipCost), QStringLiteral("90,000"));
    QCOMPARE(m_prompt->count(), 0);
    // The hidden code column is skipped: 매입금액 → 판매일자.
    QTRY_COMPARE(m_grid->currentIndex(), m_model->index(0, C::ColMaechulDate));
    QCOMPARE(cell(0, C::ColMargin), QStringLiteral("5,000"));
    auto r = m_l->db().exec(SqlStatement(QStringLiteral("SELECT maeip_cost FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 90000);
}

void tst_LedgerEditing::enterOnLastCellMovesToNextRow()
{
    go(0, C::ColUsecost);
    typeText(QStringLiteral("7000"));
    press(Qt::Key_Return);
    QTRY_COMPARE(m_grid->currentIndex(), m_model->index(1, C::ColMaeipDate));
    QCOMPARE(cell(0, C::ColUsecost), QStringLiteral("7,000"));
}

void tst_LedgerEditing::escapeCancels()
{
    go(0, C::ColMaeipCost);
    typeText(QStringLiteral("1"));
    QTRY_VERIFY(m_grid->isEditing());
    press(Qt::Key_Escape);
    QTRY_VERIFY(!m_grid->isEditing());
    QTest::qWait(20);
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("80,000"));
    QCOMPARE(m_grid->currentIndex(), m_model->index(0, C::ColMaeipCost));
}

void tst_LedgerEditing::hangulThroughInputMethodArrivesWhole()
{
    m_lookups->products.enqueue(QStringLiteral("한글상품"));
    go(0, C::ColProName);
    {
        // The first syllable is still being composed when it starts the edit.
        QInputMethodEvent composing(QStringLiteral("한"), {});
        QApplication::sendEvent(m_grid.get(), &composing);
    }
    QTRY_VERIFY(m_grid->isEditing());
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    for (const QString &syllable : {QStringLiteral("한"), QStringLiteral("글")}) {
        QInputMethodEvent commit;
        commit.setCommitString(syllable);
        QApplication::sendEvent(editor, &commit);
    }
    QCOMPARE(editor->text(), QStringLiteral("한글"));
    press(Qt::Key_Return);
    QTRY_COMPARE(m_lookups->calls.size(), 1);
    QCOMPARE(m_lookups->calls.last().text, QStringLiteral("한글"));
    QTRY_COMPARE(cell(0, C::ColProName), QStringLiteral("한글상품"));
}

void tst_LedgerEditing::leavingACellKeepsTheSyllableUnderWay_data()
{
    QTest::addColumn<bool>("click");
    QTest::newRow("a click on another cell") << true;
    QTest::newRow("a command (finishEdit)") << false;
}

void tst_LedgerEditing::leavingACellKeepsTheSyllableUnderWay()
{
    // 한 committed, 글 still being composed when the editor closes: the cell takes 한글, as shown,
    // and a late commit of 글 by the input method does not start a new edit.
    QFETCH(bool, click);
    m_lookups->products.enqueue(QStringLiteral("한글"));
    go(0, C::ColProName);
    press(Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->clear();
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("한"));
    QApplication::sendEvent(editor, &committed);
    QInputMethodEvent composing(QStringLiteral("글"), {});
    QApplication::sendEvent(editor, &composing);
    if (click)
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          m_grid->visualRect(m_model->index(0, C::ColMaeipCost)).center());
    else
        QVERIFY(m_grid->finishEdit());
    QTRY_COMPARE(m_lookups->calls.size(), 1);
    QCOMPARE(m_lookups->calls.last().text, QStringLiteral("한글"));
    QTRY_COMPARE(cell(0, C::ColProName), QStringLiteral("한글"));
    QInputMethodEvent late;
    late.setCommitString(QStringLiteral("글"));
    QApplication::sendEvent(m_grid.get(), &late);
    QVERIFY(!m_grid->isEditing());
}

void tst_LedgerEditing::keyOpensEmptiedEditorBeforeInputMethod()
{
    go(0, C::ColProName);
    QVERIFY(openEditorForTyping(m_grid.get()));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString());
    QVERIFY(!openEditorForTyping(m_grid.get())); // already editing
    press(Qt::Key_Escape);
    QTRY_VERIFY(!m_grid->isEditing());
    QCOMPARE(cell(0, C::ColProName), QStringLiteral("A"));
}

void tst_LedgerEditing::thirteenDigitsRefusedWithErrorBox()
{
    go(0, C::ColMaechulCost);
    m_prompt->ok();
    typeText(QStringLiteral("1234567890123"));
    press(Qt::Key_Return);
    QTRY_COMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().title, QStringLiteral("오류"));
    QCOMPARE(cell(0, C::ColMaechulCost), QStringLiteral("100,000"));
}

void tst_LedgerEditing::f4DeletesAfterQuestion()
{
    go(1, C::ColGroup);
    m_prompt->ok();
    press(Qt::Key_F4);
    QCOMPARE(m_prompt->last().text, QStringLiteral("삭제할 전표자료를 선택하세요."));
    go(0, C::ColGroup);
    m_prompt->yes();
    press(Qt::Key_F4);
    QCOMPARE(m_prompt->last().title, QStringLiteral("전표 삭제"));
    QCOMPARE(m_model->rowCount(), 1);
    QCOMPARE(m_l->count(QStringLiteral("total")), 0);
    QCOMPARE(m_view->floats, QStringList{QStringLiteral("자료를 삭제하였습니다.")});
    QCOMPARE(m_model->totals().maeipCost, 0);
}

void tst_LedgerEditing::f4WhileTypingFinishesTheEditFirst()
{
    go(0, C::ColMaeipCost);
    typeText(QStringLiteral("90000"));
    QVERIFY(m_grid->isEditing());
    m_prompt->no();
    press(Qt::Key_F4);
    QCOMPARE(m_prompt->count(), 1);
    QCOMPARE(m_prompt->last().title, QStringLiteral("전표 삭제"));
    QVERIFY(!m_grid->isEditing());
    QCOMPARE(cell(0, C::ColMaeipCost), QStringLiteral("90,000"));
    auto r = m_l->db().exec(SqlStatement(QStringLiteral("SELECT maeip_cost FROM total")));
    QVERIFY(r.query.next());
    QCOMPARE(r.query.value(0).toLongLong(), 90000);
    // On the entry row the amount is refused first; then there is no voucher to delete.
    go(1, C::ColMaeipCost);
    typeText(QStringLiteral("5000"));
    m_prompt->ok().ok();
    press(Qt::Key_F4);
    QCOMPARE(m_prompt->count(), 3);
    QCOMPARE(m_prompt->asked.at(1).text, QStringLiteral("상품명을 먼저 입력하세요."));
    QCOMPARE(m_prompt->asked.at(2).text, QStringLiteral("삭제할 전표자료를 선택하세요."));
    QCOMPARE(cell(1, C::ColMaeipCost), QString());
}

QTEST_MAIN(tst_LedgerEditing)
#include "tst_ledgerediting.moc"
