// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include "admitlogin.h"
#include "core/base/textutil.h"
#include "devkit/pseudoterminal.h"
#include "core/callerid/telvox.h"
#include "core/callerid/waitingcalls.h"
#include "core/data/database.h"
#include "core/shell/appsettings.h"
#include "core/shell/startup.h"
#include "gui/callerid/frmtelvoxlist.h"
#include "gui/callerid/frmtelvoxoptions.h"
#include "gui/callerid/frmtelvoxstanbylist.h"
#include "frmmaincontrols.h"
#include "gui/ledger/frmmain.h"
#include "scriptedprompt.h"
#include "templedger.h"

namespace {
const QString env = AppSettings::environment();
const QString reg = AppSettings::registration();
const QString failedCom3 = QStringLiteral("포트 COM3으로 TELVOX OPEN에 실패했습니다.");

// Records the order of the host calls against the stored port at that moment.
class RecordingHost final : public TelvoxHost
{
public:
    explicit RecordingHost(AppSettings &s) : m_s(s) {}
    void OpenTelvox() override { calls << QStringLiteral("open ") + m_s.value(env, QStringLiteral("OpenTelvoxPort1")); }
    void CloseTelvox() override { calls << QStringLiteral("close ") + m_s.value(env, QStringLiteral("OpenTelvoxPort1")); }
    QStringList calls;

private:
    AppSettings &m_s;
};
} // namespace

class tst_CallerId final : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<frmMain> m_w;
    FrmMainControls ui() const { return FrmMainControls(m_w.get()); }

    // A shown main window over a ledger with three customers: 김철수 with two products (one
    // bought twice on one day), 박영희 (mobile only) without vouchers.
    void start(bool use = false)
    {
        m_settings = std::make_unique<AppSettings>();
        m_settings->setValue(env, QStringLiteral("NoMsg"), QStringLiteral("1"));
        m_settings->setValue(reg, QStringLiteral("TelvoxUse"), use ? QStringLiteral("1") : QStringLiteral("0"));
        // No real port of the test machine is ever opened.
        m_settings->setValue(env, QStringLiteral("OpenTelvoxPort1"), QStringLiteral("0"));
        m_settings->setValue(env, QStringLiteral("OpenTelvoxPort2"), QStringLiteral("0"));
        {
            ScriptedPrompt quiet;
            quiet.ok();
            Database seed;
            InitApp(*m_settings, seed, quiet);
            const auto run = [&](const QString &sql) { QVERIFY2(seed.exec(SqlStatement(sql)).ok(), qPrintable(sql)); };
            run(QStringLiteral("INSERT INTO maechul (id, name, tel, phone) VALUES (1, '김철수', '02-123-4567', ''), "
                               "(2, '박영희', '', '010-9876-5432'), (3, '이웃', '031-555-1234', '')"));
            run(QStringLiteral("INSERT INTO total (pro_name, maechul_code, maechul_date) VALUES "
                               "('TV', 1, '2026-12-01'), ('TV', 1, '2026-12-01'), ('냉장고', 1, '2026-12-05'), "
                               "('세탁기', 3, '2026-12-07')"));
        }
        m_db = std::make_unique<Database>();
        m_prompt = std::make_unique<ScriptedPrompt>();
        m_w = std::make_unique<frmMain>(*m_settings, *m_db, *m_prompt);
        m_w->setToday(QDate(2026, 12, 8));
        const auto login = admitLogin();
        QVERIFY(m_w->Form_Load());
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
        QApplication::setActiveWindow(m_w.get());
    }
    QString logLine(int i) const { return ui().txtTelvoxList()->toPlainText().split(QLatin1Char('\n')).value(i); }
    QString sales() const { return ui().pnlinfoSales()->text(); }
    void report(int kind, const QString &number) { m_w->telvox_Received(0, {kind, number}); }

private slots:
    void initTestCase() { TestEnvironment::instance(); }
    void init() { TestEnvironment::instance().reset(); }
    void cleanup()
    {
        m_w.reset();
        m_db.reset();
    }

    void serialCallFillsPanelsAndLog();
    void ncidCallFillsPanels();
    void lookupOutcomes();
    void waitingQueue();
    void failedOpenOncePerPort();
    void twoQuickReportsStayWhole();
    void portDialog();
    void standbyDelete();
    void historySurvivesRestart();
};

