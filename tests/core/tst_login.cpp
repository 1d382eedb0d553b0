// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include "core/shell/appsettings.h"
#include "core/shell/login.h"
#include "core/shell/passwordhash.h"
#include "core/shell/userpassword.h"
#include "scriptedprompt.h"
#include "templedger.h"

// Hashing is slow on purpose: the cases share one hash made once, and each case verifies only
// a few passwords.
namespace {
const QString kPassword = QStringLiteral("Pass word1");
const QString kEscYes = QStringLiteral("<Esc 예>");
const QString kEscNo = QStringLiteral("<Esc 아니오>");
const QString kShort = QStringLiteral("|암호가 일치하지 않습니다.  \n다시 입력하여주십시오.  ");
const QString kSetOne = QStringLiteral("|보안을 위해 암호를 설정해 주시기 바랍니다.");
const QString kEsc = QStringLiteral("판매 장부|솔빛셈 프로그램을 종료하시겠습니까?   ");

QList<QVariantList> userRows(Database &db)
{
    QList<QVariantList> rows;
    QSqlQuery q = db.exec(QStringLiteral("SELECT userid, pass FROM user")).query;
    while (q.next())
        rows.append({q.value(0), q.value(1)});
    return rows;
}

QString storedPass(Database &db)
{
    const auto rows = userRows(db);
    return rows.isEmpty() ? QString() : rows.first().at(1).toString();
}

QStringList boxes(const ScriptedPrompt &prompt)
{
    QStringList out;
    for (const auto &a : prompt.asked)
        out << a.title + QLatin1Char('|') + a.lines();
    return out;
}

// Whether the file holds text in the engine's encoding anywhere, in use or in free space.
bool fileContains(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(text.toUtf8());
}
} // namespace

class tst_Login : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { TestEnvironment::instance().reset(); }
    void enterAndEsc_data();
    void enterAndEsc();
    void olderPlainTextIsUpgraded();
    void changeRules_data();
    void changeRules();
    void lockedLedgerKeepsThePassword();

private:
    QString m_hash;
};

void tst_Login::initTestCase()
{
    TestEnvironment::instance();
    m_hash = PasswordHash::hash(kPassword);
    QVERIFY(PasswordHash::isHash(m_hash));
    QVERIFY(!m_hash.contains(kPassword));
    QVERIFY(!PasswordHash::isHash(QStringLiteral("$argon2id$not a hash")));
}

void tst_Login::enterAndEsc_data()
{
    QTest::addColumn<QString>("user"); // "null", "hash", "no row" or "no table"
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("userName");
    const int admit = int(Login::Outcome::Admit);
    const int end = int(Login::Outcome::End);
    const QString cr = QStringLiteral("\n");
    QTest::newRow("no password: the prompt text asks to set one")
        << "null" << QStringList{QStringLiteral("엔터 치세요")} << QStringList{kSetOne} << admit << "관리자";
    QTest::newRow("no password: an emptied box passes") << "null" << QStringList{QString()} << QStringList{} << admit << "관리자";
    QTest::newRow("empty table") << "no row" << QStringList{QStringLiteral("엔터 치세요")} << QStringList{kSetOne}
                                 << admit << "솔빛셈";
    QTest::newRow("table missing: reported, then Enter admits")
        << "no table" << QStringList{QString()}
        << QStringList{QStringLiteral("Query|Jet Data Base Engine의 식을 확인하세요.\nselect * from user")} << admit
        << "솔빛셈";
    QTest::newRow("letter case and a trailing blank are wrong, then right")
        << "hash" << QStringList{QStringLiteral("pass word1"), kPassword + QLatin1Char(' '), kPassword}
        << QStringList{kShort, kShort} << admit << "관리자";
    QTest::newRow("third wrong password ends")
        << "hash" << QStringList{QString(), QStringLiteral("'; DROP TABLE user; --"), QStringLiteral("엔터 치세요")}
        << QStringList{kShort, kShort,
                       QStringLiteral("|암호가 일치하지 않습니다.") + cr + QStringLiteral("다시확인하시고 입력하여 주시기 바랍니다.   ")
                           + cr + QStringLiteral("문제가 발생하면 판매처로 연락바랍니다.   ") + cr
                           + QStringLiteral("판매처 전화 02-123-4567")}
        << end << "관리자";
    QTest::newRow("Esc, No, then right") << "hash" << QStringList{kEscNo, kPassword} << QStringList{kEsc} << admit << "관리자";
    QTest::newRow("Esc, Yes ends") << "hash" << QStringList{kEscYes} << QStringList{kEsc} << end << "관리자";
}

