// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtelvoxlist.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "gui/ui/formhelpers.h"

FrmTelvoxList::FrmTelvoxList(QWidget *parent) : QWidget(parent, Qt::Window)
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

void FrmTelvoxList::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isMinimized())
        showNormal();
}

void FrmTelvoxList::closeEvent(QCloseEvent *event)
{
    // Closing only hides: the lines stay for the next look.
    hide();
    event->ignore();
}

void FrmTelvoxList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QWidget::keyPressEvent(event);
}
