// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentcommands.h"

#include <set>

#include <QDate>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTableView>

#include "core/base/userprompt.h"
#include "core/ledger/ledgermodel.h"
#include "core/shell/startup.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/documents/frmbusinessinfo.h"
#include "gui/documents/frmtaxinvoice.h"
#include "gui/documents/statementprinting.h"
#include "safetycommands.h"

QString statementMenuItem()
{
    return QStringLiteral("거래명세표 인쇄(&D)");
}

QString dayStatementMenuItem()
{
    return QStringLiteral("당일 거래명세표 인쇄(&Y)");
}

void addDocumentCommands(QWidget &window, SafetyCommandHost &host, Database &db, UserPrompt &prompt)
{
    // The ledger and the prompt live as long as the window; a client ledger outliving it opens nothing.
    setDayStatement([&db, &prompt, &host, guard = QPointer<QWidget>(&window)](QWidget *parent, qint64 code,
                                                                             const QString &date) {
        if (guard)
            printStatementOfDay(parent, db, prompt, ClientCode::fromNumber(code), QDate::fromString(date, Qt::ISODate), host.paths().gRptPath);
    });
    host.addToolCommand(QStringLiteral("사업자 정보(&Q)"), [&] {
        FrmBusinessInfo w(db, prompt, &window);
        if (w.load())
            w.exec();
    });
    host.addToolCommand(QStringLiteral("세금계산서 자료(&X)"), [&] {
        FrmTaxInvoice w(db, prompt, host.paths().gRptPath, &window);
        w.exec();
    });
}

void printStatementOfSelection(QWidget &window, const QTableView &grid, const LedgerModel &model, Database &db,
                               UserPrompt &prompt, const QString &reportFolder)
{
    std::set<int> rows;
    for (const QModelIndex &index : grid.selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty() && grid.currentIndex().isValid())
        rows.insert(grid.currentIndex().row());
    QList<qint64> keys;
    for (const int r : rows)
        if (r < model.rowCount() && model.row(r).totalId != 0)
            keys.append(model.row(r).totalId);
    if (keys.empty()) {
        prompt.MsgInfo(QStringLiteral("거래명세표로 인쇄할 저장된 행을 먼저 선택하세요."), QStringLiteral("거래명세표"));
        return;
    }
    printStatement(&window, db, prompt, keys, reportFolder);
}

void printDayStatementOfRow(QWidget &window, const QTableView &grid, const LedgerModel &model, Database &db,
                            UserPrompt &prompt, const QString &reportFolder)
{
    const int r = grid.currentIndex().row();
    const bool sold = r >= 0 && r < model.rowCount() && model.row(r).totalId != 0
                      && model.row(r).maechulCode.isValid() && !model.row(r).maechulDate.isEmpty();
    if (!sold) {
        prompt.MsgInfo(QStringLiteral("거래명세표로 인쇄할 판매처와 판매일자가 있는 행을 먼저 선택하세요."),
                       QStringLiteral("거래명세표"));
        return;
    }
    printStatementOfDay(&window, db, prompt, model.row(r).maechulCode,
                        QDate::fromString(model.row(r).maechulDate, Qt::ISODate), reportFolder);
}

