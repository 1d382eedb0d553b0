// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hidingwindow.h"

class QPlainTextEdit;

// "수신번호 내역": the calls received, oldest first.
class FrmTelvoxList final : public HidingWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmTelvoxList)

public:
    explicit FrmTelvoxList(QWidget *parent = nullptr);

    // Appends a line at the end.
    void AddMsg(const QString &sMsg);

    QPlainTextEdit *txtMsg = nullptr;

};
