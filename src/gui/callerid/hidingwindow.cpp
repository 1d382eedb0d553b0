// SPDX-License-Identifier: GPL-3.0-or-later
#include "hidingwindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

void HidingWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isMinimized())
        showNormal();
}

void HidingWindow::closeEvent(QCloseEvent *event)
{
    hide();
    event->ignore();
}

void HidingWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QWidget::keyPressEvent(event);
}
