// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSqlQuery>
#include <QTest>

#include "core/masterdata/askanddelete.h"
#include "core/masterdata/businessmode.h"
#include "core/masterdata/callerlookup.h"
#include "core/masterdata/clienteditor.h"
#include "core/masterdata/clientregister.h"
#include "hookedprompt.h"
#include "scriptedprompt.h"
#include "templedger.h"

using Result = ClientEditor::SaveResult;

namespace {

ClientRecord named(const QString &name)
{
    ClientRecord c;
    c.name = name;
    c.tel = QStringLiteral("02-123-4567");
    return c;
}

QString voucherName(TempLedger &l, qint64 id, const QString &field)
{
    Database::Result r = l.exec(SqlStatement(QStringLiteral("SELECT %1 FROM total WHERE total_id = %2").arg(field).arg(id)));
    return r.query.next() ? r.query.value(0).toString() : QStringLiteral("<none>");
}

qint64 voucherFor(TempLedger &l, int side, qint32 code, const QString &name)
{
    LedgerRow v = voucher(QStringLiteral("2024-03-02"), QStringLiteral("볼펜"), 1000, QStringLiteral("2024-03-03"), 1500);
    if (side == toInt(BusiMode::Supplier)) {
        v.maeipCode = ClientCode(code);
        v.maeipName = name;
    } else {
        v.maechulCode = ClientCode(code);
        v.maechulName = name;
    }
    return l.addVoucher(v);
}

} // namespace

class TestClientRegister final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { INIT_LEDGER_TEST(); }
    void callerLookup_data();
    void callerLookup();
    void callerLookupUsesTailIndexes();
    void nameRules_data();
    void nameRules();
    void duplicateName_data();
    void duplicateName();
    void editWithoutRenameAsksNothing();
    void stepsInOrder();
    void renameIntoVouchers_data();
    void renameIntoVouchers();
    void codesAreNeverReused();
    void consecutiveCodes();
    void codeExhausted();
    void twoPcsRegisterAtOnce();
    void engineErrorKeepsNothing();
    void deleteClient();
    void listSearch_data();
    void listSearch();
    void captions_data();
    void captions();
};

void TestClientRegister::nameRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("message");

    const QString tooLong = QStringLiteral("상호명이 너무깁니다. 최대길이는 16(한글8자)입니다.");
    QTest::newRow("16 Latin") << QStringLiteral("ABCDEFGHIJKLMNOP") << true << QString();
    QTest::newRow("17 Latin") << QStringLiteral("ABCDEFGHIJKLMNOPQ") << false << tooLong;
    QTest::newRow("8 Hangul") << QStringLiteral("서울종합전자유통") << true << QString();
    QTest::newRow("9 Hangul") << QStringLiteral("서울종합전자유통사") << false << tooLong;
    QTest::newRow("7 Hangul + 2 Latin") << QStringLiteral("가나다라마바사AB") << true << QString();
    QTest::newRow("7 Hangul + 3 Latin") << QStringLiteral("가나다라마바사ABC") << false << tooLong;
    QTest::newRow("apostrophe and wildcards") << QStringLiteral("O'Neil 10%_*") << true << QString();
    QTest::newRow("blanks around") << QStringLiteral("  가나상사  ") << true << QString();
    QTest::newRow("empty") << QString() << false << QStringLiteral("[상호명]은(는) 필수 입력 사항입니다.");
    QTest::newRow("blanks only") << QStringLiteral("   ") << false << QStringLiteral("[상호명]은(는) 필수 입력 사항입니다.");
}