void tst_CallerId::serialCallFillsPanelsAndLog()
{
    PseudoTerminal pty;
    QVERIFY2(pty.isOpen(), qPrintable(pty.errorString()));
    start();
    m_settings->setValue(env, QStringLiteral("COM1"), pty.devicePath());
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort2"), QStringLiteral("0"));
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort1"), QStringLiteral("1"));
    QTest::mouseClick(ui().chkUseTelvox(), Qt::LeftButton);
    QVERIFY(m_w->callerId().device(0).IsOpen());
    QCOMPARE(m_settings->value(reg, QStringLiteral("TelvoxUse")), QStringLiteral("1"));

    QVERIFY(pty.write("RING\r\nDATE = 1209\rTIME = 1405\nNMBR=021234567\r\n"));
    QTRY_COMPARE(ui().txtGetTelvox()->text(), QStringLiteral("021234567"));
    QCOMPARE(ui().pnlinfo2(0)->text(), QStringLiteral("김철수"));
    QCOMPARE(ui().pnlinfo2(1)->text(), QStringLiteral("02-123-4567"));
    QCOMPARE(ui().txtCurClient(1)->text(), QStringLiteral("1"));
    QCOMPARE(sales(), QStringLiteral("냉장고(2026-12-05), TV(2026-12-01)"));
    const QString line = logLine(0);
    QVERIFY2(line.startsWith(QStringLiteral("02-123-4567    20")), qPrintable(line));
    QVERIFY2(line.endsWith(QStringLiteral(" 김철수 [제품: 냉장고(2026-12-05), TV(2026-12-01)]")), qPrintable(line));

    // The adapter pulled out: said once, the program goes on; unticking stores the switch off.
    m_prompt->ok();
    pty.close();
    QTRY_COMPARE(m_prompt->count(), 1);
    QVERIFY2(m_prompt->last().text.startsWith(QStringLiteral("포트 COM1의 발신번호 표시기 연결이 끊어졌습니다.")),
             qPrintable(m_prompt->last().text));
    QVERIFY(!m_w->callerId().device(0).IsOpen());
    QTest::qWait(100);
    QCOMPARE(m_prompt->count(), 1);
    QTest::mouseClick(ui().chkUseTelvox(), Qt::LeftButton);
    QCOMPARE(m_settings->value(reg, QStringLiteral("TelvoxUse")), QStringLiteral("0"));
}

void tst_CallerId::ncidCallFillsPanels()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    start(true);
    m_settings->setValue(env, QStringLiteral("COM1"), QStringLiteral("NCID:127.0.0.1:%1").arg(server.serverPort()));
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort1"), QStringLiteral("1"));
    m_w->OpenTelvox();
    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket *client = server.nextPendingConnection();
    client->write("200 Server: ncidd\nCID: *DATE*12092026*TIME*1405*LINE*1*NMBR*01098765432*MESG*NONE*NAME*PARK*\n");
    QTRY_COMPARE(ui().pnlinfo2(0)->text(), QStringLiteral("박영희"));
    QCOMPARE(ui().pnlinfo2(3)->text(), QStringLiteral("010-9876-5432"));
    QCOMPARE(sales(), QStringLiteral("()"));
}

void tst_CallerId::lookupOutcomes()
{
    start();
    // Registered numbers are covered above; an unregistered one leaves two blanks before the
    // products, a short one is no number at all and writes no line.
    QVERIFY(m_w->InputFromTelvox(QStringLiteral("0299998888")));
    QCOMPARE(sales(), QStringLiteral("등록되지 않은 전화번호 입니다.(0299998888)"));
    QCOMPARE(ui().pnlinfo2(0)->text(), QString());
    QVERIFY2(logLine(0).startsWith(QStringLiteral("02-9999-8888   ")), qPrintable(logLine(0)));
    QVERIFY2(logLine(0).endsWith(QStringLiteral("  [제품: 등록되지 않은 전화번호 입니다.(0299998888)]")), qPrintable(logLine(0)));

    QVERIFY(m_w->InputFromTelvox(QStringLiteral("12345")));
    QCOMPARE(ui().txtGetTelvox()->text(), QStringLiteral("12345"));
    QCOMPARE(sales(), QStringLiteral("알수 없는 전화번호 형식입니다.(12345)"));
    QCOMPARE(ui().txtTelvoxList()->toPlainText().count(QLatin1Char('\n')), 1);

    // A display form past 15 characters is written unpadded rather than lost.
    const QString digits = QStringLiteral("031555123412345678901234");
    QVERIFY(m_w->InputFromTelvox(digits));
    QVERIFY2(logLine(0).startsWith(FormatTel(digits) + QStringLiteral("20")), qPrintable(logLine(0)));
    QCOMPARE(ui().txtTelvoxList()->toPlainText().count(QLatin1Char('\n')), 2);
}

