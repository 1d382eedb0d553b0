// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "namesearchwindow.h"

class QComboBox;
class QLabel;

// The product search window "상품검색", with the group filter cmbGroup.
class FrmProduct_sel final : public NameSearchWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmProduct_sel)

public:
    FrmProduct_sel(Database &db, UserPrompt &prompt, QWidget *parent = nullptr);
    void Refresh_Sheet() override;
    // The group filter's text; set before FindRecords.
    void setGroup(const QString &sGroup);
    QString Group() const;

    QLabel *lblGroup = nullptr;
    QComboBox *cmbGroup = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FillGroupList();
};