void TestClientRegister::nameRules()
{
    QFETCH(QString, name);
    QFETCH(bool, saved);
    QFETCH(QString, message);

    TempLedger ledger;
    ScriptedPrompt prompt;
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Add);
    editor.setBusiMode(BusiMode::Customer);
    editor.clear();
    if (!saved)
        prompt.ok();
    const Result r = editor.Save(named(name), {});
    QCOMPARE(r, saved ? Result::Saved : Result::Refused);
    QCOMPARE(ledger.count(QStringLiteral("maechul")), saved ? 1 : 0);
    if (saved) {
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(editor.CCode().value(), 1);
        QCOMPARE(editor.CName(), name.trimmed());
        const auto stored = ClientRegister(ledger.db(), BusiMode::Customer).find(ClientCode(1)).valueOr(std::nullopt);
        QVERIFY(stored);
        QCOMPARE(stored->name, name.trimmed());
        QCOMPARE(stored->tel, QStringLiteral("02-123-4567"));
        QCOMPARE(stored->memo, QString());
    } else {
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text, message);
        QCOMPARE(prompt.last().icon, UserPrompt::Icon::Information);
        if (name.trimmed().isEmpty())
            QCOMPARE(prompt.last().title, QStringLiteral("필수입력"));
        QCOMPARE(editor.CCode().value(), 0);
    }
}

void TestClientRegister::duplicateName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("yes");
    QTest::newRow("same, yes") << QStringLiteral("가나상사") << true;
    QTest::newRow("same, no") << QStringLiteral("가나상사") << false;
    QTest::newRow("other letter case, no") << QStringLiteral("abc") << false;
}

void TestClientRegister::duplicateName()
{
    QFETCH(QString, name);
    QFETCH(bool, yes);

    TempLedger ledger;
    ledger.addClient(0, 1, QStringLiteral("가나상사"));
    ledger.addClient(0, 2, QStringLiteral("ABC"));
    ScriptedPrompt prompt;
    prompt.answer(yes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No);
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Add);
    editor.setBusiMode(BusiMode::Supplier);
    editor.clear();
    QCOMPARE(editor.Save(named(name), {}), yes ? Result::Saved : Result::Failed);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().lines(), QStringLiteral("이미 같은 이름이 등록 되어 있습니다.\n그래도, 저장하시겠습니까?"));
    QCOMPARE(prompt.last().buttons, UserPrompt::Buttons::YesNo);
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    QCOMPARE(ledger.count(QStringLiteral("maeip")), yes ? 3 : 2);
    QCOMPARE(editor.CCode().value(), yes ? 3 : 0);
}

void TestClientRegister::editWithoutRenameAsksNothing()
{
    TempLedger ledger;
    ledger.addClient(1, 40000, QStringLiteral("한빛상회"), QStringLiteral("031-123-4567"));
    ScriptedPrompt prompt;
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Edit);
    editor.setBusiMode(BusiMode::Customer);
    const auto loaded = editor.LoadClient(ClientCode(40000)); // codes above 32767 load like any other
    QVERIFY(loaded);
    QCOMPARE(editor.currentCode().value(), 40000);
    ClientRecord changed = *loaded;
    changed.memo = QStringLiteral("월말 결제");
    bool synced = false;
    ClientEditor::Hooks hooks;
    hooks.syncUpdateClient = [&](ClientCode code, BusiMode mode, bool add) {
        synced = code == ClientCode(40000) && mode == BusiMode::Customer && !add;
    };
    QCOMPARE(editor.Save(changed, hooks), Result::Saved);
    QCOMPARE(prompt.count(), 0); // its own record is no duplicate, and the name did not change
    QVERIFY(synced);
    QCOMPARE(ledger.count(QStringLiteral("maechul")), 1);
    QCOMPARE(ClientRegister(ledger.db(), BusiMode::Customer).find(ClientCode(40000)).valueOr(std::nullopt)->memo,
             QStringLiteral("월말 결제"));
}