void tst_CallerId::waitingQueue()
{
    start();
    // Without a number and nothing waiting: one item with an empty number joins the queue.
    report(2, QString());
    WaitingCalls *queue = qobject_cast<WaitingCalls *>(m_w->stanbyList().List1->model());
    QCOMPARE(queue->rowCount(), 1);
    QVERIFY(queue->index(0).data().toString().startsWith(QStringLiteral(" [")));
    QCOMPARE(ui().txtGetTelvox()->text(), QString());
    // A later empty report pops it; its empty number queues a fresh one.
    report(2, QString());
    QCOMPARE(queue->rowCount(), 1);
    // A waiting number is looked up by the next empty report; numbered reports never queue.
    queue->setStringList({QStringLiteral("0212345678 [어제]")});
    report(1, QStringLiteral("01098765432"));
    QCOMPARE(queue->rowCount(), 1);
    report(2, QString());
    QCOMPARE(queue->rowCount(), 0);
    QCOMPARE(ui().txtGetTelvox()->text(), QStringLiteral("0212345678"));
    QCOMPARE(ui().pnlinfo2(0)->text(), QString()); // 02-1234-5678 is nobody's
    // A report of another kind changes nothing.
    report(3, QStringLiteral("OK"));
    QCOMPARE(ui().txtGetTelvox()->text(), QStringLiteral("0212345678"));
}

void tst_CallerId::failedOpenOncePerPort()
{
    start(true);
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort1"), QStringLiteral("3"));
    m_settings->setValue(env, QStringLiteral("COM3"), QStringLiteral("/nonexistent/tty"));
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort2"), QStringLiteral("x"));
    m_prompt->ok().ok();
    m_w->OpenTelvox();
    QCOMPARE(m_prompt->count(), 2);
    QCOMPARE(m_prompt->asked.at(0).text, failedCom3);
    QCOMPARE(m_prompt->asked.at(0).icon, UserPrompt::Icon::None);
    QCOMPARE(m_prompt->asked.at(1).text, QStringLiteral("포트 COMx으로 TELVOX OPEN에 실패했습니다."));
    QVERIFY(ui().chkUseTelvox()->isChecked());
    // Both ports "0": nothing opens and nothing is said.
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort1"), QStringLiteral("0"));
    m_settings->setValue(env, QStringLiteral("OpenTelvoxPort2"), QStringLiteral("0"));
    m_w->OpenTelvox();
    QCOMPARE(m_prompt->count(), 2);
}

void tst_CallerId::twoQuickReportsStayWhole()
{
    start();
    // The second report arrives while the first lookup lets the event loop run.
    QTimer::singleShot(0, this, [this] { report(1, QStringLiteral("01098765432")); });
    report(1, QStringLiteral("021234567"));
    QTRY_COMPARE(ui().txtTelvoxList()->toPlainText().count(QLatin1Char('\n')), 2);
    QVERIFY2(logLine(1).contains(QStringLiteral(" 김철수 [제품: 냉장고(2026-12-05), TV(2026-12-01)]")), qPrintable(logLine(1)));
    QVERIFY2(logLine(0).contains(QStringLiteral(" 박영희 [제품: ()]")), qPrintable(logLine(0)));
    QCOMPARE(ui().pnlinfo2(0)->text(), QStringLiteral("박영희"));
    QCOMPARE(ui().pnlinfo2(1)->text(), QString());
    QCOMPARE(ui().txtCurClient(1)->text(), QStringLiteral("2"));
}

