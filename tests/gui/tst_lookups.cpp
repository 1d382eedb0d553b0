// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "admitlogin.h"
#include "core/data/database.h"
#include "core/masterdata/texttablemodel.h"
#include "core/shell/appsettings.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "gui/ledger/ledgergrid.h"
#include "gui/masterdata/frmclient_sel.h"
#include "gui/masterdata/frmclient_write.h"
#include "gui/masterdata/frmgroup_sel.h"
#include "gui/masterdata/frmproduct_sel.h"
#include "gui/masterdata/seldata.h"
#include "modalwatch.h"
#include "scriptedprompt.h"
#include "templedger.h"

using Answer = UserPrompt::Answer;

namespace {

void addNames(TempLedger &l, const QString &table, const QStringList &names)
{
    for (const QString &n : names) {
        SqlStatement st(QStringLiteral("INSERT INTO %1 (name) VALUES (:n)").arg(table));
        st.bind(QStringLiteral("n"), n);
        l.exec(st);
    }
}

// Picks row (0-based) of a search window and presses 선택.
template<typename W>
std::function<void(W *)> choose(int row)
{
    return [row](W *w) {
        w->spList->setCurrentIndex(w->model().index(row, 0));
        w->cmdSel->click();
    };
}

template<typename W>
std::function<void(W *)> closeWindow()
{
    return [](W *w) { w->cmdClose->click(); };
}

} // namespace

class TestLookups final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void groupOneMatch();
    void groupSeveral();
    void groupNone_data();
    void groupNone();
    void groupNoneEmptyText();
    void productOneMatch();
    void productEmptyTextOneInGroup();
    void productNone();
    void productNoneEmptyText();
    void clientOneMatch();
    void clientEmptyText();
    void clientSeveral();
    void clientNoneRegister();
    void clientNoneEditClosed();
    void clientNoneDeclined();
    void clientNoneNoAsk();
    void placedBelowAnchor_data();
    void placedBelowAnchor();
    void placedAtEditedCell();

private:
    std::unique_ptr<TempLedger> m_ledger;
    ScriptedPrompt m_prompt;
    std::unique_ptr<QWidget> m_main;
    QLineEdit *m_anchor = nullptr;
    std::unique_ptr<SelData> m_sel;
};

void TestLookups::initTestCase()
{
    INIT_LEDGER_TEST();
}

void TestLookups::init()
{
    m_prompt.clear();
    m_prompt.strictOk = false;
    m_sel.reset();
    m_main = std::make_unique<QWidget>();
    m_main->setGeometry(40, 40, 500, 200);
    m_anchor = new QLineEdit(m_main.get());
    m_anchor->setGeometry(30, 20, 120, 24);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    m_ledger = std::make_unique<TempLedger>();
    m_sel = std::make_unique<SelData>(m_ledger->db(), m_prompt, QString(), m_main.get());
}

void TestLookups::groupOneMatch()
{
    addNames(*m_ledger, QStringLiteral("group_name"), {QStringLiteral("가전"), QStringLiteral("사무")});
    m_prompt.strictOk = true;
    ModalWatch<FrmGroup_sel> watch(closeWindow<FrmGroup_sel>());
    QCOMPARE(m_sel->SelGroup(QStringLiteral("가"), m_anchor, FormRules::AlignLeft, true), QStringLiteral("가전"));
    QVERIFY(!watch.shown());
    QCOMPARE(m_prompt.count(), 0);
}

void TestLookups::groupSeveral()
{
    addNames(*m_ledger, QStringLiteral("group_name"), {QStringLiteral("가전"), QStringLiteral("사무"), QStringLiteral("주방")});
    {
        ModalWatch<FrmGroup_sel> watch(choose<FrmGroup_sel>(1));
        QCOMPARE(m_sel->SelGroup(QString(), m_anchor, FormRules::AlignLeft, true), QStringLiteral("사무"));
        QVERIFY(watch.shown());
    }
    {
        ModalWatch<FrmGroup_sel> watch(closeWindow<FrmGroup_sel>());
        QCOMPARE(m_sel->SelGroup(QStringLiteral("가전"), m_anchor, FormRules::AlignLeft, true), QStringLiteral("가전"));
        QVERIFY(!watch.shown());
        QCOMPARE(m_sel->SelGroup(QString(), m_anchor, FormRules::AlignLeft, true), QString());
        QVERIFY(watch.shown());
    }
    QCOMPARE(m_prompt.count(), 0);
}

