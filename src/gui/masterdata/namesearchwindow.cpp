// SPDX-License-Identifier: GPL-3.0-or-later
#include "namesearchwindow.h"

#include <QGuiApplication>
#include <QTableView>

#include "core/base/userprompt.h"
#include "core/masterdata/texttablemodel.h"
#include "gui/ui/spreadhelpers.h"

NameSearchWindow::NameSearchWindow(Database &db, UserPrompt &prompt, NameList::Kind kind, QWidget *parent)
    : SearchWindow(db, prompt, {QStringLiteral("이름")}, parent), m_names(db, prompt, kind)
{
}

NameSearchWindow::~NameSearchWindow() = default;

void NameSearchWindow::fill(const std::optional<QStringList> &names)
{
    QList<QStringList> rows;
    if (names) {
        rows.reserve(names->size());
        for (const QString &n : *names)
            rows.append(QStringList{n});
    }
    model().setRows(std::move(rows));
}

void NameSearchWindow::takeRow(int row)
{
    m_result = model().text(row, 0);
}

void NameSearchWindow::cmdAdd_Click()
{
    QString name = m_prompt.inputText(m_names.addPrompt(), {}, {}).value_or(QString());
    if (!name.trimmed().isEmpty() && m_names.Add(name)) {
        model().appendRow({name});
        spList->setCurrentIndex(model().index(model().rowCount() - 1, 0));
        spList->setFocus();
    }
}

void NameSearchWindow::cmdEdit_Click()
{
    const int row = activeRow();
    if (row < 0) {
        m_prompt.MsgInfo(QStringLiteral("수정할 자료를 먼저 선택하세요."));
        return;
    }
    if (const auto renamed = m_names.rename(model().text(row, 0)))
        model().setText(row, 0, *renamed);
    spList->setFocus();
}

void NameSearchWindow::cmdDel_Click()
{
    const int row = activeRow();
    if (row < 0) {
        m_prompt.MsgInfo(QStringLiteral("삭제할 자료를 먼저 선택하세요."));
        return;
    }
    if (m_names.Delete(model().text(row, 0))) {
        DeleteRow(spList, -2, true, true);
        spList->setFocus();
    }
}
