// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/masterdata/postalimport.h"
#include "core/masterdata/texttablemodel.h"
#include "gui/masterdata/businessfields.h"
#include "gui/masterdata/frmclient_sel.h"
#include "gui/masterdata/frmclient_write.h"
#include "gui/masterdata/frmpost.h"
#include "gui/masterdata/frmproduct_sel.h"
#include "gui/ui/formhelpers.h"
#include "modalwatch.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {

QStringList column(TextTableModel &m, int c)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.text(r, c);
    return out;
}

QString stored(TempLedger &l, const QString &field)
{
    auto r = l.exec(SqlStatement(QStringLiteral("SELECT %1 FROM maechul").arg(field)));
    return r.query.next() ? r.query.value(0).toString() : QStringLiteral("(none)");
}

} // namespace

class TestClientWindows final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void searchWindow();
    void deleteFromList();
    void continueModeAddsThree();
    void editFromList();
    void phoneFieldsAndKeys();
    void acceleratorLeavesTheField();
    void enterThroughTheFormSaves();
    void addressSearch_data();
    void addressSearch();
    void addressSearchWithoutPostalFile();
    void postWindow();
    void productWindow();
    void groupFilterList();

private:
    // A client edit window adding a customer, on screen and active.
    std::unique_ptr<FrmClient_write> shownAddWindow();

    QTemporaryDir m_dir;
    QString m_post;
    std::unique_ptr<TempLedger> m_ledger;
    ScriptedPrompt m_prompt;
};

void TestClientWindows::initTestCase()
{
    INIT_LEDGER_TEST();
    InstallButtonKeys();
    m_post = m_dir.filePath(QStringLiteral("dbpost.db"));
    const auto r = PostalImport::buildFromFile(QStringLiteral(SOLBITSEM_SOURCE_DIR "/resources/postal/dbpost-sample.csv"), m_post);
    QVERIFY2(r.ok, qPrintable(r.error));
}

void TestClientWindows::init()
{
    m_prompt.clear();
    m_prompt.strictOk = false;
    m_ledger = std::make_unique<TempLedger>();
}

void TestClientWindows::searchWindow()
{
    m_ledger->addClient(0, 5, QStringLiteral("가나상사"), QStringLiteral("02-123-4567"));
    m_ledger->addClient(0, 40000, QStringLiteral("한빛상회"));
    m_ledger->addClient(1, 6, QStringLiteral("가나손님"));
    FrmClient_Sel w(m_ledger->db(), m_prompt, m_post);
    QVERIFY(!w.mode());
    QVERIFY(!w.picked());
    w.setMode(BusiMode::Supplier);
    QCOMPARE(w.windowTitle(), QStringLiteral("매입처 검색"));
    QVERIFY(w.spList->isColumnHidden(FrmClient_Sel::Code));
    QCOMPARE(w.model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("상호명"));

    QCOMPARE(w.FindRecords(QStringLiteral("가나")), 1);
    QCOMPARE(w.picked()->code.value(), 5);
    QCOMPARE(w.picked()->name, QStringLiteral("가나상사"));
    QCOMPARE(w.model().text(0, FrmClient_Sel::Tel), QStringLiteral("02-123-4567"));
    QCOMPARE(w.FindRecords(QString()), 2);
    QCOMPARE(w.FindRecords(QStringLiteral("없음")), 0);

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Enter in the search box and F5 refresh with the box's text.
    w.txtName->setFocus();
    w.txtName->setText(QStringLiteral("상"));
    QTest::keyClick(w.txtName, Qt::Key_Return);
    QCOMPARE(column(w.model(), 0), (QStringList{QStringLiteral("가나상사"), QStringLiteral("한빛상회")}));
    w.txtName->setText(QStringLiteral("한빛"));
    QTest::keyClick(w.txtName, Qt::Key_F5);
    QCOMPARE(column(w.model(), 0), QStringList{QStringLiteral("한빛상회")});
    QVERIFY(w.isVisible());

    // Nothing active: the three "select first" messages.
    w.FindRecords(QStringLiteral("없음"));
    w.cmdSel->click();
    QCOMPARE(m_prompt.last().text, QStringLiteral("리스트에서 자료를 선택하세요."));
    QTest::keyClick(w.txtName, Qt::Key_F3);
    QCOMPARE(m_prompt.last().text, QStringLiteral("수정할 자료를 먼저 선택하세요."));
    QTest::keyClick(w.txtName, Qt::Key_F4);
    QCOMPARE(m_prompt.last().text, QStringLiteral("삭제할 자료를 먼저 선택하세요."));
    QCOMPARE(m_prompt.count(), 3);

    // Enter in the list chooses the active row.
    w.FindRecords(QString());
    w.spList->setFocus();
    w.spList->setCurrentIndex(w.model().index(1, 0));
    QTest::keyClick(w.spList, Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.picked()->code.value(), 40000);
    QCOMPARE(w.picked()->name, QStringLiteral("한빛상회"));
}

