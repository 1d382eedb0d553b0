// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentcommands.h"

#include <set>

#include <QDate>
#include <QItemSelectionModel>
#include <QPointer>

#include "core/base/userprompt.h"
#include "frmmain.h"
#include "gui/accounts/frmclientledger.h"
#include "gui/documents/frmbusinessinfo.h"
#include "gui/documents/frmtaxinvoice.h"
#include "gui/documents/statementprinting.h"
#include "ledgergrid.h"

QString statementMenuItem()
{
    return QStringLiteral("거래명세표 인쇄(&D)");
}

void addDocumentCommands(frmMain &window, Database &db, UserPrompt &prompt)
{
    // The ledger and the prompt live as long as the window; a client ledger outliving it opens nothing.
    setDayStatement([&db, &prompt, guard = QPointer<frmMain>(&window)](QWidget *parent, qint64 code, const QString &date) {
        if (guard)
            printStatementOfDay(parent, db, prompt, code, QDate::fromString(date, Qt::ISODate), guard->paths().gRptPath);
    });
    window.addToolCommand(QStringLiteral("사업자 정보(&Q)"), [&] {
        FrmBusinessInfo w(db, prompt, &window);
        if (w.load())
            w.exec();
    });
    window.addToolCommand(QStringLiteral("세금계산서 자료(&X)"), [&] {
        FrmTaxInvoice w(db, prompt, window.paths().gRptPath, &window);
        w.exec();
    });
}

void printStatementOfSelection(frmMain &window, Database &db, UserPrompt &prompt)
{
    std::set<int> rows;
    for (const QModelIndex &index : window.spList->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty() && window.spList->currentIndex().isValid())
        rows.insert(window.spList->currentIndex().row());
    QList<qint64> keys;
    for (const int r : rows)
        if (r < window.model().rowCount() && window.model().row(r).totalId != 0)
            keys.append(window.model().row(r).totalId);
    if (keys.empty()) {
        prompt.MsgInfo(QStringLiteral("거래명세표로 인쇄할 저장된 행을 먼저 선택하세요."), QStringLiteral("거래명세표"));
        return;
    }
    printStatement(&window, db, prompt, keys, window.paths().gRptPath);
}