void TestClientRegister::stepsInOrder()
{
    TempLedger ledger;
    ledger.addClient(0, 5, QStringLiteral("옛이름"));
    ScriptedPrompt prompt;
    prompt.no();
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Edit);
    editor.setBusiMode(BusiMode::Supplier);
    ClientRecord c = *editor.LoadClient(ClientCode(5));
    c.name = QStringLiteral("새이름");
    QStringList log;
    ClientEditor::Hooks hooks;
    hooks.syncUpdateClient = [&](ClientCode, BusiMode, bool) {
        // The record is written before the opener is told.
        const auto stored = ClientRegister(ledger.db(), BusiMode::Supplier).find(ClientCode(5)).valueOr(std::nullopt);
        log << QStringLiteral("sync %1 %2").arg(prompt.count()).arg(stored->name);
    };
    hooks.notice = [&] { log << QStringLiteral("notice %1").arg(prompt.count()); };
    QCOMPARE(editor.Save(c, hooks), Result::Saved);
    QCOMPARE(log, (QStringList{QStringLiteral("sync 0 새이름"), QStringLiteral("notice 0")}));
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().lines(),
             QStringLiteral("전표에 이미 등록된 동일한 거래처의 이름도 변경 하시겠습니까?\n(동일 거래처코드만 변경)"));
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
}

void TestClientRegister::renameIntoVouchers_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("matching");
    QTest::newRow("customer, yes, 2") << 1 << true << 2;
    QTest::newRow("supplier, yes, 1") << 0 << true << 1;
    QTest::newRow("customer, yes, 0") << 1 << true << 0;
    QTest::newRow("supplier, no") << 0 << false << 1;
}

void TestClientRegister::renameIntoVouchers()
{
    QFETCH(int, side);
    QFETCH(bool, yes);
    QFETCH(int, matching);

    TempLedger ledger;
    ledger.addClient(side, 7, QStringLiteral("옛상사"));
    const QString field = voucherNameField(*busiModeOf(side));
    QList<qint64> ours;
    for (int i = 0; i < matching; ++i)
        ours << voucherFor(ledger, side, 7, QStringLiteral("옛상사"));
    // Same old name under another code, and the other side's voucher with code 7: untouched.
    const qint64 otherCode = voucherFor(ledger, side, 8, QStringLiteral("옛상사"));
    const qint64 otherSide = voucherFor(ledger, 1 - side, 7, QStringLiteral("옛상사"));

    ScriptedPrompt prompt;
    prompt.answer(yes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No);
    if (yes)
        prompt.ok(); // the count of changed vouchers
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Edit);
    editor.setBusiMode(*busiModeOf(side));
    ClientRecord c = *editor.LoadClient(ClientCode(7));
    c.name = QStringLiteral("새상사");
    QCOMPARE(editor.Save(c, {}), Result::Saved);
    QCOMPARE(prompt.count(), yes ? 2 : 1);
    if (yes) {
        QCOMPARE(prompt.last().text, QStringLiteral("전표에서 %1건의 자료가 변경되었습니다.").arg(matching));
        QCOMPARE(prompt.last().icon, UserPrompt::Icon::Information);
    }
    for (qint64 id : ours)
        QCOMPARE(voucherName(ledger, id, field), yes ? QStringLiteral("새상사") : QStringLiteral("옛상사"));
    QCOMPARE(voucherName(ledger, otherCode, field), QStringLiteral("옛상사"));
    QCOMPARE(voucherName(ledger, otherSide, voucherNameField(*busiModeOf(1 - side))), QStringLiteral("옛상사"));
}

void TestClientRegister::codesAreNeverReused()
{
    TempLedger ledger;
    ScriptedPrompt prompt;
    ClientRegister reg(ledger.db(), BusiMode::Supplier);
    QCOMPARE(reg.nextCode().valueOr(ClientCode(-1)).value(), 1);
    ledger.addClient(0, 1, QStringLiteral("가"));
    ledger.addClient(0, 2, QStringLiteral("나"));
    ledger.addClient(0, 3, QStringLiteral("다"));
    voucherFor(ledger, 0, 3, QStringLiteral("다"));
    QCOMPARE(reg.nextCode().valueOr(ClientCode(-1)).value(), 4);

    prompt.yes();
    QVERIFY(askAndDeleteClient(prompt, reg, ClientCode(3), QStringLiteral("다")));
    QCOMPARE(prompt.last().text, QStringLiteral("다을(를) 정말 삭제하시겠습니까?"));
    QCOMPARE(prompt.last().defaultButton, UserPrompt::Answer::No);
    // Code 3 lives on in a voucher: the next client must not take it over.
    QCOMPARE(reg.nextCode().valueOr(ClientCode(-1)).value(), 4);
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Add);
    editor.setBusiMode(BusiMode::Supplier);
    editor.clear();
    QCOMPARE(editor.Save(named(QStringLiteral("라")), {}), Result::Saved);
    QCOMPARE(editor.CCode().value(), 4);

    // A voucher's code counts even without its client; the other side's vouchers do not.
    voucherFor(ledger, 0, 70000, QStringLiteral("옛거래처"));
    voucherFor(ledger, 1, 90000, QStringLiteral("손님"));
    QCOMPARE(reg.nextCode().valueOr(ClientCode(-1)).value(), 70001);
    QCOMPARE(ClientRegister(ledger.db(), BusiMode::Customer).nextCode().valueOr(ClientCode(-1)).value(), 90001);
}

