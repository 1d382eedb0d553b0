// SPDX-License-Identifier: GPL-3.0-or-later
#include "searchwindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "core/masterdata/texttablemodel.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/spreadhelpers.h"

SearchWindow::SearchWindow(Database &db, UserPrompt &prompt, const QStringList &headers, QWidget *parent)
    : QDialog(parent), m_db(db), m_prompt(prompt), m_model(new TextTableModel(headers, this)), m_top(new QHBoxLayout)
{
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    lblName = named(new QLabel(QStringLiteral("검색어:"), this), QStringLiteral("lblName"), QStringLiteral("검색어:"));
    txtName = named(new QLineEdit(this), QStringLiteral("txtName"), QStringLiteral("검색어:"));
    lblName->setBuddy(txtName);
    spList = named(new QTableView(this), QStringLiteral("spList"), QStringLiteral("목록"));
    spList->setModel(m_model);
    spList->verticalHeader()->setDefaultSectionSize(spList->fontMetrics().height() + 6);
    spList->horizontalHeader()->setHighlightSections(false);
    CommonSpreadDesign(spList, SpreadOption::ReadOnly | SpreadOption::ClearRows | SpreadOption::HeaderSort
                                   | SpreadOption::RowMode | SpreadOption::Alternating);

    cmdAdd = named(new QPushButton(QStringLiteral("신규(F&2)"), this), QStringLiteral("cmdAdd"), QStringLiteral("신규"));
    cmdEdit = named(new QPushButton(QStringLiteral("수정(F&3)"), this), QStringLiteral("cmdEdit"), QStringLiteral("수정"));
    cmdDel = named(new QPushButton(QStringLiteral("삭제(F&4)"), this), QStringLiteral("cmdDel"), QStringLiteral("삭제"));
    cmdSel = named(new QPushButton(QStringLiteral("선택(&S)"), this), QStringLiteral("cmdSel"), QStringLiteral("선택"));
    cmdClose = named(new QPushButton(QStringLiteral("닫기(&C)"), this), QStringLiteral("cmdClose"), QStringLiteral("닫기"));
    for (QPushButton *b : {cmdAdd, cmdEdit, cmdDel, cmdSel, cmdClose})
        b->setAutoDefault(false);

    m_top->addWidget(lblName);
    m_top->addWidget(txtName, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdAdd, cmdEdit, cmdDel})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdSel);
    buttons->addWidget(cmdClose);
    auto *v = new QVBoxLayout(this);
    v->addLayout(m_top);
    v->addWidget(spList, 1);
    v->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(cmdSel, &QPushButton::clicked, this, &SearchWindow::cmdSel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(spList, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        if (i.isValid())
            cmdSel_Click();
    });
    // Window-wide keys, whichever control has the focus (the group box would take F4 itself).
    const auto key = [this](Qt::Key k, auto slot) {
        auto *sc = new QShortcut(QKeySequence(k), this);
        sc->setContext(Qt::WindowShortcut);
        connect(sc, &QShortcut::activated, this, slot);
    };
    key(Qt::Key_F2, [this] { cmdAdd_Click(); });
    key(Qt::Key_F3, [this] { cmdEdit_Click(); });
    key(Qt::Key_F4, [this] { cmdDel_Click(); });
    key(Qt::Key_F5, [this] { Refresh_Sheet(); });
    txtName->installEventFilter(this);
    spList->installEventFilter(this);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::setColumnWidths(const QList<double> &units)
{
    // Grid character units are the width of the digit 0, as the spreadsheet grid counted them.
    const double unit = spList->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int total = spList->verticalHeader()->sizeHint().width() + 4;
    for (int c = 0; c < units.size(); ++c) {
        const int w = static_cast<int>(units[c] * unit + 8);
        spList->setColumnWidth(c, w);
        total += w;
    }
    spList->horizontalHeader()->setStretchLastSection(true);
    spList->setMinimumWidth(total + spList->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    // The design widths are the least; names and addresses longer than that widen their column.
    KeepColumnsFitted(spList);
}

int SearchWindow::FindRecords(const QString &sFWord)
{
    txtName->setText(sFWord);
    Refresh_Sheet();
    const int n = m_model->rowCount();
    if (n == 1)
        takeRow(0);
    if (n > 0)
        spList->setCurrentIndex(m_model->index(0, 0));
    return n;
}

int SearchWindow::activeRow() const
{
    const QModelIndex i = spList->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void SearchWindow::cmdSel_Click()
{
    const int row = activeRow();
    if (row < 0) {
        m_prompt.MsgInfo(QStringLiteral("리스트에서 자료를 선택하세요."));
        return;
    }
    takeRow(row);
    accept();
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == txtName)
        SelectAllText(txtName);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && watched == txtName) {
            Refresh_Sheet();
            return true;
        }
        if (enter && watched == spList) {
            if (activeRow() >= 0)
                cmdSel_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return; // no default button: Enter belongs to the box or list that has the focus
    default:
        QDialog::keyPressEvent(event);
    }
}
