// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmsplash.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/ui/formhelpers.h"
#include "loginbg.h"

frmSplash::frmSplash(Database &db, AppSettings &settings, UserPrompt &prompt, std::function<void()> applyTelvoxUse,
                     QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_login(db, settings, prompt),
      m_applyTelvoxUse(std::move(applyTelvoxUse))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("사용자 로그인"));
    setAccessibleName(windowTitle());
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 16);
    auto *grid = new QGridLayout;
    const auto label = [this](const QString &text) {
        auto *l = new QLabel(text, this);
        l->setAccessibleName(text);
        return l;
    };
    TxtUser = named(new QLineEdit(this), QStringLiteral("TxtUser"), QStringLiteral("사용자"));
    TxtUser->setReadOnly(true);
    TxtUser->setFocusPolicy(Qt::NoFocus);
    TxtPassword = named(new QLineEdit(this), QStringLiteral("TxtPassword"), QStringLiteral("비밀번호"));
    TxtPassword->setEchoMode(QLineEdit::Password);
    TxtPassword->setMaxLength(1000);
    grid->addWidget(label(QStringLiteral("사용자")), 0, 0);
    grid->addWidget(TxtUser, 0, 1);
    grid->addWidget(label(QStringLiteral("비밀번호")), 1, 0);
    grid->addWidget(TxtPassword, 1, 1);
    grid->setColumnMinimumWidth(1, 180);
    layout->addLayout(grid);
    lblIdentify = named(new QLabel(QStringLiteral("사용자 인증 중입니다..."), this), QStringLiteral("lblIdentify"),
                        QStringLiteral("사용자 인증 중입니다..."));
    lblIdentify->setAlignment(Qt::AlignCenter);
    // Shown only while a typed password is being checked; its room stays, so nothing moves.
    QSizePolicy keepRoom = lblIdentify->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    lblIdentify->setSizePolicy(keepRoom);
    lblIdentify->hide();
    layout->addWidget(lblIdentify);
    TxtPassword->installEventFilter(this);
    TxtPassword->setFocus();

    LoadLoginBG(this);
    setFixedSize(sizeHint().expandedTo(QSize(320, 150)));
}

void frmSplash::Form_Load()
{
    if (!m_login.load())
        return;
    setWindowTitle(QStringLiteral("일반사용자 로그인"));
    setAccessibleName(windowTitle());
    if (m_applyTelvoxUse)
        m_applyTelvoxUse();
    TxtUser->setText(m_login.userName());
    if (m_login.hasPassword()) {
        TxtPassword->setEchoMode(QLineEdit::Password);
    } else {
        TxtPassword->setEchoMode(QLineEdit::Normal);
        TxtPassword->setText(enterPrompt());
        TxtPassword->selectAll();
    }
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QString typed = TxtPassword->text();
            // A wrong password is gone from the box before its box is shown.
            const bool checking = m_login.hasPassword();
            if (checking) {
                TxtPassword->setText(QString());
                lblIdentify->show();
                lblIdentify->repaint(); // the check holds up the event loop for a moment
            }
            carryOut(m_login.enter(typed, [this] { lblIdentify->hide(); }));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::reject()
{
    carryOut(m_login.escape());
}

void frmSplash::carryOut(Login::Outcome outcome)
{
    if (outcome == Login::Outcome::Admit)
        accept();
    else if (outcome == Login::Outcome::End)
        done(QDialog::Rejected);
    else
        TxtPassword->setFocus();
}

void frmSplash::done(int result)
{
    // setText, unlike clear(), also drops the undo history that would still hold the password.
    TxtPassword->setText(QString());
    TxtUser->setText(QString());
    QDialog::done(result);
}