void tst_Login::enterAndEsc()
{
    QFETCH(QString, user);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, boxes);
    QFETCH(int, outcome);
    QFETCH(QString, userName);
    TempLedger l;
    AppSettings settings;
    settings.setValue(AppSettings::environment(), Login::sellerTelKey(), QStringLiteral("판매처 전화 02-123-4567"));
    if (user == QStringLiteral("no table"))
        l.exec(QStringLiteral("DROP TABLE user"));
    else if (user != QStringLiteral("no row"))
        l.exec(SqlStatement(QStringLiteral("INSERT INTO user (userid, pass) VALUES ('관리자', :p)"))
                   .bind(QStringLiteral("p"), user == QStringLiteral("hash") ? QVariant(m_hash) : QVariant()));
    const QString before = storedPass(l.db());

    ScriptedPrompt prompt;
    prompt.strictOk = false;
    Login login(l.db(), settings, prompt);
    QCOMPARE(login.load(), user != QStringLiteral("no table"));
    QCOMPARE(login.userName(), userName);
    QCOMPARE(login.hasPassword(), user == QStringLiteral("hash"));
    Login::Outcome last = Login::Outcome::Stay;
    for (const QString &t : typed) {
        QCOMPARE(last, Login::Outcome::Stay);
        if (t == kEscYes || t == kEscNo) {
            prompt.answer(t == kEscYes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No);
            last = login.escape();
        } else {
            last = login.enter(t);
        }
    }
    QCOMPARE(int(last), outcome);
    QCOMPARE(::boxes(prompt), boxes);
    for (const auto &a : prompt.asked) // the login's own boxes carry no icon
        QCOMPARE(a.icon, a.title == QStringLiteral("Query") ? UserPrompt::Icon::Information : UserPrompt::Icon::None);
    QCOMPARE(storedPass(l.db()), before); // a login never writes a hash again
}

void tst_Login::olderPlainTextIsUpgraded()
{
    TempLedger l;
    AppSettings settings;
    const QString old = QStringLiteral("O'Neil \"비번\"");
    l.exec(SqlStatement(QStringLiteral("INSERT INTO user (userid, pass) VALUES ('솔빛셈', :p)")).bind(QStringLiteral("p"), old));
    ScriptedPrompt prompt;
    prompt.strictOk = false;
    {
        Login login(l.db(), settings, prompt);
        QVERIFY(login.load());
        QCOMPARE(login.enter(QStringLiteral("o'neil \"비번\"")), Login::Outcome::Stay);
        QCOMPARE(storedPass(l.db()), old); // a wrong entry changes nothing
        QCOMPARE(login.enter(old), Login::Outcome::Admit);
    }
    QVERIFY(PasswordHash::isHash(storedPass(l.db())));
    QCOMPARE(userRows(l.db()).size(), 1);
    QVERIFY(!fileContains(l.path(), old));
    Login again(l.db(), settings, prompt);
    QVERIFY(again.load());
    QCOMPARE(again.enter(old), Login::Outcome::Admit);
    QCOMPARE(prompt.count(), 1); // the one wrong entry
}