void TestClientRegister::consecutiveCodes()
{
    TempLedger ledger;
    ledger.addClient(1, 9, QStringLiteral("기존"));
    ScriptedPrompt prompt;
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Add);
    editor.setBusiMode(BusiMode::Customer);
    QList<qint32> codes;
    for (const QString &n : {QStringLiteral("첫째"), QStringLiteral("둘째"), QStringLiteral("셋째")}) {
        editor.clear();
        QCOMPARE(editor.Save(named(n), {}), Result::Saved);
        codes << editor.CCode().value();
    }
    QCOMPARE(codes, (QList<qint32>{10, 11, 12}));
    QCOMPARE(prompt.count(), 0);
}

void TestClientRegister::codeExhausted()
{
    TempLedger ledger;
    ledger.addClient(0, 2147483647, QStringLiteral("끝"));
    ScriptedPrompt prompt;
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Add);
    editor.setBusiMode(BusiMode::Supplier);
    editor.clear();
    prompt.ok();
    QCOMPARE(editor.Save(named(QStringLiteral("새")), {}), Result::Failed);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().text, QStringLiteral("CODE 생성 및 정의 오류입니다."));
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::Warning);
    QCOMPARE(ledger.count(QStringLiteral("maeip")), 1);

    // An edit whose client was not found has no code either.
    ClientEditor edit(ledger.db(), prompt);
    edit.setAddEditMode(ClientEditor::EditMode::Edit);
    edit.setBusiMode(BusiMode::Supplier);
    QVERIFY(!edit.LoadClient(ClientCode(5)));
    prompt.ok();
    QCOMPARE(edit.Save(named(QStringLiteral("새")), {}), Result::Failed);
    QCOMPARE(prompt.last().text, QStringLiteral("CODE 생성 및 정의 오류입니다."));
}

void TestClientRegister::twoPcsRegisterAtOnce()
{
    TempLedger ledger;
    ledger.addClient(0, 1, QStringLiteral("가나상사"));
    Database otherPc;
    QVERIFY(otherPc.open(ledger.settings()));
    ScriptedPrompt otherPrompt;
    const auto newClient = [&](Database &db, UserPrompt &prompt, const QString &name) {
        auto editor = std::make_unique<ClientEditor>(db, prompt);
        editor->setAddEditMode(ClientEditor::EditMode::Add);
        editor->setBusiMode(BusiMode::Supplier);
        editor->clear();
        const Result saved = editor->Save(named(name), {});
        return std::make_pair(saved, editor->CCode().value());
    };

    // This PC saves a second 가나상사; while its question is up the other PC registers a client
    // and takes the code this save meant to give.
    ScriptedPrompt script;
    bool otherSaved = false;
    HookedPrompt prompt(script, [&] {
        if (!std::exchange(otherSaved, true))
            QCOMPARE(newClient(otherPc, otherPrompt, QStringLiteral("다라")), std::make_pair(Result::Saved, 2));
    });
    script.yes();
    script.ok();
    QCOMPARE(newClient(ledger.db(), prompt, QStringLiteral("가나상사")), std::make_pair(Result::Saved, 3));
    QCOMPARE(script.last().text, ClientEditor::codeTakenText(ClientCode(2), ClientCode(3)));
    ClientRegister reg(ledger.db(), BusiMode::Supplier);
    QCOMPARE(reg.find(ClientCode(2)).valueOr(std::nullopt)->name, QStringLiteral("다라"));
    QCOMPARE(reg.find(ClientCode(3)).valueOr(std::nullopt)->name, QStringLiteral("가나상사"));

    // An edit of a client the other PC deleted meanwhile writes nothing, and makes no new client.
    ClientEditor edit(ledger.db(), script);
    edit.setAddEditMode(ClientEditor::EditMode::Edit);
    edit.setBusiMode(BusiMode::Supplier);
    QVERIFY(edit.LoadClient(ClientCode(2)));
    QVERIFY(otherPc.exec(SqlStatement(QStringLiteral("DELETE FROM maeip WHERE id = 2"))).ok());
    script.ok();
    QCOMPARE(edit.Save(named(QStringLiteral("다라상회")), {}), Result::Failed);
    QCOMPARE(script.last().title, QStringLiteral("오류"));
    QVERIFY(!reg.find(ClientCode(2)).valueOr(std::nullopt));
    QCOMPARE(ledger.count(QStringLiteral("maeip")), 2);
}

