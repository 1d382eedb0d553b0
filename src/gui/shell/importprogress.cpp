// SPDX-License-Identifier: GPL-3.0-or-later
#include "importprogress.h"

#include <QApplication>
#include <QProgressDialog>

#include "core/migrate/firststartimport.h"

LedgerImporter::Outcome ImportProgress::importLedger(const QString &oldLedger, const AppPaths &paths)
{
    QProgressDialog dialog(QStringLiteral("예전 장부를 가져오고 있습니다…"), QStringLiteral("취소"), 0, 100, m_parent);
    dialog.setWindowTitle(QStringLiteral("장부 가져오기"));
    dialog.setAccessibleName(QStringLiteral("장부 가져오기"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Esc rejects the dialog without cancelling it; here it means the same as the button.
    QObject::connect(&dialog, &QDialog::rejected, &dialog, &QProgressDialog::cancel);
    dialog.setValue(0);
    FirstStartImport import([&dialog](qint64 done, qint64 total) {
        // The dialog counts in int; a percentage keeps any number of rows in range.
        dialog.setValue(total > 0 ? static_cast<int>(done * 100 / total) : 0);
        QApplication::processEvents();
        return !dialog.wasCanceled();
    });
    return import.importLedger(oldLedger, paths);
}