void TestLookups::groupNone_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestLookups::groupNone()
{
    QFETCH(bool, yes);
    addNames(*m_ledger, QStringLiteral("group_name"), {QStringLiteral("가전")});
    m_prompt.answer(yes ? Answer::Yes : Answer::No);
    ModalWatch<FrmGroup_sel> watch(closeWindow<FrmGroup_sel>());
    QCOMPARE(m_sel->SelGroup(QStringLiteral("공구"), m_anchor, FormRules::AlignLeft, true), yes ? QStringLiteral("공구") : QString());
    QVERIFY(!watch.shown());
    QCOMPARE(m_prompt.count(), 1);
    const auto &q = m_prompt.last();
    QCOMPARE(q.lines(), QStringLiteral("검색한 그룹이 등록되어 있지 않습니다.\n신규 등록하겠습니까?"));
    QCOMPARE(q.title, QStringLiteral("그룹 검색"));
    QCOMPARE(q.icon, UserPrompt::Icon::Question);
    QCOMPARE(q.buttons, UserPrompt::Buttons::YesNo);
    QCOMPARE(q.defaultButton, Answer::No);
    QCOMPARE(m_ledger->count(QStringLiteral("group_name")), yes ? 2 : 1);

    // Without ask: the first line alone, as information.
    m_prompt.clear();
    QCOMPARE(m_sel->SelGroup(QStringLiteral("없는그룹"), m_anchor, FormRules::AlignLeft, false), QString());
    QCOMPARE(m_prompt.count(), 1);
    QCOMPARE(m_prompt.last().text, QStringLiteral("검색한 그룹이 등록되어 있지 않습니다."));
    QCOMPARE(m_prompt.last().icon, UserPrompt::Icon::Information);
    QCOMPARE(m_prompt.last().title, QStringLiteral("그룹 검색"));
}

void TestLookups::groupNoneEmptyText()
{
    m_prompt.yes().input(QString());
    QCOMPARE(m_sel->SelGroup(QString(), m_anchor, FormRules::AlignLeft, true), QString());
    QCOMPARE(m_prompt.asked[0].lines(), QStringLiteral("등록된 그룹이 없습니다.\n신규 등록하겠습니까?"));
    QCOMPARE(m_prompt.asked[1].text, QStringLiteral("신규등록 할 그룹명을 입력하세요."));
    QCOMPARE(m_ledger->count(QStringLiteral("group_name")), 0); // an empty group is never stored

    m_prompt.clear();
    m_prompt.yes().input(QStringLiteral("공구"));
    QCOMPARE(m_sel->SelGroup(QString(), m_anchor, FormRules::AlignLeft, true), QStringLiteral("공구"));
    QCOMPARE(m_ledger->count(QStringLiteral("group_name")), 1);

    m_prompt.clear();
    QCOMPARE(m_sel->SelGroup(QStringLiteral("x"), m_anchor, FormRules::AlignLeft, false), QString());
    m_ledger->exec(SqlStatement(QStringLiteral("DELETE FROM group_name")));
    QCOMPARE(m_sel->SelGroup(QString(), m_anchor, FormRules::AlignLeft, false), QString());
    QCOMPARE(m_prompt.last().text, QStringLiteral("등록된 그룹이 없습니다."));
}

void TestLookups::productOneMatch()
{
    addNames(*m_ledger, QStringLiteral("product"), {QStringLiteral("볼펜"), QStringLiteral("공책")});
    m_prompt.strictOk = true;
    QString text = QStringLiteral("볼");
    {
        ModalWatch<FrmProduct_sel> watch(closeWindow<FrmProduct_sel>());
        QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, true, QStringLiteral("사무")), QStringLiteral("볼펜"));
        QVERIFY(!watch.shown());
        QCOMPARE(text, QStringLiteral("볼"));
    }
    // Several: the window.
    ModalWatch<FrmProduct_sel> several(choose<FrmProduct_sel>(0));
    text.clear();
    QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, true, QString()), QStringLiteral("공책"));
    QVERIFY(several.shown());
}

