// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmbackup.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTableView>

#include "core/masterdata/texttablemodel.h"

FrmBackup::FrmBackup(LedgerBackup &backup, QWidget *parent)
    : ListWindow(QStringLiteral("frmBackup"), QStringLiteral("복원"),
                 {QStringLiteral("백업 일시"), QStringLiteral("전표 수"), QStringLiteral("크기"), QStringLiteral("검사"),
                  QStringLiteral("파일")},
                 parent),
      m_backup(backup)
{
    spList->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdRestore = addCommand(QStringLiteral("cmdRestore"), QStringLiteral("복원(&R)"), QStringLiteral("복원"));
    connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
    Refresh_List();
}

void FrmBackup::Refresh_List()
{
    // What each file is, not what backup.ini says of it.
    m_entries = m_backup.examined();
    QList<QStringList> rows;
    const QLocale c(QLocale::C);
    for (const LedgerBackup::Entry &e : std::as_const(m_entries))
        rows << QStringList{e.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            e.vouchers < 0 ? QString() : c.toString(e.vouchers), LedgerBackup::sizeText(e.size),
                            e.check == QStringLiteral("ok") ? QStringLiteral("정상") : QStringLiteral("손상"),
                            QDir::toNativeSeparators(e.path)};
    model().setRows(rows);
    if (!rows.isEmpty())
        spList->selectRow(0);
}

void FrmBackup::cmdRestore_Click()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    if (m_backup.restore(m_entries.at(rows.front()))) {
        m_restored = true;
        accept();
    }
}
