// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include "core/shell/appsettings.h"
#include "core/shell/passwordhash.h"
#include "core/shell/startup.h"
#include "gui/ledger/frmmain.h"
#include "gui/shell/frmpass.h"
#include "gui/shell/frmsplash.h"
#include "hookedprompt.h"
#include "modalwatch.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {
void setUser(TempLedger &l, const QVariant &pass)
{
    l.exec(SqlStatement(QStringLiteral("INSERT INTO user (userid, pass) VALUES ('관리자', :p)")).bind(QStringLiteral("p"), pass));
}

void verifyNamed(const QWidget &window)
{
    for (const QWidget *w : window.findChildren<QWidget *>())
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName() + QLatin1String(w->metaObject()->className())));
}
} // namespace

class tst_LoginWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }
    void splashShowsTheUserRow_data();
    void splashShowsTheUserRow();
    void splashKeys();
    void passwordWindow();
    void endingTheLoginEndsTheOpening();
};

void tst_LoginWindows::splashShowsTheUserRow_data()
{
    QTest::addColumn<QString>("user"); // "null", "set" or "no table"
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("userText");
    QTest::addColumn<QString>("passwordText");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<bool>("telvoxApplied");
    QTest::newRow("no password") << "null" << "일반사용자 로그인" << "관리자" << "엔터 치세요" << false << true;
    QTest::newRow("password set") << "set" << "일반사용자 로그인" << "관리자" << "" << true << true;
    QTest::newRow("table missing: design contents") << "no table" << "사용자 로그인" << "" << "" << true << false;
}

void tst_LoginWindows::splashShowsTheUserRow()
{
    QFETCH(QString, user);
    QFETCH(QString, caption);
    QFETCH(QString, userText);
    QFETCH(QString, passwordText);
    QFETCH(bool, masked);
    QFETCH(bool, telvoxApplied);
    TempLedger l;
    if (user == QStringLiteral("no table"))
        l.exec(QStringLiteral("DROP TABLE user"));
    else
        setUser(l, user == QStringLiteral("set") ? QVariant(QStringLiteral("plain")) : QVariant());
    AppSettings settings;
    ScriptedPrompt prompt;
    prompt.strictOk = false;
    bool applied = false;
    frmSplash w(l.db(), settings, prompt, [&applied] { applied = true; });
    w.Form_Load();
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(w.TxtUser->text(), userText);
    QCOMPARE(w.TxtPassword->text(), passwordText);
    QCOMPARE(w.TxtPassword->echoMode() == QLineEdit::Password, masked);
    QCOMPARE(applied, telvoxApplied);
    QCOMPARE(w.lblIdentify->text(), QStringLiteral("사용자 인증 중입니다..."));
    QVERIFY(!w.lblIdentify->isVisibleTo(&w)); // nothing is being checked while the box waits
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    verifyNamed(w);
}

void tst_LoginWindows::splashKeys()
{
    // An older ledger's plain text: the one right entry below is the only hash made.
    TempLedger l;
    setUser(l, QStringLiteral("secret"));
    AppSettings settings;
    ScriptedPrompt prompt;
    // Whether the waiting line shows while each box is up.
    QList<bool> identifying;
    const frmSplash *login = nullptr;
    HookedPrompt hooked(prompt, [&] { identifying << (login && login->lblIdentify->isVisible()); });
    frmSplash w(l.db(), settings, hooked, {});
    login = &w;
    w.Form_Load();
    w.open();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.lblIdentify->isVisible());

    prompt.ok();
    QTest::keyClicks(w.TxtPassword, QStringLiteral("Secret"));
    QTest::keyClick(w.TxtPassword, Qt::Key_Return);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(identifying, QList<bool>{false}); // the check is over when its box comes
    QVERIFY(!w.lblIdentify->isVisible());
    QVERIFY(w.isVisible());
    QCOMPARE(w.TxtPassword->text(), QString());

    prompt.no();
    QTest::keyClick(w.TxtPassword, Qt::Key_Escape);
    QCOMPARE(prompt.last().title, QStringLiteral("판매 장부"));
    QVERIFY(w.isVisible());
    prompt.no();
    QVERIFY(!w.close()); // the window manager's close asks the same question
    QCOMPARE(prompt.count(), 3);

    QTest::keyClicks(w.TxtPassword, QStringLiteral("secret"));
    QTest::keyClick(w.TxtPassword, Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(w.TxtPassword->text(), QString());
    QCOMPARE(w.TxtUser->text(), QString());
    QCOMPARE(prompt.count(), 3);
    QVERIFY(prompt.scriptDone());

    // The same ledger again, now holding the hash; Esc and Yes end the program.
    frmSplash again(l.db(), settings, prompt, {});
    again.Form_Load();
    again.open();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTest::keyClicks(again.TxtPassword, QStringLiteral("typed"));
    prompt.yes();
    QTest::keyClick(again.TxtPassword, Qt::Key_Escape);
    QVERIFY(!again.isVisible());
    QCOMPARE(again.result(), int(QDialog::Rejected));
    QCOMPARE(again.TxtPassword->text(), QString());
}

