// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "core/shell/startup.h"

class AppSettings;
struct LedgerLocation;
class QCheckBox;
class QLabel;
class QPushButton;

// The start-up notice: a welcome, where the ledger lives and the first keys to know.
class FrmInitMsg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmInitMsg)

public:
    FrmInitMsg(AppSettings &settings, const AppPaths &paths, QWidget *parent = nullptr);

    static QString welcomeText(const AppPaths &paths, const LedgerLocation &location);

    QLabel *Picture1 = nullptr;
    QLabel *lblMessage = nullptr;
    QCheckBox *ChkCheck = nullptr;
    QPushButton *Command1 = nullptr;

private:
    AppSettings &m_settings;
};