void TestClientWindows::deleteFromList()
{
    m_ledger->addClient(1, 1, QStringLiteral("가"));
    m_ledger->addClient(1, 2, QStringLiteral("나"));
    FrmClient_Sel w(m_ledger->db(), m_prompt, m_post);
    w.setMode(BusiMode::Customer);
    w.FindRecords(QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.spList->setCurrentIndex(w.model().index(1, 0));
    m_prompt.no();
    QTest::keyClick(w.spList, Qt::Key_F4);
    QCOMPARE(m_prompt.last().text, QStringLiteral("나을(를) 정말 삭제하시겠습니까?"));
    QCOMPARE(w.model().rowCount(), 2);
    m_prompt.yes();
    QTest::keyClick(w.spList, Qt::Key_F4); // the notice holds the window for half a second
    QCOMPARE(column(w.model(), 0), QStringList{QStringLiteral("가")});
    QCOMPARE(m_ledger->count(QStringLiteral("maechul")), 1);
}

void TestClientWindows::continueModeAddsThree()
{
    m_ledger->addClient(0, 20, QStringLiteral("하나상사"));
    FrmClient_Sel w(m_ledger->db(), m_prompt, m_post);
    w.setMode(BusiMode::Supplier);
    w.FindRecords(QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QString caption;
    bool continueVisible = false;
    QStringList afterEach;
    ModalWatch<FrmClient_write> watch([&](FrmClient_write *e) {
        caption = e->windowTitle();
        continueVisible = e->ChkContinueAdd->isVisible();
        e->ChkContinueAdd->setChecked(true);
        for (const QString &n : {QStringLiteral("다온"), QStringLiteral("가온"), QStringLiteral("나온")}) {
            e->txtInput[0]->setText(n);
            e->btnSave->click();
            afterEach << e->txtInput[0]->text() + QLatin1Char('|') + e->CCode().toText();
        }
        e->btnCancel->click();
    });
    QTest::keyClick(w.txtName, Qt::Key_F2);
    QVERIFY(watch.shown());
    QCOMPARE(caption, QStringLiteral("신규 거래처 등록(매입처)"));
    QVERIFY(continueVisible);
    // Each save clears the form and keeps the window open in add mode.
    QCOMPARE(afterEach, (QStringList{QStringLiteral("|21"), QStringLiteral("|22"), QStringLiteral("|23")}));
    // One row appended per save, in the order saved, unsorted until the next refresh.
    QCOMPARE(column(w.model(), 0), (QStringList{QStringLiteral("하나상사"), QStringLiteral("다온"), QStringLiteral("가온"),
                                                QStringLiteral("나온")}));
    QCOMPARE(column(w.model(), FrmClient_Sel::Code),
             (QStringList{QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("22"), QStringLiteral("23")}));
    QCOMPARE(w.spList->currentIndex().row(), 3);
    QCOMPARE(m_prompt.count(), 0);
}

void TestClientWindows::editFromList()
{
    m_ledger->addClient(1, 70000, QStringLiteral("옛이름"), QStringLiteral("031-123-4567"));
    LedgerRow v = voucher(QStringLiteral("2024-02-01"), QStringLiteral("볼펜"), 100, QStringLiteral("2024-02-02"), 200);
    v.maechulCode = ClientCode(70000);
    v.maechulName = QStringLiteral("옛이름");
    m_ledger->addVoucher(v);
    FrmClient_Sel w(m_ledger->db(), m_prompt, m_post);
    w.setMode(BusiMode::Customer);
    w.FindRecords(QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QStringList loaded;
    bool continueVisible = true;
    ModalWatch<FrmClient_write> watch([&](FrmClient_write *e) {
        loaded << e->windowTitle() << e->txtInput[0]->text() << e->txtInput[1]->text();
        continueVisible = e->ChkContinueAdd->isVisible();
        e->txtInput[0]->setText(QStringLiteral("새이름"));
        e->btnSave->click();
    });
    m_prompt.yes();
    w.cmdEdit->click();
    QVERIFY(watch.shown());
    QCOMPARE(loaded, (QStringList{QStringLiteral("기존 거래처 수정(매출처)"), QStringLiteral("옛이름"),
                                  QStringLiteral("031-123-4567")}));
    QVERIFY(!continueVisible);
    QCOMPARE(m_prompt.last().text, QStringLiteral("전표에서 1건의 자료가 변경되었습니다."));
    // The edited row shows the new name in place.
    QCOMPARE(column(w.model(), 0), QStringList{QStringLiteral("새이름")});
    QCOMPARE(w.model().rowCount(), 1);
}

void TestClientWindows::phoneFieldsAndKeys()
{
    FrmClient_write w(m_ledger->db(), m_prompt, m_post);
    QVERIFY(!w.AddEditMode());
    QCOMPARE(w.CCode().value(), 0);
    w.setAddEditMode(ClientEditor::EditMode::Add);
    w.setBusiMode(BusiMode::Customer);
    QCOMPARE(w.windowTitle(), QStringLiteral("신규 거래처 등록(매출처)"));
    QVERIFY(!w.ChkContinueAdd->isChecked());
    QCOMPARE(w.txtInput[4]->accessibleName(), QStringLiteral("주    소"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    w.txtInput[1]->setFocus();
    w.txtInput[1]->setText(QStringLiteral("0311234567"));
    QTest::keyClick(w.txtInput[1], Qt::Key_Return); // Enter moves on and formats on the way out
    QTRY_COMPARE(QApplication::focusWidget(), w.txtInput[2]);
    QCOMPARE(w.txtInput[1]->text(), QStringLiteral("031-123-4567"));
    w.txtInput[2]->setText(QStringLiteral("01012345678"));
    QTest::keyClick(w.txtInput[2], Qt::Key_Down);
    QTRY_COMPARE(QApplication::focusWidget(), w.txtInput[3]);
    QCOMPARE(w.txtInput[2]->text(), QStringLiteral("010-1234-5678"));
    // Enter in an empty postal field moves to the address without a search.
    m_prompt.strictOk = true;
    QTest::keyClick(w.txtInput[3], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w.txtInput[4]);
    QTest::keyClick(w.txtInput[4], Qt::Key_Up);
    QTRY_COMPARE(QApplication::focusWidget(), w.txtInput[3]);
    QCOMPARE(m_prompt.count(), 0);

    // Cancel leaves nothing saved.
    w.txtInput[0]->setText(QStringLiteral("저장안함"));
    w.btnCancel->click();
    QCOMPARE(w.CCode().value(), 0);
    QCOMPARE(m_ledger->count(QStringLiteral("maechul")), 0);
}

std::unique_ptr<FrmClient_write> TestClientWindows::shownAddWindow()
{
    auto w = std::make_unique<FrmClient_write>(m_ledger->db(), m_prompt, m_post);
    w->setAddEditMode(ClientEditor::EditMode::Add);
    w->setBusiMode(BusiMode::Customer);
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the client edit window did not become active");
    return w;
}

void TestClientWindows::acceleratorLeavesTheField()
{
    const auto w = shownAddWindow();
    w->txtInput[0]->setText(QStringLiteral("가나상사"));
    w->txtInput[1]->setFocus();
    QTest::keyClicks(w->txtInput[1], QStringLiteral("0212345678"));
    // Alt+S leaves the telephone field, which formats it, before 저장 saves.
    QTest::keyClick(w->txtInput[1], Qt::Key_S, Qt::AltModifier);
    QCOMPARE(stored(*m_ledger, QStringLiteral("tel")), QStringLiteral("02-1234-5678"));
    QVERIFY(!w->isVisible());
    QCOMPARE(m_prompt.count(), 0);
}

void TestClientWindows::enterThroughTheFormSaves()
{
    const auto w = shownAddWindow();
    w->txtInput[0]->setText(QStringLiteral("다온"));
    w->txtInput[5]->setFocus();
    // Enter goes on from the last field through the business details box and over the continue
    // box to 저장, where it saves.
    QTest::keyClick(w->txtInput[5], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->grpBusiness->txtBusi[0]);
    for (int i = 0; i + 1 < ClientBusinessBox::FieldCount; ++i) {
        QTest::keyClick(w->grpBusiness->txtBusi[i], Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), w->grpBusiness->txtBusi[i + 1]);
    }
    QTest::keyClick(w->grpBusiness->txtBusi[ClientBusinessBox::FieldCount - 1], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->ChkContinueAdd);
    QTest::keyClick(w->ChkContinueAdd, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->btnSave);
    QVERIFY(!w->ChkContinueAdd->isChecked());
    QTest::keyClick(w->btnSave, Qt::Key_Return);
    QCOMPARE(stored(*m_ledger, QStringLiteral("name")), QStringLiteral("다온"));
    QVERIFY(!w->isVisible());
}

void TestClientWindows::addressSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("chooseRow"); // -1: no list window expected
    QTest::addColumn<QString>("zip");
    QTest::addColumn<QString>("address");

    QTest::newRow("one: code as stored") << "302120" << -1 << "302120" << "대전 서구 둔산동 ";
    QTest::newRow("one: by town") << "  둔산  " << -1 << "302120" << "대전 서구 둔산동 ";
    QTest::newRow("several: six digits formatted") << "역삼" << 1 << "135-080" << "서울 강남구 역삼동 ";
    QTest::newRow("several: dashed code unchanged") << "-0" << 1 << "463-050" << "경기 성남시 분당구 서현동 ";
    QTest::newRow("none") << "999999" << -1 << "" << "";
}

void TestClientWindows::addressSearch()
{
    QFETCH(QString, typed);
    QFETCH(int, chooseRow);
    QFETCH(QString, zip);
    QFETCH(QString, address);

    FrmClient_write w(m_ledger->db(), m_prompt, m_post);
    w.setAddEditMode(ClientEditor::EditMode::Add);
    w.setBusiMode(BusiMode::Supplier);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    w.txtInput[3]->setFocus();
    w.txtInput[3]->setText(typed);
    QString caption;
    QStringList listed;
    ModalWatch<FrmPost> watch([&](FrmPost *p) {
        caption = p->pnlCaption->text();
        for (int r = 0; r < p->grdList->model()->rowCount(); ++r)
            listed << p->grdList->model()->index(r, 0).data().toString();
        p->grdList->setCurrentIndex(p->grdList->model()->index(chooseRow, 0));
        QTest::keyClick(p->grdList, Qt::Key_Return);
    });
    QTest::keyClick(w.txtInput[3], Qt::Key_Return);
    QCOMPARE(watch.shown(), chooseRow >= 0);
    QCOMPARE(w.txtInput[3]->text(), zip);
    QCOMPARE(w.txtInput[4]->text(), address);
    if (chooseRow >= 0) {
        QCOMPARE(caption, QStringLiteral("읍/면/동으로 검색하세요. [전체검색 : 빈칸]"));
        QVERIFY(listed.size() >= 2);
    }
    if (zip.isEmpty()) {
        QCOMPARE(m_prompt.count(), 1);
        QCOMPARE(m_prompt.last().text, QStringLiteral("해당하는 주소가 검색되지 않습니다."));
        QCOMPARE(m_prompt.last().icon, UserPrompt::Icon::None);
        QTRY_COMPARE(w.focusWidget(), w.txtInput[3]);
    } else {
        QCOMPARE(m_prompt.count(), 0);
        QTRY_COMPARE(w.focusWidget(), w.txtInput[4]);
        QTest::qWait(50); // whatever the focus change set off has run
        QCOMPARE(w.txtInput[4]->selectedText(), QString());
        QCOMPARE(w.txtInput[4]->cursorPosition(), address.size());
        // The user goes on typing the detailed address.
        QTest::keyClicks(w.txtInput[4], QStringLiteral("12"));
        QCOMPARE(w.txtInput[4]->text(), address + QStringLiteral("12"));
    }
}

void TestClientWindows::addressSearchWithoutPostalFile()
{
    FrmClient_write w(m_ledger->db(), m_prompt, m_dir.filePath(QStringLiteral("missing/dbpost.db")));
    w.setAddEditMode(ClientEditor::EditMode::Add);
    w.setBusiMode(BusiMode::Supplier);
    w.txtInput[3]->setText(QStringLiteral("135080"));
    w.btnPost->click();
    QCOMPARE(m_prompt.count(), 1);
    QCOMPARE(m_prompt.last().icon, UserPrompt::Icon::Warning);
    QVERIFY(m_prompt.last().text.startsWith(QStringLiteral("우편번호 파일을 사용할 수 없습니다.")));
    QVERIFY(m_prompt.last().text.contains(QStringLiteral("dbpost.db")));
    QCOMPARE(w.txtInput[3]->text(), QStringLiteral("135080")); // what was typed stays
}

void TestClientWindows::postWindow()
{
    QLineEdit zip;
    QLineEdit address;
    QLineEdit other;
    zip.setText(QStringLiteral("keep"));
    address.setText(QStringLiteral("keep"));
    FrmPost p(m_post, m_prompt);
    QVERIFY(p.isAvailable());
    p.SetObject(&zip, &address);
    p.SetObject(&other, &other); // the first call wins
    QCOMPARE(p.InitForm(QStringLiteral("없는동")), 0);
    QCOMPARE(p.InitForm(QString()), 2);
    QCOMPARE(p.grdList->model()->rowCount(), 55);
    QCOMPARE(p.grdList->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("동 / 면"));
    // Esc closes without touching the targets.
    ModalWatch<FrmPost> watch([](FrmPost *w) { QTest::keyClick(w->grdList, Qt::Key_Escape); });
    p.exec();
    QVERIFY(watch.shown());
    QCOMPARE(zip.text(), QStringLiteral("keep"));
    QCOMPARE(address.text(), QStringLiteral("keep"));
    // The find button searches in place; one match fills the targets and the window stays.
    p.show();
    p.txtinput->setText(QStringLiteral("명동2가"));
    p.btnFind->click();
    QCOMPARE(zip.text(), QStringLiteral("100011"));
    QCOMPARE(address.text(), QStringLiteral("서울 중구 명동2가"));
    QCOMPARE(other.text(), QString());
    QVERIFY(p.isVisible());
    p.close();
}

void TestClientWindows::productWindow()
{
    for (const QString &n : {QStringLiteral("볼펜"), QStringLiteral("드라이버"), QStringLiteral("망치")}) {
        SqlStatement st(QStringLiteral("INSERT INTO product (name) VALUES (:n)"));
        st.bind(QStringLiteral("n"), n);
        m_ledger->exec(st);
    }
    for (const QString &g : {QStringLiteral("사무"), QStringLiteral("공구")}) {
        SqlStatement st(QStringLiteral("INSERT INTO group_name (name) VALUES (:n)"));
        st.bind(QStringLiteral("n"), g);
        m_ledger->exec(st);
    }
    m_ledger->addVoucher(voucher(QStringLiteral("2024-01-02"), QStringLiteral("드라이버"), 100, {}, 0, 0, QStringLiteral("공구")));
    FrmProduct_sel w(m_ledger->db(), m_prompt);
    QCOMPARE(w.windowTitle(), QStringLiteral("상품검색"));
    QCOMPARE(w.cmbGroup->count(), 3);
    QCOMPARE(w.cmbGroup->itemText(0), QString());
    QCOMPARE(w.cmbGroup->itemText(1), QStringLiteral("공구"));
    // Loading lists every product.
    QCOMPARE(w.model().rowCount(), 3);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // On screen, another group takes effect at the next refresh only.
    w.cmbGroup->setCurrentIndex(1);
    QCOMPARE(w.model().rowCount(), 3);
    QTest::keyClick(w.txtName, Qt::Key_F5);
    QCOMPARE(column(w.model(), 0), QStringList{QStringLiteral("드라이버")});

    // F2 adds at the end; F3 renames the active row; both stored at once.
    m_prompt.input(QStringLiteral("톱"));
    QTest::keyClick(w.txtName, Qt::Key_F2);
    QCOMPARE(column(w.model(), 0), (QStringList{QStringLiteral("드라이버"), QStringLiteral("톱")}));
    QCOMPARE(m_prompt.last().text, QStringLiteral("신규등록 할 상품명을 입력하세요."));
    w.spList->setCurrentIndex(w.model().index(0, 0));
    m_prompt.input(QStringLiteral("전동드라이버")).yes();
    QTest::keyClick(w.spList, Qt::Key_F3);
    QCOMPARE(column(w.model(), 0), (QStringList{QStringLiteral("전동드라이버"), QStringLiteral("톱")}));
    QCOMPARE(m_prompt.last().text, QStringLiteral("전표에서 1건의 자료가 변경되었습니다."));
    QCOMPARE(m_ledger->count(QStringLiteral("product")), 4);
    QVERIFY(m_prompt.scriptDone());
    // Esc closes without a choice.
    QTest::keyClick(w.spList, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), QString());
}

void TestClientWindows::groupFilterList()
{
    for (const QString &g : {QStringLiteral("사무"), QStringLiteral("공구")}) {
        SqlStatement st(QStringLiteral("INSERT INTO group_name (name) VALUES (:n)"));
        st.bind(QStringLiteral("n"), g);
        m_ledger->exec(st);
    }
    FrmProduct_sel w(m_ledger->db(), m_prompt);
    w.setGroup(QStringLiteral("공구"));
    w.FindRecords(QString());
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QAbstractItemView *list = w.cmbGroup->view();
    const auto dropAndType = [&](const QString &typed) {
        w.txtName->setFocus();
        w.cmbGroup->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(list->isVisible());
        for (QChar ch : typed)
            QTest::sendKeyEvent(QTest::Click, list, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QTRY_VERIFY(!w.cmbGroup->hasFocus());
    };
    // Typed while the list is down, the text replaces the box's: a group, or any text.
    dropAndType(QStringLiteral("사무"));
    QCOMPARE(w.Group(), QStringLiteral("사무"));
    dropAndType(QStringLiteral("전기"));
    QCOMPARE(w.Group(), QStringLiteral("전기"));
    // Enter on the dropped list keeps a preset group.
    w.setGroup(QStringLiteral("공구"));
    dropAndType(QString());
    QCOMPARE(w.Group(), QStringLiteral("공구"));
}

QTEST_MAIN(TestClientWindows)
#include "tst_clientwindows.moc"