void TestClientRegister::engineErrorKeepsNothing()
{
    TempLedger ledger;
    ScriptedPrompt prompt;
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(ClientEditor::EditMode::Add);
    editor.setBusiMode(BusiMode::Supplier);
    editor.clear();
    ClientRecord c = named(QStringLiteral("가나"));
    c.tel = QString(21, QLatin1Char('1')); // tel holds 20 bytes
    bool synced = false;
    ClientEditor::Hooks hooks;
    hooks.syncUpdateClient = [&](ClientCode, BusiMode, bool) { synced = true; };
    prompt.ok();
    QCOMPARE(editor.Save(c, hooks), Result::Failed);
    QVERIFY(!synced);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().title, QStringLiteral("오류"));
    QVERIFY(prompt.last().lines().startsWith(QStringLiteral("자료를 저장하는 중 오류가 발생했습니다.\n오류번호 : ")));
    QCOMPARE(ledger.count(QStringLiteral("maeip")), 0);
    QCOMPARE(editor.CCode().value(), 0);
}

void TestClientRegister::deleteClient()
{
    TempLedger ledger;
    ledger.addClient(1, 3, QStringLiteral("단골"));
    const qint64 v = voucherFor(ledger, 1, 3, QStringLiteral("단골"));
    ScriptedPrompt prompt;
    ClientRegister reg(ledger.db(), BusiMode::Customer);
    prompt.ok();
    QVERIFY(!askAndDeleteClient(prompt, reg, ClientCode(0), QString()));
    QCOMPARE(prompt.last().text, QStringLiteral("삭제할 자료를 먼저 선택하세요."));
    prompt.no();
    QVERIFY(!askAndDeleteClient(prompt, reg, ClientCode(3), QStringLiteral("단골")));
    QCOMPARE(ledger.count(QStringLiteral("maechul")), 1);
    prompt.yes();
    QVERIFY(askAndDeleteClient(prompt, reg, ClientCode(3), QStringLiteral("단골")));
    QCOMPARE(ledger.count(QStringLiteral("maechul")), 0);
    QCOMPARE(voucherName(ledger, v, QStringLiteral("maechul_name")), QStringLiteral("단골"));
    QCOMPARE(voucherName(ledger, v, QStringLiteral("maechul_code")), QStringLiteral("3"));
    prompt.yes().ok();
    QVERIFY(!askAndDeleteClient(prompt, reg, ClientCode(3), QStringLiteral("단골")));
    QCOMPARE(prompt.last().text, QStringLiteral("삭제중 오류가 발생하였습니다."));
}

