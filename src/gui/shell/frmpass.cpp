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
    const auto addBox = [this, grid](int row, const QString &objectName, const QString &caption, const QString &name) {
        auto *label = new QLabel(caption, this);
        label->setAccessibleName(name);
        auto *box = named(new QLineEdit(this), objectName, name);
        box->setMaxLength(1000);
        box->setEchoMode(QLineEdit::Password);
        box->installEventFilter(this);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        return box;
    };
    const QString labels[2] = {QStringLiteral("기존비밀번호"), QStringLiteral("변경할비밀번호")};
    for (int i = 0; i < 2; ++i)
        txtinput[i] = addBox(i, QStringLiteral("txtinput_%1").arg(i), labels[i], labels[i]);
    txtConfirm = addBox(2, QStringLiteral("txtConfirm"), QStringLiteral("비밀번호 확인:"), QStringLiteral("비밀번호 확인"));
    grid->setColumnMinimumWidth(1, 180);
    // What the password does not do is said where it is set, so nobody trusts it with the file.
    auto *note = named(new QLabel(UserPassword::lockNoteText(), this), QStringLiteral("lblLockNote"), QStringLiteral("비밀번호 안내"));
    grid->addWidget(note, 3, 0, 1, 2);
    btnChange = named(new QPushButton(QStringLiteral("변경"), this), QStringLiteral("btnChange"), QStringLiteral("변경"));
    grid->addWidget(btnChange, 4, 1, Qt::AlignRight);
    connect(btnChange, &QPushButton::clicked, this, &frmpass::btnChange_Click);
    setFixedSize(sizeHint());
}

bool frmpass::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtinput[0] || watched == txtinput[1] || watched == txtConfirm)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == txtConfirm && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            btnChange->click();
            return true;
        }
        if (KeyToTab(key, static_cast<QWidget *>(watched)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmpass::btnChange_Click()
{
    switch (m_password.change(txtinput[0]->text(), txtinput[1]->text(), txtConfirm->text())) {
    case UserPassword::Change::Done:
        accept();
        break;
    case UserPassword::Change::WrongCurrent:
        txtinput[0]->setFocus();
        break;
    case UserPassword::Change::Mismatch:
        // Which of the two hidden texts holds the typo cannot be seen: both are typed again.
        txtinput[1]->setText(QString());
        txtConfirm->setText(QString());
        txtinput[1]->setFocus();
        break;
    case UserPassword::Change::NotRead:
    case UserPassword::Change::Failed:
        break;
    }
}

void frmpass::done(int result)
{
    // setText, unlike clear(), also drops the undo history that would still hold the passwords.
    for (QLineEdit *box : {txtinput[0], txtinput[1], txtConfirm})
        box->setText(QString());
    QDialog::done(result);
}
