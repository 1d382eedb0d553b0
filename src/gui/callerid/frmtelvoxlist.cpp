// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtelvoxlist.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "gui/ui/formhelpers.h"

FrmTelvoxList::FrmTelvoxList(QWidget *parent) : HidingWindow(parent)
{
    setObjectName(QStringLiteral("FrmTelvoxList"));
    setWindowTitle(QStringLiteral("수신번호 내역"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    txtMsg = named(new QPlainTextEdit(this), QStringLiteral("txtMsg"), QStringLiteral("수신번호 내역"));
    txtMsg->setReadOnly(true);
    txtMsg->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtMsg->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(txtMsg);
    resize(520, 360);
}

void FrmTelvoxList::AddMsg(const QString &sMsg)
{
    QTextCursor end(txtMsg->document());
    end.movePosition(QTextCursor::End);
    // Every line ends with a break, so the next one starts on its own line.
    end.insertText(sMsg + QLatin1Char('\n'));
    txtMsg->setTextCursor(end);
}
