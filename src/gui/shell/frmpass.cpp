// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmpass.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/ui/formhelpers.h"

frmpass::frmpass(Database &db, UserPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_password(db, prompt)
{
    setObjectName(QStringLiteral("frmpass"));
    setWindowTitle(QStringLiteral("비밀번호변경"));
    setAccessibleName(windowTitle());
    auto *grid = new QGridLayout(this);
    const QString labels[2] = {QStringLiteral("기존비밀번호"), QStringLiteral("변경할비밀번호")};
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(labels[i], this);
        label->setAccessibleName(labels[i]);
        txtinput[i] = named(new QLineEdit(this), QStringLiteral("txtinput_%1").arg(i), labels[i]);
        txtinput[i]->setMaxLength(1000);
        txtinput[i]->installEventFilter(this);
        label->setBuddy(txtinput[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(txtinput[i], i, 1);
    }
    grid->setColumnMinimumWidth(1, 180);
    btnChange = named(new QPushButton(QStringLiteral("변경"), this), QStringLiteral("btnChange"), QStringLiteral("변경"));
    grid->addWidget(btnChange, 2, 1, Qt::AlignRight);
    connect(btnChange, &QPushButton::clicked, this, &frmpass::btnChange_Click);
    setFixedSize(sizeHint());
}

bool frmpass::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtinput[0] || watched == txtinput[1])) {
        if (KeyToTab(static_cast<QKeyEvent *>(event)->key(), static_cast<QWidget *>(watched)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmpass::btnChange_Click()
{
    switch (m_password.change(txtinput[0]->text(), txtinput[1]->text())) {
    case UserPassword::Change::Done:
        accept();
        break;
    case UserPassword::Change::WrongCurrent:
        txtinput[0]->setFocus();
        break;
    case UserPassword::Change::NotRead:
    case UserPassword::Change::Failed:
        break;
    }
}

void frmpass::done(int result)
{
    // setText, unlike clear(), also drops the undo history that would still hold the passwords.
    for (QLineEdit *box : txtinput)
        box->setText(QString());
    QDialog::done(result);
}
