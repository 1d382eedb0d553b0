// SPDX-License-Identifier: GPL-3.0-or-later
#include "listwindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/masterdata/texttablemodel.h"
#include "formhelpers.h"
#include "spreadhelpers.h"

ListWindow::ListWindow(const QString &objectName, const QString &title, const QStringList &headers, QWidget *parent)
    : QDialog(parent), m_model(new TextTableModel(headers, this))
{
    setObjectName(objectName);
    setWindowTitle(title);
    setAccessibleName(title);
    auto *layout = new QVBoxLayout(this);
    spList = named(new QTableView(this), QStringLiteral("spList"), title);
    spList->setModel(m_model);
    spList->setSelectionBehavior(QAbstractItemView::SelectRows);
    spList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spList->verticalHeader()->hide();
    spList->horizontalHeader()->setStretchLastSection(true);
    // No design widths here: each column is as wide as its header and its texts.
    spList->horizontalHeader()->setDefaultSectionSize(spList->horizontalHeader()->minimumSectionSize());
    KeepColumnsFitted(spList);
    spList->installEventFilter(this);
    layout->addWidget(spList);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    cmdClose = named(new QPushButton(QStringLiteral("닫기(&X)"), this), QStringLiteral("cmdClose"), QStringLiteral("닫기"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons->addWidget(cmdClose);
    layout->addLayout(m_buttons);
    connect(spList, &QTableView::doubleClicked, this, [this] {
        if (m_first)
            m_first->click();
    });
    resize(760, 420);
}

ListWindow::~ListWindow() = default;

QPushButton *ListWindow::addCommand(const QString &objectName, const QString &text, const QString &accessibleName)
{
    auto *button = named(new QPushButton(text, this), objectName, accessibleName);
    button->setAutoDefault(false);
    m_buttons->insertWidget(m_buttons->count() - 1, button);
    if (!m_first)
        m_first = button;
    return button;
}

QList<int> ListWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &i : spList->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == spList && event->type() == QEvent::KeyPress && m_first) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_first->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
