// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmgroup_sel.h"

#include <QApplication>
#include <QLineEdit>

#include "core/masterdata/texttablemodel.h"

FrmGroup_sel::FrmGroup_sel(Database &db, UserPrompt &prompt, QWidget *parent)
    : NameSearchWindow(db, prompt, NameList::Kind::Group, parent)
{
    setObjectName(QStringLiteral("FrmGroup_sel"));
    setWindowTitle(QStringLiteral("그룹검색"));
    setColumnWidths({31.75});
    resize(sizeHint().width(), 420);
}

void FrmGroup_sel::Refresh_Sheet()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model().clear();
    fill(m_names.list(txtName->text()));
    QApplication::restoreOverrideCursor();
}