void TestClientRegister::listSearch_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("all, by name") << QString()
                                  << QStringList{QStringLiteral("10% 할인마트"), QStringLiteral("a_b상사"),
                                                 QStringLiteral("abc전자"), QStringLiteral("O'Neil상사"),
                                                 QStringLiteral("가나상사"), QStringLiteral("나라상회")};
    QTest::newRow("Hangul") << QStringLiteral("상사")
                            << QStringList{QStringLiteral("a_b상사"), QStringLiteral("O'Neil상사"), QStringLiteral("가나상사")};
    QTest::newRow("apostrophe") << QStringLiteral("O'Neil") << QStringList{QStringLiteral("O'Neil상사")};
    QTest::newRow("letter case") << QStringLiteral("o'neil") << QStringList{QStringLiteral("O'Neil상사")};
    QTest::newRow("percent literal") << QStringLiteral("10%") << QStringList{QStringLiteral("10% 할인마트")};
    QTest::newRow("underscore literal") << QStringLiteral("a_b") << QStringList{QStringLiteral("a_b상사")};
    QTest::newRow("star literal") << QStringLiteral("*") << QStringList{};
    QTest::newRow("injection") << QStringLiteral("'; DROP TABLE maeip; --") << QStringList{};
    // Far past the engine's limit for a LIKE pattern (50,000 bytes).
    QTest::newRow("100,000 Hangul characters") << QString(100000, u'상') << QStringList{};
    QTest::newRow("100,000 letters") << QString(100000, u'a') << QStringList{};
}

void TestClientRegister::listSearch()
{
    QFETCH(QString, word);
    QFETCH(QStringList, names);
    TempLedger ledger;
    qint32 id = 1;
    for (const QString &n : {QStringLiteral("가나상사"), QStringLiteral("O'Neil상사"), QStringLiteral("10% 할인마트"),
                             QStringLiteral("a_b상사"), QStringLiteral("abc전자"), QStringLiteral("나라상회")})
        ledger.addClient(0, id++, n);
    ScriptedPrompt prompt;
    const auto rows = ClientRegister(ledger.db(), BusiMode::Supplier).list(word);
    QVERIFY(rows);
    QStringList got;
    for (const ClientRecord &c : *rows)
        got << c.name;
    QCOMPARE(got, names);
    QCOMPARE(ledger.count(QStringLiteral("maeip")), 6);
}

void TestClientRegister::captions_data()
{
    QTest::addColumn<int>("addEdit");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::newRow("add customer") << 1 << 1 << QStringLiteral("신규 거래처 등록(매출처)");
    QTest::newRow("edit supplier") << 2 << 0 << QStringLiteral("기존 거래처 수정(매입처)");
    QTest::newRow("other mode") << 1 << 5 << QStringLiteral("신규 거래처 등록");
}

void TestClientRegister::captions()
{
    QFETCH(int, addEdit);
    QFETCH(int, mode);
    QFETCH(QString, caption);
    TempLedger ledger;
    ScriptedPrompt prompt;
    ClientEditor editor(ledger.db(), prompt);
    editor.setAddEditMode(static_cast<ClientEditor::EditMode>(addEdit));
    if (const auto m = busiModeOf(mode))
        editor.setBusiMode(*m);
    QCOMPARE(editor.caption(), caption);
}

void TestClientRegister::callerLookup_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("products");
    // 1 has tel 02-123-4567 and three vouchers, two of them one product on one day;
    // 2 has only a mobile and no voucher; 3 and 4 share the local number 555-1234 under other
    // area codes; 7 and 8 the local number 777-8899, with and without an area code.
    const QString kim = QStringLiteral("TV(2024-03-05), 볼펜(2024-03-03)");
    QTest::newRow("tel, same number") << "021234567" << true << "김철수" << kim;
    QTest::newRow("local call, stored with area code") << "1234567" << true << "김철수" << kim;
    QTest::newRow("longer number, same end") << "0291234567" << false << "" << "";
    QTest::newRow("phone, no vouchers") << "01098765432" << true << "박영희" << "()";
    QTest::newRow("other mobile prefix") << "01198765432" << false << "" << "";
    QTest::newRow("same last four only") << "029994567" << false << "" << "";
    QTest::newRow("stored without dashes") << "02-1234-5678" << true << "붙여씀" << "()";
    QTest::newRow("other area code") << "0315551234" << true << "예전" << "세탁기(2024-03-01)";
    QTest::newRow("local call: every area, newest row's customer")
        << "5551234" << true << "최신" << "냉장고(2024-04-01), 세탁기(2024-03-01)";
    QTest::newRow("area code: stored without one still matches")
        << "0317778899" << true << "지역없음" << "선풍기(2024-05-01)";
    QTest::newRow("exact match first, then newer rows")
        << "027778899" << true << "서울" << "다리미(2024-02-01), 선풍기(2024-05-01)";
    QTest::newRow("foreign number: its area code is not ours") << "075552120" << false << "" << "";
    QTest::newRow("quote in number is only text") << "1'-4567" << false << "" << "";
}

