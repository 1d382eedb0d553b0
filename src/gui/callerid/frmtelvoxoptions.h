// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class AppSettings;
class QLineEdit;
class QPushButton;

// The window whose caller-ID ports the port dialog closes and opens again.
class TelvoxHost
{
public:
    virtual ~TelvoxHost() = default;
    virtual void OpenTelvox() = 0;
    virtual void CloseTelvox() = 0;
};

// "발신번호 표시기 포트설정": the two ports of the caller-ID members. OK closes the ports under
// the numbers stored so far, stores the new ones and opens again.
class FrmTelvoxOptions final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmTelvoxOptions)

public:
    explicit FrmTelvoxOptions(AppSettings &settings, QWidget *parent = nullptr);

    // Set after the dialog is made: loading clears it.
    void SetMainForm(TelvoxHost *host) { m_host = host; }

    QLineEdit *txtPortNo[2] = {};
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void cmdOK_Click();

    AppSettings &m_settings;
    TelvoxHost *m_host = nullptr;
};
