// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A caller-ID side window that lives on while hidden: closing it (close box or Esc) only
// hides it, and activating it when minimised brings it back to its normal size.
class HidingWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HidingWindow)

public:
    explicit HidingWindow(QWidget *parent = nullptr) : QWidget(parent, Qt::Window) {}

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