void TestLookups::productEmptyTextOneInGroup()
{
    addNames(*m_ledger, QStringLiteral("product"), {QStringLiteral("볼펜"), QStringLiteral("드라이버")});
    m_ledger->addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("드라이버"), 100, {}, 0, 0, QStringLiteral("공구")));
    QStringList listed;
    ModalWatch<FrmProduct_sel> watch([&listed](FrmProduct_sel *w) {
        for (const QStringList &r : w->model().rows())
            listed << r.first();
        w->cmdClose->click();
    });
    QString text;
    QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, true, QStringLiteral("공구")), QStringLiteral("드라이버"));
    QVERIFY(watch.shown());
    QCOMPARE(listed, QStringList{QStringLiteral("드라이버")});
    QCOMPARE(m_prompt.count(), 0);
}

void TestLookups::productNone()
{
    addNames(*m_ledger, QStringLiteral("product"), {QStringLiteral("볼펜")});
    QString text = QStringLiteral("O'Neil 100%");
    m_prompt.yes();
    QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, true, QString()), QStringLiteral("O'Neil 100%"));
    QCOMPARE(m_prompt.last().lines(), QStringLiteral("검색한 상품이 등록되어 있지 않습니다.\n신규 등록하겠습니까?"));
    QCOMPARE(m_prompt.last().title, QStringLiteral("상품 검색"));
    QCOMPARE(m_prompt.last().defaultButton, Answer::No);
    QCOMPARE(m_ledger->count(QStringLiteral("product")), 2);

    text = QStringLiteral("새상품");
    m_prompt.no();
    QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, true, QString()), QString());
    QCOMPARE(m_ledger->count(QStringLiteral("product")), 2);

    m_prompt.clear();
    QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, false, QString()), QString());
    QCOMPARE(m_prompt.count(), 1);
    QCOMPARE(m_prompt.last().text, QStringLiteral("검색한 상품이 등록되어 있지 않습니다."));
    QCOMPARE(m_prompt.last().icon, UserPrompt::Icon::Information);
}

void TestLookups::productNoneEmptyText()
{
    QString text;
    m_prompt.yes().input(QStringLiteral("스팀청소기"));
    QCOMPARE(m_sel->SelProduct(text, m_anchor, FormRules::AlignLeft, true, QString()), QStringLiteral("스팀청소기"));
    QCOMPARE(text, QStringLiteral("스팀청소기"));
    QCOMPARE(m_prompt.asked[0].lines(), QStringLiteral("등록된 상품이 없습니다.\n신규 등록하겠습니까?"));
    QCOMPARE(m_prompt.asked[1].text, QStringLiteral("신규등록 할 상품명을 입력하세요."));
}

void TestLookups::clientOneMatch()
{
    m_ledger->addClient(0, 40001, QStringLiteral("가나상사"));
    m_ledger->addClient(0, 2, QStringLiteral("한빛"));
    m_prompt.strictOk = true;
    std::optional<PickedClient> picked;
    ModalWatch<FrmClient_Sel> watch(closeWindow<FrmClient_Sel>());
    picked = m_sel->SelClient(BusiMode::Supplier, QStringLiteral("가"), m_anchor, FormRules::AlignCentre, true);
    QCOMPARE(picked ? picked->name : QString(), QStringLiteral("가나상사"));
    QVERIFY(picked);
    QCOMPARE(picked->code.value(), 40001);
    QVERIFY(!watch.shown());
}

void TestLookups::clientEmptyText()
{
    m_ledger->addClient(1, 7, QStringLiteral("단골손님"));
    m_ledger->addClient(0, 8, QStringLiteral("다른쪽"));
    std::optional<PickedClient> picked;
    picked = m_sel->SelClient(BusiMode::Customer, QString(), m_anchor, FormRules::AlignCentre, true);
    QCOMPARE(picked ? picked->name : QString(), QStringLiteral("단골손님"));
    QVERIFY(picked);
    QCOMPARE(picked->code.value(), 7);
}