void tst_LoginWindows::passwordWindow()
{
    TempLedger l;
    setUser(l, QStringLiteral("old"));
    ScriptedPrompt prompt;
    const auto stored = [&l] {
        QSqlQuery q = l.db().exec(QStringLiteral("SELECT pass FROM user")).query;
        return q.next() ? q.value(0).toString() : QString();
    };
    frmpass w(l.db(), prompt);
    verifyNamed(w);
    QCOMPARE(w.windowTitle(), QStringLiteral("비밀번호변경"));
    // Nothing typed here is shown; the new password is typed twice.
    for (const QLineEdit *box : {w.txtinput[0], w.txtinput[1], w.txtConfirm})
        QCOMPARE(box->echoMode(), QLineEdit::Password);
    QCOMPARE(w.txtConfirm->objectName(), QStringLiteral("txtConfirm"));
    QCOMPARE(w.txtConfirm->accessibleName(), QStringLiteral("비밀번호 확인"));
    QStringList captions;
    for (const QLabel *label : w.findChildren<QLabel *>())
        captions << label->text();
    QCOMPARE(captions, (QStringList{QStringLiteral("기존비밀번호"), QStringLiteral("변경할비밀번호"), QStringLiteral("비밀번호 확인:"),
                                    UserPassword::lockNoteText()}));
    // Said where the password is set: it locks the program and does not encrypt the file.
    QVERIFY(UserPassword::lockNoteText().contains(QStringLiteral("암호화하지 않습니다")));
    w.open();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.txtinput[0]->setFocus();
    QTest::keyClicks(w.txtinput[0], QStringLiteral("wrong"));
    QTest::keyClick(w.txtinput[0], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.txtinput[1]);
    QTest::keyClick(w.txtinput[1], Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), w.txtinput[0]);
    QTest::keyClick(w.txtinput[0], Qt::Key_Down);
    QTest::keyClicks(w.txtinput[1], QStringLiteral("new"));
    QTest::keyClick(w.txtinput[1], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.txtConfirm);
    QTest::keyClicks(w.txtConfirm, QStringLiteral("new"));

    // Enter in the confirmation box presses 변경.
    prompt.ok();
    QTest::keyClick(w.txtConfirm, Qt::Key_Return);
    QCOMPARE(prompt.last().text, QStringLiteral("기존의 비밀번호가 일치하지 않습니다"));
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), w.txtinput[0]);
    QCOMPARE(w.txtinput[0]->text(), QStringLiteral("wrong"));
    QCOMPARE(w.txtinput[1]->text(), QStringLiteral("new"));

    // A typo in one of the two: refused, both typed again, the password as it was.
    w.txtinput[0]->setText(QStringLiteral("old"));
    w.txtConfirm->setText(QStringLiteral("nwe"));
    prompt.ok();
    QTest::keyClick(w.txtConfirm, Qt::Key_Return);
    QCOMPARE(prompt.last().text, UserPassword::mismatchText());
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), w.txtinput[1]);
    QCOMPARE(w.txtinput[1]->text(), QString());
    QCOMPARE(w.txtConfirm->text(), QString());
    QCOMPARE(stored(), QStringLiteral("old"));

    QTest::keyClicks(w.txtinput[1], QStringLiteral("new"));
    QTest::keyClick(w.txtinput[1], Qt::Key_Return);
    QTest::keyClicks(w.txtConfirm, QStringLiteral("new"));
    prompt.ok();
    QTest::keyClick(w.txtConfirm, Qt::Key_Return);
    QCOMPARE(prompt.last().text, UserPassword::changedText());
    QVERIFY(!w.isVisible());
    QCOMPARE(w.txtConfirm->text(), QString());
    QVERIFY(PasswordHash::matches(stored(), QStringLiteral("new")));

    // Removing the password hashes nothing.
    frmpass again(l.db(), prompt);
    again.txtinput[0]->setText(QStringLiteral("new"));
    prompt.ok();
    again.btnChange->click();
    QCOMPARE(prompt.last().text, UserPassword::removedText());
    QSqlQuery q = l.db().exec(QStringLiteral("SELECT userid, pass FROM user")).query;
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("솔빛셈"));
    QVERIFY(q.value(1).isNull());
    QVERIFY(!q.next());
    QVERIFY(prompt.scriptDone());
}

void tst_LoginWindows::endingTheLoginEndsTheOpening()
{
    AppSettings settings;
    settings.setValue(AppSettings::environment(), QStringLiteral("NoMsg"), QStringLiteral("0"));
    ScriptedPrompt prompt;
    QString file;
    {
        prompt.ok(); // the first start names the new ledger
        Database seed;
        file = InitApp(settings, seed, prompt).gDbFile;
        QVERIFY(seed.exec(QStringLiteral("INSERT INTO user (userid, pass) VALUES ('관리자', 'pw')")).ok());
    }
    const auto digest = [&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
    };
    const QByteArray before = digest();
    prompt.clear();
    Database db;
    frmMain w(settings, db, prompt);
    ModalWatch<frmSplash> esc([&prompt](frmSplash *login) {
        prompt.yes();
        QTest::keyClick(login->TxtPassword, Qt::Key_Escape);
    });
    QVERIFY(!w.Form_Load());
    QVERIFY(esc.shown());
    QCOMPARE(prompt.count(), 1); // no notice, no query
    for (const QWidget *top : QApplication::topLevelWidgets())
        QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
    db.close();
    QCOMPARE(digest(), before);
}

QTEST_MAIN(tst_LoginWindows)
#include "tst_loginwindows.moc"
