// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmdeleted.h"

#include <QPushButton>
#include <QTableView>

#include "core/base/userprompt.h"
#include "core/data/recordset.h"
#include "core/masterdata/texttablemodel.h"

FrmDeleted::FrmDeleted(Database &db, UserPrompt &prompt, QWidget *parent)
    : ListWindow(QStringLiteral("frmDeleted"), RecycleBin::title(), RecycleBin::headers(), parent), m_bin(db),
      m_prompt(prompt)
{
    spList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    model().setRightAligned(RecycleBin::amountColumns());
    cmdRestore = addCommand(QStringLiteral("cmdRestore"), QStringLiteral("복원(&R)"), QStringLiteral("복원"));
    cmdEmpty = addCommand(QStringLiteral("cmdEmpty"), QStringLiteral("비우기(&E)"), QStringLiteral("비우기"));
    connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
    connect(cmdEmpty, &QPushButton::clicked, this, [this] { cmdEmpty_Click(); });
    Refresh_List();
}

void FrmDeleted::Refresh_List()
{
    if (const SqlError e = m_bin.load(m_entries); e.isError())
        m_prompt.show(queryError(e));
    QList<QStringList> rows;
    for (const RecycleBin::Entry &e : m_entries)
        rows << RecycleBin::texts(e);
    model().setRows(rows);
    if (!rows.isEmpty())
        spList->selectRow(0);
}

void FrmDeleted::cmdRestore_Click()
{
    QList<qint64> ids;
    for (int row : selectedRows())
        ids << m_entries.at(static_cast<size_t>(row)).row.totalId;
    if (m_bin.restoreSelected(ids, m_prompt)) {
        Refresh_List();
        emit restored(ids);
    }
}

void FrmDeleted::cmdEmpty_Click()
{
    if (m_bin.askAndEmpty(static_cast<int>(m_entries.size()), m_prompt))
        Refresh_List();
}
