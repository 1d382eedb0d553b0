// SPDX-License-Identifier: GPL-3.0-or-later
#include "safetycommands.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QMenu>

#include "core/base/userprompt.h"
#include "core/ledger/ledgerexport.h"
#include "core/ledger/liveledger.h"
#include "core/shell/ledgerbackup.h"
#include "core/shell/startupsequence.h"
#include "gui/shell/frmledgerlocation.h"
#include "gui/shell/frmbackup.h"
#include "frmdeleted.h"
#include "gui/ui/filedialogs.h"

namespace {

void exportLedger(QWidget &window, SafetyCommandHost &host, UserPrompt &prompt, const QString &suffix,
                  const QString &filter)
{
    const QString title = QStringLiteral("장부 저장");
    const QString suggested = QDir(host.paths().gRptPath)
                                  .filePath(QStringLiteral("장부_") + host.today().toString(QStringLiteral("yyyyMMdd"))
                                            + QLatin1Char('.') + suffix);
    QString path = saveFileName(&window, title, suggested, filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        path += QLatin1Char('.') + suffix;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = LedgerExport::write(host.model(), path);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        prompt.MsgWarn(QStringLiteral("저장하지 못했습니다.\r\n") + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + error,
                       title);
    else
        prompt.MsgInfo(QStringLiteral("저장했습니다.\r\n") + QDir::toNativeSeparators(path), title);
}

} // namespace

void addSafetyCommands(QWidget &window, SafetyCommandHost &host, StartupSequence::View &view, AppSettings &settings,
                       Database &db, UserPrompt &prompt)
{
    host.addToolCommand(QStringLiteral("백업(&K)"), [&] {
        LedgerBackup(settings, db, prompt, host.paths()).backupNow();
    });
    host.addToolCommand(QStringLiteral("복원(&R)"), [&] {
        LedgerBackup backup(settings, db, prompt, host.paths());
        FrmBackup list(backup, &window);
        list.exec();
        if (list.restored()) {
            view.FillGroupCombo();
            view.DispList();
        }
    });
    host.addToolCommand(QStringLiteral("삭제된 전표(&D)"), [&] {
        FrmDeleted bin(db, prompt, &window);
        QList<qint64> restored;
        QObject::connect(&bin, &FrmDeleted::restored, &window, [&restored](const QList<qint64> &ids) { restored << ids; });
        bin.exec();
        // A restored voucher the owner does not see is typed again: the grid and its totals take
        // it now, where the shown query puts it, and the current row stays where it was. (While
        // the bin, a modal window, is open the grid holds its rows still.)
        if (LiveLedger *live = host.live(); live && !restored.isEmpty()) {
            for (const qint64 id : std::as_const(restored))
                live->noteChange(id, VoucherChanges::Op::Insert);
            live->applyPending();
        }
    });
    host.addToolCommand(QStringLiteral("엑셀로 저장(&E)"), [&] {
        exportLedger(window, host, prompt, QStringLiteral("xlsx"), QStringLiteral("Excel 통합 문서 (*.xlsx)"));
    });
    host.addToolCommand(QStringLiteral("CSV로 저장(&V)"), [&] {
        exportLedger(window, host, prompt, QStringLiteral("csv"), QStringLiteral("CSV (쉼표로 분리) (*.csv)"));
    });
    host.addToolCommand(QStringLiteral("장부 위치(&L)"), [&] {
        FrmLedgerLocation location(settings, prompt, &window);
        location.exec();
    });
    // Shown while a server ledger could not be opened; the login may end the program here as
    // at the start.
    QAction *retry = host.addToolCommand(QStringLiteral("장부 서버 다시 연결(&N)"), [&] {
        if (!StartupSequence(settings, db, prompt).reconnect(view))
            window.close();
    });
    for (QObject *o : retry->associatedObjects())
        if (auto *menu = qobject_cast<QMenu *>(o))
            QObject::connect(menu, &QMenu::aboutToShow, retry,
                             [retry, &settings, &db] { retry->setVisible(StartupSequence::canReconnect(settings, db)); });
    retry->setVisible(false);
}
