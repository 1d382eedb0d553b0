// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QSet>
#include <QTranslator>

#include "core/accounts/balancesexport.h"
#include "core/data/database.h"
#include "core/documents/taxinvoicecommand.h"
#include "core/ledger/exportcommand.h"
#include "core/shell/appsettings.h"
#include "core/shell/ledgerbackup.h"
#include "core/shell/startupsequence.h"
#include "gui/ledger/frmmain.h"
#include "gui/accounts/accountprinting.h"
#include "gui/documents/statementprinting.h"
#include "gui/report/ledgerprinting.h"
#include "gui/report/reportfonts.h"
#include "gui/shell/importprogress.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/typingeditor.h"
#include "gui/ui/windowfit.h"
#include "gui/ui/messageboxprompt.h"

namespace {

void sayNoDisplay()
{
    std::fputs("솔빛셈을 실행하려면 화면(디스플레이)이 필요합니다.\n"
               "그래픽 데스크톱에서 실행하거나, 화면이 없는 환경에서는 xvfb-run ./solbitsem 처럼 실행하십시오.\n",
               stderr);
    std::fflush(stderr);
}

// Without a display Qt would abort with a plugin dump; say plainly what is missing instead.
bool hasDisplay()
{
#if defined(Q_OS_LINUX)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

// A display that is configured but cannot be reached (or refuses us) makes Qt end with a fatal
// message and abort() while the application object is made. In that moment a fatal message
// means exactly that, so the program says it as for a missing display and ends cleanly. The
// other messages of that moment are held and passed on once the application exists.
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler g_defaultHandler = nullptr;
QList<HeldMessage> g_held;

void startupMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        sayNoDisplay();
        std::_Exit(1);
    }
    g_held.append({type, QByteArray(context.category), text});
}

void passOnHeldMessages()
{
    qInstallMessageHandler(g_defaultHandler);
    for (const HeldMessage &m : std::as_const(g_held))
        g_defaultHandler(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()), m.text);
    g_held.clear();
}

// The shop's own Korean font where it has one, else the one the program carries, so that the
// windows never show Hangul as boxes either.
void chooseKoreanFont()
{
    const QStringList preferred{QStringLiteral("굴림"), QStringLiteral("Gulim"), QStringLiteral("NanumGothic"),
                                QStringLiteral("나눔고딕"), QStringLiteral("Noto Sans CJK KR"), reportFontFamily()};
    const QStringList families = QFontDatabase::families();
    for (const QString &f : preferred) {
        if (families.contains(f)) {
            QFont font(f);
            font.setPointSize(9);
            QApplication::setFont(font);
            return;
        }
    }
}

// The program speaks Korean whatever the desktop's language: month and day names in the
// calendars, and Qt's own dialogs (printing, saving a file) and edit menus.
void speakKorean(QApplication &app)
{
    const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    QLocale::setDefault(korean);
    auto *qt = new QTranslator(&app);
    if (qt->load(korean, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qt);
}

// The window takes no options of its own; Qt's own (-platform, -style, ... also written with
// two dashes) pass. Anything else with two dashes is most likely a command form misspelt, which
// must not open the window in a script.
std::optional<QString> unknownOption(int argc, char *argv[])
{
    static const QSet<QByteArray> qtOptions{"--platform", "--platformpluginpath", "--platformtheme", "--plugin",
                                            "--style", "--stylesheet", "--qwindowgeometry", "--qwindowtitle",
                                            "--qwindowicon", "--reverse", "--session", "--display", "--widgetcount"};
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--") && !qtOptions.contains(arg.split('=').first()))
            return QString::fromLocal8Bit(arg);
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], printLedgerOption()) == 0)
        return runPrintLedgerCommand(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], printClientLedgerOption()) == 0)
        return runPrintClientLedgerCommand(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], printStatementOption()) == 0)
        return runPrintStatementCommand(argc, argv);
    if (const auto exported = runExportLedger(argc, argv))
        return *exported;
    if (const auto exported = runExportTaxInvoice(argc, argv))
        return *exported;
    if (const auto exported = runExportBalances(argc, argv))
        return *exported;
    if (const auto option = unknownOption(argc, argv)) {
        const QString text = QStringLiteral("알 수 없는 옵션입니다: %1\n"
                                            "쓸 수 있는 옵션:\n"
                                            "  solbitsem --export-ledger OUT.xlsx|OUT.csv [--from 날짜 --to 날짜 | --product 품목명 | --client 판매처명]\n"
                                            "  solbitsem --export-balances OUT.xlsx|OUT.csv (--customers|--suppliers) [--from 날짜] [--to 날짜]\n"
                                            "  solbitsem --print-ledger OUT.pdf [--from 날짜 --to 날짜 | --product 품목명 | --client 판매처명]\n"
                                            "  solbitsem --print-client-ledger OUT.pdf (--customer 코드 | --supplier 코드) [--from 날짜 --to 날짜]\n"
                                            "  solbitsem --print-statement OUT.pdf --customer 코드 --date 날짜\n"
                                            "  solbitsem --export-taxinvoice OUT.xlsx --month YYYY-MM [--per-voucher] [--date 날짜]\n"
                                            "옵션 없이 실행하면 장부 창이 열립니다.\n")
                                 .arg(*option);
        std::fputs(text.toUtf8().constData(), stderr);
        return 2;
    }
    if (!hasDisplay()) {
        sayNoDisplay();
        return 1;
    }
    g_defaultHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    passOnHeldMessages();
    QApplication::setOrganizationName(QStringLiteral("솔빛셈"));
    QApplication::setApplicationName(QStringLiteral("솔빛셈"));
    QApplication::setApplicationVersion(QStringLiteral(SOLBITSEM_VERSION));
    speakKorean(app);
    chooseKoreanFont();
    InstallButtonKeys();
    InstallWindowFit();
    InstallTypingOpensEditor();

    AppSettings settings;
    Database db;
    MessageBoxPrompt prompt;
    frmMain window(settings, db, prompt);
    prompt.setParent(&window);
    ImportProgress importer(&window);
    StartupSequence startup(settings, db, prompt);
    startup.setImporter(&importer);
    startup.setBringToFront([&window] {
        // During the login its box is the one to show; the window itself is not shown yet.
        QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &window;
        if (!front->isVisible())
            return;
        front->setWindowState((front->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        front->raise();
        front->activateWindow();
    });
    if (!startup.run(window))
        return startup.refused() ? 1 : 0;
    LedgerBackup backup(settings, db, prompt, startup.paths());
    backup.startDailyBackup();
    window.show();
    return app.exec();
}