void TestClientRegister::callerLookup()
{
    QFETCH(QString, number);
    TempLedger l;
    l.addClient(1, 1, QStringLiteral("김철수"), QStringLiteral("02-123-4567"));
    l.addClient(1, 2, QStringLiteral("박영희"), {}, QStringLiteral("010-9876-5432"));
    l.addClient(1, 3, QStringLiteral("예전"), QStringLiteral("031-555-1234"));
    l.addClient(1, 4, QStringLiteral("최신"), {}, QStringLiteral("010-555-1234"));
    l.addClient(1, 5, QStringLiteral("붙여씀"), QStringLiteral("0212345678"));
    l.addClient(0, 6, QStringLiteral("매입처"), QStringLiteral("02-999-4567")); // suppliers never ring
    l.addClient(1, 7, QStringLiteral("서울"), QStringLiteral("02-777-8899"));
    l.addClient(1, 8, QStringLiteral("지역없음"), QStringLiteral("777-8899"));
    l.addClient(1, 9, QStringLiteral("미국"), QStringLiteral("407555-2120"));
    const auto sold = [&](qint32 code, const QString &product, const QString &day) {
        LedgerRow v = voucher(QStringLiteral("2024-03-01"), product, 1000, day, 1500);
        v.maechulCode = ClientCode(code);
        l.addVoucher(v);
    };
    sold(1, QStringLiteral("볼펜"), QStringLiteral("2024-03-03"));
    sold(1, QStringLiteral("볼펜"), QStringLiteral("2024-03-03"));
    sold(1, QStringLiteral("TV"), QStringLiteral("2024-03-05"));
    sold(3, QStringLiteral("세탁기"), QStringLiteral("2024-03-01"));
    sold(4, QStringLiteral("냉장고"), QStringLiteral("2024-04-01"));
    sold(7, QStringLiteral("다리미"), QStringLiteral("2024-02-01"));
    sold(8, QStringLiteral("선풍기"), QStringLiteral("2024-05-01"));
    sold(9, QStringLiteral("믹서"), QStringLiteral("2024-06-01"));

    const CallerLookup r = LookupCaller(l.db(), number);
    QVERIFY(!r.error.isError());
    QTEST(r.found, "found");
    QTEST(r.caller.name, "name");
    QTEST(r.products, "products");
}

void TestClientRegister::callerLookupUsesTailIndexes()
{
    TempLedger l;
    SqlStatement plan = callerLookupStatement(l.db().dialect(), QStringLiteral("021234567"));
    const bool server = TestEngine::isServer();
    if (server) {
        // The server reads a handful of rows whole unless told not to, and explains no prepared
        // statement: the plan is asked for with the values written in.
        l.exec(SqlStatement(QStringLiteral("SET enable_seqscan = off")));
        plan = SqlStatement(QStringLiteral("EXPLAIN ") + plan.display());
    } else {
        plan.text.prepend(QStringLiteral("EXPLAIN QUERY PLAN "));
    }
    Database::Result r = l.exec(plan);
    QString text;
    while (r.query.next())
        text += r.query.value(server ? 0 : 3).toString() + QLatin1Char('\n');
    QVERIFY2(text.contains(QLatin1String("maechul_tel_tail")) && text.contains(QLatin1String("maechul_phone_tail")),
             qPrintable(text));
}

QTEST_APPLESS_MAIN(TestClientRegister)
#include "tst_clientregister.moc"