void TestLookups::clientSeveral()
{
    m_ledger->addClient(1, 3, QStringLiteral("나라상회"));
    m_ledger->addClient(1, 4, QStringLiteral("가나상사"));
    std::optional<PickedClient> picked;
    QString caption;
    int rows = 0;
    {
        ModalWatch<FrmClient_Sel> watch([&](FrmClient_Sel *w) {
            caption = w->windowTitle();
            rows = w->model().rowCount();
            choose<FrmClient_Sel>(1)(w);
        });
        picked = m_sel->SelClient(BusiMode::Customer, QString(), m_anchor, FormRules::AlignCentre, true);
        QCOMPARE(picked ? picked->name : QString(), QStringLiteral("나라상회"));
        QVERIFY(watch.shown());
    }
    QCOMPARE(caption, QStringLiteral("매출처 검색"));
    QCOMPARE(rows, 2);
    QVERIFY(picked);
    QCOMPARE(picked->code.value(), 3);
    ModalWatch<FrmClient_Sel> closing(closeWindow<FrmClient_Sel>());
    picked = m_sel->SelClient(BusiMode::Customer, QStringLiteral("상"), m_anchor, FormRules::AlignCentre, true);
    QCOMPARE(picked ? picked->name : QString(), QString());
    QVERIFY(!picked);
}

void TestLookups::clientNoneRegister()
{
    m_ledger->addClient(0, 12, QStringLiteral("가나상사"));
    m_prompt.yes();
    QString shownName;
    QString caption;
    bool continueVisible = true;
    ModalWatch<FrmClient_write> watch([&](FrmClient_write *w) {
        shownName = w->txtInput[0]->text();
        caption = w->windowTitle();
        continueVisible = w->ChkContinueAdd->isVisible();
        w->btnSave->click();
    });
    std::optional<PickedClient> picked;
    picked = m_sel->SelClient(BusiMode::Supplier, QStringLiteral("새거래처"), m_anchor, FormRules::AlignCentre, true);
    QCOMPARE(picked ? picked->name : QString(), QStringLiteral("새거래처"));
    QVERIFY(watch.shown());
    QCOMPARE(shownName, QStringLiteral("새거래처"));
    QCOMPARE(caption, QStringLiteral("신규 거래처 등록(매입처)"));
    QVERIFY(!continueVisible);
    QVERIFY(picked);
    QCOMPARE(picked->code.value(), 13);
    const auto &q = m_prompt.asked.first();
    QCOMPARE(q.lines(), QStringLiteral("검색한 매입처가 등록되어 있지 않습니다.\n매입처를 등록하겠습니까?"));
    QCOMPARE(q.title, QStringLiteral("매입처 검색"));
    QCOMPARE(q.icon, UserPrompt::Icon::Question);
    QCOMPARE(q.defaultButton, Answer::Yes);
    QCOMPARE(m_ledger->count(QStringLiteral("maeip")), 2);
}

void TestLookups::clientNoneEditClosed()
{
    m_prompt.yes();
    ModalWatch<FrmClient_write> watch([](FrmClient_write *w) { w->btnCancel->click(); });
    std::optional<PickedClient> picked;
    picked = m_sel->SelClient(BusiMode::Customer, QString(), m_anchor, FormRules::AlignCentre, true);
    QCOMPARE(picked ? picked->name : QString(), QString());
    QVERIFY(watch.shown());
    QVERIFY(picked);
    QCOMPARE(picked->code.value(), 0);
    QCOMPARE(m_prompt.last().lines(), QStringLiteral("등록된 매출처가 없습니다.\n신규 등록하겠습니까?"));
    QCOMPARE(m_ledger->count(QStringLiteral("maechul")), 0);
}

void TestLookups::clientNoneDeclined()
{
    m_prompt.no();
    ModalWatch<FrmClient_write> watch([](FrmClient_write *w) { w->btnCancel->click(); });
    std::optional<PickedClient> picked;
    picked = m_sel->SelClient(BusiMode::Customer, QStringLiteral("없음"), m_anchor, FormRules::AlignCentre, true);
    QCOMPARE(picked ? picked->name : QString(), QString());
    QVERIFY(!watch.shown());
    QVERIFY(!picked);
}