void tst_Login::changeRules_data()
{
    QTest::addColumn<QString>("user"); // as above, plus "two rows"
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("box");
    const int done = int(UserPassword::Change::Done);
    const QString changed = QStringLiteral("|비밀번호를 변경했습니다.\n다음 시작부터 새 비밀번호를 입력하세요.");
    QString longText;
    while (longText.size() < 1000)
        longText += QStringLiteral("따옴표' \"quote\" ");
    longText.truncate(1000);
    QTest::newRow("wrong current changes nothing") << "hash" << "pass word1" << "new" << "new" << int(UserPassword::Change::WrongCurrent)
                                                   << "|기존의 비밀번호가 일치하지 않습니다";
    // A typo in the new password would lock the owner out at the next start.
    QTest::newRow("confirmation differs: nothing written")
        << "hash" << kPassword << "new1" << "new2" << int(UserPassword::Change::Mismatch)
        << "|변경할 비밀번호와 확인한 비밀번호가 다릅니다.\n두 칸에 같은 비밀번호를 다시 입력하세요.";
    QTest::newRow("removing needs an empty confirmation") << "hash" << kPassword << "" << "x" << int(UserPassword::Change::Mismatch)
                                                          << "|변경할 비밀번호와 확인한 비밀번호가 다릅니다.\n두 칸에 같은 비밀번호를 다시 입력하세요.";
    QTest::newRow("empty new password removes it, one row left")
        << "two rows" << kPassword << "" << "" << done << "|비밀번호를 없앴습니다.\n다음 시작부터 비밀번호를 묻지 않습니다.";
    QTest::newRow("first password: quotes, Hangul, 1,000 characters") << "null" << "" << longText << longText << done << changed;
    QTest::newRow("empty table: the row is made") << "no row" << "" << "   " << "   " << done << changed;
    QTest::newRow("table missing") << "no table" << "" << "new" << "new" << int(UserPassword::Change::NotRead)
                                   << "Query|Jet Data Base Engine의 식을 확인하세요.\nselect * from user";
}

void tst_Login::changeRules()
{
    QFETCH(QString, user);
    QFETCH(QString, current);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(int, result);
    QFETCH(QString, box);
    TempLedger l;
    if (user == QStringLiteral("no table"))
        l.exec(QStringLiteral("DROP TABLE user"));
    const QVariant pass = user == QStringLiteral("null") ? QVariant() : QVariant(m_hash);
    const int rows = user == QStringLiteral("two rows") ? 2 : user == QStringLiteral("no row") || user == QStringLiteral("no table") ? 0 : 1;
    for (int i = 0; i < rows; ++i)
        l.exec(SqlStatement(QStringLiteral("INSERT INTO user (userid, pass) VALUES ('관리자', :p)")).bind(QStringLiteral("p"), pass));
    const auto before = user == QStringLiteral("no table") ? QList<QVariantList>() : userRows(l.db());

    ScriptedPrompt prompt;
    prompt.strictOk = false;
    UserPassword password(l.db(), prompt);
    QCOMPARE(int(password.change(current, newPassword, confirmation)), result);
    QCOMPARE(::boxes(prompt), box.isEmpty() ? QStringList() : QStringList{box});
    if (result != int(UserPassword::Change::Done)) {
        if (user != QStringLiteral("no table"))
            QVERIFY(userRows(l.db()) == before);
        return;
    }
    const auto after = userRows(l.db());
    QCOMPARE(after.size(), 1);
    if (newPassword.isEmpty()) {
        QCOMPARE(after.first().at(0).toString(), programTitle());
        QVERIFY(after.first().at(1).isNull());
        return;
    }
    QCOMPARE(after.first().at(0).toString(), rows ? QStringLiteral("관리자") : programTitle());
    const QString stored = after.first().at(1).toString();
    QVERIFY(PasswordHash::isHash(stored));
    QVERIFY(PasswordHash::matches(stored, newPassword));
    if (!newPassword.trimmed().isEmpty())
        QVERIFY(!fileContains(l.path(), newPassword));
}

void tst_Login::lockedLedgerKeepsThePassword()
{
    TempLedger l;
    l.exec(SqlStatement(QStringLiteral("INSERT INTO user (userid, pass) VALUES ('관리자', :p)")).bind(QStringLiteral("p"), m_hash));
    Database other;
    QVERIFY(other.open(l.path()));
    QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")).ok());
    ScriptedPrompt prompt;
    prompt.strictOk = false;
    UserPassword password(l.db(), prompt);
    QCOMPARE(password.change(kPassword, QStringLiteral("new"), QStringLiteral("new")), UserPassword::Change::Failed);
    QCOMPARE(prompt.count(), 1);
    QCOMPARE(prompt.last().icon, UserPrompt::Icon::Warning);
    QVERIFY2(prompt.last().text.contains(QStringLiteral("locked")), qPrintable(prompt.last().text));
    QVERIFY(!prompt.last().text.contains(QStringLiteral("new")));
    QVERIFY(other.exec(QStringLiteral("ROLLBACK")).ok());
    QCOMPARE(storedPass(l.db()), m_hash);
}

QTEST_APPLESS_MAIN(tst_Login)
#include "tst_login.moc"