void tst_CallerId::portDialog()
{
    start();
    RecordingHost host(*m_settings);
    FrmTelvoxOptions dialog(*m_settings);
    dialog.SetMainForm(&host);
    QCOMPARE(dialog.txtPortNo[0]->text(), QStringLiteral("0"));
    dialog.txtPortNo[0]->setText(QStringLiteral(" 4a"));
    dialog.txtPortNo[1]->setText(QStringLiteral("COM4"));
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QCOMPARE(m_settings->value(env, QStringLiteral("OpenTelvoxPort1")), QStringLiteral("4"));
    QCOMPARE(m_settings->value(env, QStringLiteral("OpenTelvoxPort2")), QStringLiteral("0"));
    // Closed under the old numbers, opened under the new.
    QCOMPARE(host.calls, (QStringList{QStringLiteral("close 0"), QStringLiteral("open 4")}));

    FrmTelvoxOptions cancelled(*m_settings);
    cancelled.SetMainForm(&host);
    cancelled.txtPortNo[0]->setText(QStringLiteral("7"));
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    QCOMPARE(m_settings->value(env, QStringLiteral("OpenTelvoxPort1")), QStringLiteral("4"));
    QCOMPARE(host.calls.size(), 2);
}

void tst_CallerId::standbyDelete()
{
    start();
    FrmTelvoxStanbyList &w = m_w->stanbyList();
    auto *queue = qobject_cast<WaitingCalls *>(w.List1->model());
    queue->setStringList({QStringLiteral("a [1]"), QStringLiteral("b [2]"), QStringLiteral("c [3]")});
    m_prompt->ok();
    QTest::mouseClick(w.btnDel, Qt::LeftButton);
    QCOMPARE(m_prompt->last().text, QStringLiteral("삭제할 항목을 선택해 주세요."));
    QCOMPARE(m_prompt->last().icon, UserPrompt::Icon::Information);
    QCOMPARE(queue->rowCount(), 3);
    w.List1->selectionModel()->select(queue->index(0), QItemSelectionModel::Select);
    w.List1->selectionModel()->select(queue->index(1), QItemSelectionModel::Select);
    QTest::mouseClick(w.btnDel, Qt::LeftButton);
    QCOMPARE(queue->stringList(), QStringList{QStringLiteral("c [3]")});
    // Closing only hides: the queue still answers.
    w.show();
    w.close();
    QCOMPARE(m_w->PopWaitingCall(), QStringLiteral("c"));
}

void tst_CallerId::historySurvivesRestart()
{
    start();
    report(1, QStringLiteral("021234567"));
    report(2, QString());
    // Words in place of a number are kinds of call, never looked up as numbers.
    for (const QString &word : {QStringLiteral("Restricted"), QStringLiteral("0000000000")}) {
        report(1, word);
        QCOMPARE(ui().txtGetTelvox()->text(), QStringLiteral("021234567"));
        QVERIFY2(!sales().contains(word), qPrintable(sales()));
    }
    report(2, QStringLiteral("RING"));
    m_w.reset();
    m_db.reset();
    m_prompt = std::make_unique<ScriptedPrompt>();
    m_db = std::make_unique<Database>();
    m_w = std::make_unique<frmMain>(*m_settings, *m_db, *m_prompt);
    {
        const auto login = admitLogin();
        QVERIFY(m_w->Form_Load());
    }
    const QStringList lines = m_w->telvoxList().txtMsg->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QVERIFY2(lines.at(0).endsWith(QStringLiteral("  번호 있음  02-123-4567  김철수")), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).endsWith(QStringLiteral("  발신번호 알 수 없음")), qPrintable(lines.at(1)));
    QVERIFY2(lines.at(2).endsWith(QStringLiteral("  발신번호 표시 제한")), qPrintable(lines.at(2)));
    QVERIFY2(lines.at(3).endsWith(QStringLiteral("  발신번호 알 수 없음")), qPrintable(lines.at(3)));
    QVERIFY2(lines.at(4).endsWith(QStringLiteral("  번호 없이 벨만 울림")), qPrintable(lines.at(4)));
    // A new call joins the open window at the end.
    report(1, QStringLiteral("01098765432"));
    QVERIFY(m_w->telvoxList().txtMsg->toPlainText().trimmed().endsWith(QStringLiteral("010-9876-5432  박영희")));
}

QTEST_MAIN(tst_CallerId)
#include "tst_callerid.moc"