void TestLookups::clientNoneNoAsk()
{
    std::optional<PickedClient> picked;
    picked = m_sel->SelClient(BusiMode::Supplier, QStringLiteral("없음"), m_anchor, FormRules::AlignCentre, false);
    QCOMPARE(picked ? picked->name : QString(), QString());
    QCOMPARE(m_prompt.count(), 1);
    QCOMPARE(m_prompt.last().text, QStringLiteral("검색한 매입처가 등록되어 있지 않습니다."));
    QCOMPARE(m_prompt.last().title, QStringLiteral("매입처 검색"));
    QCOMPARE(m_prompt.last().icon, UserPrompt::Icon::Information);
}

void TestLookups::placedBelowAnchor_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left edges") << 0;
    QTest::newRow("right edges") << 1;
    QTest::newRow("centred") << 2;
}

void TestLookups::placedBelowAnchor()
{
    QFETCH(int, alignment);
    m_main->setGeometry(250, 40, 500, 200);
    m_anchor->setGeometry(100, 20, 300, 24);
    QTest::qWait(20);
    addNames(*m_ledger, QStringLiteral("group_name"), {QStringLiteral("가전"), QStringLiteral("사무")});
    QRect frame;
    ModalWatch<FrmGroup_sel> watch([&frame](FrmGroup_sel *w) {
        QTest::qWait(30);
        frame = w->frameGeometry();
        w->cmdClose->click();
    });
    m_sel->SelGroup(QString(), m_anchor, static_cast<FormRules::Horizontal>(alignment), true);
    QVERIFY(watch.shown());
    const QRect a(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    QCOMPARE(frame.top(), a.bottom() + 1);
    const int expectedLeft = alignment == 0   ? a.left()
                             : alignment == 1 ? a.right() + 1 - frame.width()
                                              : a.left() - (frame.width() - a.width()) / 2;
    QVERIFY2(qAbs(frame.left() - expectedLeft) <= 1, qPrintable(QStringLiteral("%1 vs %2").arg(frame.left()).arg(expectedLeft)));
}

void TestLookups::placedAtEditedCell()
{
    TestEnvironment::instance().reset();
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("1"));
    Database db;
    frmMain w(settings, db, m_prompt);
    const auto login = admitLogin();
    QVERIFY(w.Form_Load());
    m_prompt.clear();
    for (const QString &g : {QStringLiteral("가전"), QStringLiteral("가구")}) {
        SqlStatement st(QStringLiteral("INSERT INTO group_name (name) VALUES (:n)"));
        st.bind(QStringLiteral("n"), g);
        QVERIFY(db.exec(st).ok());
    }
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::setActiveWindow(&w);
    const QModelIndex cell = w.model().index(0, LedgerModel::ColGroup);
    LedgerGrid *spList = FrmMainControls(&w).spList();
    spList->setCurrentIndex(cell);
    spList->setFocus();
    QRect frame;
    QRect at;
    ModalWatch<FrmGroup_sel> watch([&](FrmGroup_sel *g) {
        QTest::qWait(30);
        frame = g->frameGeometry();
        const QRect r = spList->visualRect(cell);
        at = QRect(spList->viewport()->mapToGlobal(r.topLeft()), r.size());
        g->cmdClose->click();
    });
    QTest::sendKeyEvent(QTest::Click, spList, Qt::Key_unknown, QStringLiteral("가"), Qt::NoModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(watch.shown());
    // Below the cell being edited, left edges aligned.
    QVERIFY2(qAbs(frame.left() - at.left()) <= 1 && qAbs(frame.top() - (at.bottom() + 1)) <= 1,
             qPrintable(QStringLiteral("window at %1,%2, cell at %3,%4-%5")
                            .arg(frame.left()).arg(frame.top()).arg(at.left()).arg(at.top()).arg(at.bottom())));
}

QTEST_MAIN(TestLookups)
#include "tst_lookups.moc"
