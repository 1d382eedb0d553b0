// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmproduct_sel.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include "core/masterdata/texttablemodel.h"
#include "core/layout/twips.h"
#include "gui/ui/combohelpers.h"
#include "gui/ui/formhelpers.h"

FrmProduct_sel::FrmProduct_sel(Database &db, UserPrompt &prompt, QWidget *parent)
    : NameSearchWindow(db, prompt, NameList::Kind::Product, parent)
{
    setObjectName(QStringLiteral("FrmProduct_sel"));
    setWindowTitle(QStringLiteral("상품검색"));
    lblGroup = new QLabel(QStringLiteral("그룹:"), this);
    lblGroup->setObjectName(QStringLiteral("lblGroup"));
    cmbGroup = named(new QComboBox(this), QStringLiteral("cmbGroup"), QStringLiteral("그룹:"));
    cmbGroup->setEditable(true);
    cmbGroup->setInsertPolicy(QComboBox::NoInsert);
    cmbGroup->setMinimumContentsLength(8);
    lblGroup->setBuddy(cmbGroup);
    topRow()->addSpacing(8);
    topRow()->addWidget(lblGroup);
    topRow()->addWidget(cmbGroup);
    setColumnWidths({37.1});
    resize(sizeHint().width(), 460);

    // Choosing a group refreshes the list only while the window is not yet on screen, which
    // is how loading fills it; afterwards the filter takes effect at the next refresh.
    connect(cmbGroup, &QComboBox::currentIndexChanged, this, [this] {
        if (!isVisible())
            Refresh_Sheet();
    });
    cmbGroup->installEventFilter(this);
    cmbGroup->lineEdit()->installEventFilter(this);
    CmbFollowListEnter(cmbGroup);
    FillGroupList();
}

void FrmProduct_sel::FillGroupList()
{
    {
        const QSignalBlocker block(cmbGroup);
        cmbGroup->clear();
        cmbGroup->addItem(QString());
        if (const auto groups = m_names.groups())
            cmbGroup->addItems(*groups);
        cmbGroup->setCurrentIndex(-1);
    }
    cmbGroup->setCurrentIndex(0);
}

void FrmProduct_sel::showEvent(QShowEvent *event)
{
    NameSearchWindow::showEvent(event);
    CmbSetSize(cmbGroup, Twips::fromPixels(cmbGroup->width(), logicalDpiX()),
               Twips::fromPixels(spList->height(), logicalDpiY()));
}

void FrmProduct_sel::setGroup(const QString &sGroup)
{
    cmbGroup->setEditText(sGroup);
}

QString FrmProduct_sel::Group() const
{
    return cmbGroup->currentText();
}

void FrmProduct_sel::Refresh_Sheet()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model().clear();
    fill(m_names.list(txtName->text(), Group()));
    QApplication::restoreOverrideCursor();
}

bool FrmProduct_sel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbGroup || watched == cmbGroup->lineEdit()) {
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            CmbShowList(cmbGroup);
        if (event->type() == QEvent::KeyPress && CmbKeyMove(static_cast<QKeyEvent *>(event)->key(), cmbGroup))
            return true;
    }
    return NameSearchWindow::eventFilter(watched, event);
}
