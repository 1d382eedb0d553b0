// SPDX-License-Identifier: GPL-3.0-or-later
#include "loginbg.h"

#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include "core/shell/appfolders.h"

bool LoadLoginBG(QWidget *form)
{
    if (!form)
        return false;
    const QString file = AppFolders::programFile(QStringLiteral("Image/loginbg.jpg"));
    if (file.isEmpty())
        return false;
    const QPixmap picture(file);
    if (picture.isNull())
        return false;
    QPalette p = form->palette();
    p.setBrush(QPalette::Window, QBrush(picture));
    form->setPalette(p);
    form->setAutoFillBackground(true);
    return true;
}
