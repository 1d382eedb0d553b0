// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtradegraph.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "frmchart.h"
#include "gui/ui/combohelpers.h"
#include "gui/ui/formhelpers.h"

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

FrmTradeGraph::FrmTradeGraph(Database &db, UserPrompt &prompt, QWidget *parent)
    : QWidget(parent, Qt::Window), m_analysis(db, prompt), m_prompt(prompt)
{
    setObjectName(QStringLiteral("FrmTradeGraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (parent)
        setWindowIcon(parent->window()->windowIcon());

    const QStringList dateNames{QStringLiteral("기간 시작일"), QStringLiteral("기간 종료일")};
    for (int i = 0; i < 2; ++i) {
        txtDate[i] = named(new QLineEdit(this), QStringLiteral("txtDate_%1").arg(i), dateNames[i]);
        txtDate[i]->setInputMask(QStringLiteral("9999-99-99"));
        txtDate[i]->installEventFilter(this);
    }
    cmbGroup = named(new QComboBox(this), QStringLiteral("cmbGroup"), QStringLiteral("그룹"));
    CmbInstall(cmbGroup);
    cmbPName = named(new QComboBox(this), QStringLiteral("cmbPName"), QStringLiteral("품목"));
    cmbPName->setEditable(true);
    cmbPName->setInsertPolicy(QComboBox::NoInsert);
    cmbPName->setMinimumContentsLength(16);
    cmbPName->installEventFilter(this);
    cmbPName->lineEdit()->installEventFilter(this);

    // An option array in its frame, each option clicking through optionClicked.
    const auto options = [this](const QString &frame, const QString &frameName, const QString &name,
                                const QStringList &captions, QRadioButton **out) {
        auto *box = named(new QGroupBox(frame, this), frameName, frame);
        auto *layout = new QHBoxLayout(box);
        auto *group = new QButtonGroup(box);
        for (int i = 0; i < captions.size(); ++i) {
            out[i] = named(new QRadioButton(captions[i], box), name + QStringLiteral("_%1").arg(i), captions[i]);
            group->addButton(out[i], i);
            layout->addWidget(out[i]);
            connect(out[i], &QRadioButton::clicked, this, &FrmTradeGraph::optionClicked);
        }
        return box;
    };
    auto *typeBox = options(QStringLiteral("구분"), QStringLiteral("fraType"), QStringLiteral("optType"),
                            {QStringLiteral("일별"), QStringLiteral("월별"), QStringLiteral("년별"), QStringLiteral("품목별")},
                            optType);
    optType[0]->setChecked(true);
    auto *valueBox = options(QStringLiteral("값"), QStringLiteral("fraGraphValue"), QStringLiteral("optGraphValue"),
                             {QStringLiteral("수량"), QStringLiteral("금액")}, optGraphValue);
    optGraphValue[1]->setChecked(true);

    txtCntColPerPage = named(new QLineEdit(QStringLiteral("31"), this), QStringLiteral("txtCntColPerPage"),
                             QStringLiteral("한페이지 최대자료수:"));
    txtCntColPerPage->setMaximumWidth(txtCntColPerPage->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    txtCntColPerPage->installEventFilter(this);
    cmbPage = named(new QComboBox(this), QStringLiteral("cmbPage"), QStringLiteral("페이지:"));
    cmbPage->setMinimumContentsLength(4);
    cmbPage->installEventFilter(this);
    connect(cmbPage, &QComboBox::currentIndexChanged, this, [this] {
        if (chartShown() && !m_filling)
            Draw();
    });

    btnGraph = named(new QPushButton(QStringLiteral("그래프(&G)"), this), QStringLiteral("btnGraph"), QStringLiteral("그래프"));
    btnClose = named(new QPushButton(QStringLiteral("닫기(&C)"), this), QStringLiteral("btnClose"), QStringLiteral("닫기"));
    for (QPushButton *b : {btnGraph, btnClose})
        b->setAutoDefault(false);
    connect(btnGraph, &QPushButton::clicked, this, &FrmTradeGraph::btnGraph_Click);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);

    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setAccessibleName(text);
        l->setBuddy(buddy);
        return l;
    };
    auto *grid = new QGridLayout;
    auto *period = new QHBoxLayout;
    period->addWidget(txtDate[0]);
    period->addWidget(new QLabel(QStringLiteral("~"), this));
    period->addWidget(txtDate[1]);
    period->addStretch(1);
    grid->addWidget(label(QStringLiteral("기간:"), txtDate[0]), 0, 0);
    grid->addLayout(period, 0, 1);
    grid->addWidget(label(QStringLiteral("그룹:"), cmbGroup), 1, 0);
    grid->addWidget(cmbGroup, 1, 1);
    grid->addWidget(label(QStringLiteral("품목:"), cmbPName), 2, 0);
    grid->addWidget(cmbPName, 2, 1);
    auto *paging = new QHBoxLayout;
    paging->addWidget(label(QStringLiteral("한페이지 최대자료수:"), txtCntColPerPage));
    paging->addWidget(txtCntColPerPage);
    paging->addSpacing(12);
    paging->addWidget(label(QStringLiteral("페이지:"), cmbPage));
    paging->addWidget(cmbPage);
    paging->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnGraph);
    buttons->addWidget(btnClose);
    auto *v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(typeBox);
    v->addWidget(valueBox);
    v->addLayout(paging);
    v->addLayout(buttons);

    setTabOrder(txtDate[0], txtDate[1]);
    setTabOrder(txtDate[1], cmbGroup);
    setTabOrder(cmbGroup, cmbPName);
    setTabOrder(cmbPName, optType[0]);
    setTabOrder(optType[0], optGraphValue[0]);
    setTabOrder(optGraphValue[0], txtCntColPerPage);
    setTabOrder(txtCntColPerPage, cmbPage);
    setTabOrder(cmbPage, btnGraph);
    setTabOrder(btnGraph, btnClose);
    setTradeGubun(1);
}

FrmTradeGraph::~FrmTradeGraph() = default;

FrmTradeGraph *FrmTradeGraph::open(QWidget *owner, Database &db, UserPrompt &prompt, quint8 tradeGubun)
{
    const quint8 mode = tradeGubun == 0 ? 0 : 1;
    for (FrmTradeGraph *w : owner->findChildren<FrmTradeGraph *>(Qt::FindDirectChildrenOnly)) {
        if (w->tradeGubun() == mode) {
            w->showNormal();
            w->raise();
            w->activateWindow();
            return w;
        }
    }
    auto *w = new FrmTradeGraph(db, prompt, owner);
    w->setTradeGubun(mode);
    w->Form_Load();
    w->show();
    return w;
}

void FrmTradeGraph::offerBothModes(QPushButton *button, const std::function<void(quint8)> &open)
{
    button->setToolTip(QStringLiteral("Shift+클릭: ") + TradeAnalysis::captionOf(0));
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(button, &QWidget::customContextMenuRequested, button, [button, open](const QPoint &at) {
        QMenu menu(button);
        QAction *sales = menu.addAction(TradeAnalysis::captionOf(1));
        QAction *purchases = menu.addAction(TradeAnalysis::captionOf(0));
        QAction *chosen = menu.exec(button->mapToGlobal(at));
        if (chosen == sales || chosen == purchases)
            open(chosen == sales ? 1 : 0);
    });
}

quint8 FrmTradeGraph::clickedMode()
{
    return QApplication::keyboardModifiers() & Qt::ShiftModifier ? 0 : 1;
}

void FrmTradeGraph::setTradeGubun(quint8 gubun)
{
    m_analysis.setTradeGubun(gubun);
    setWindowTitle(m_analysis.caption());
    setAccessibleName(m_analysis.caption());
}

void FrmTradeGraph::Form_Load()
{
    const QDate today = QDate::currentDate();
    txtDate[0]->setText(today.toString(QStringLiteral("yyyy-MM-01")));
    txtDate[1]->setText(today.toString(QStringLiteral("yyyy-MM-dd")));
    m_filling = false;
    FillGroup();
    FillPName();
}

namespace {
// A blank first item ("all") and the names, when they could be read.
void fillWithBlankFirst(QComboBox *box, const std::optional<QStringList> &names)
{
    box->clear();
    box->addItem(QString());
    box->setCurrentIndex(0);
    if (names)
        box->addItems(*names);
}
} // namespace

void FrmTradeGraph::FillGroup() { fillWithBlankFirst(cmbGroup, m_analysis.groupNames()); }
void FrmTradeGraph::FillPName() { fillWithBlankFirst(cmbPName, m_analysis.productNames()); }

void FrmTradeGraph::btnGraph_Click()
{
    // A date box that refused its text keeps the focus; nothing is built from it.
    for (QLineEdit *box : txtDate) {
        if (!QDate::fromString(box->text(), QStringLiteral("yyyy-MM-dd")).isValid()) {
            box->setFocus();
            return;
        }
    }
    const int grouping = selectedType();
    const TradeAnalysis::Filter filter{txtDate[0]->text(), txtDate[1]->text(), cmbGroup->currentText(),
                                       cmbPName->currentText(), TradeAnalysis::Grouping(grouping)};
    if (m_analysis.build(filter)) {
        Pages();
        Draw();
    } else {
        m_prompt.MsgInfo(noDataMessage());
    }
}

void FrmTradeGraph::Pages()
{
    if (txtCntColPerPage->text().isEmpty())
        txtCntColPerPage->setText(QStringLiteral("1"));
    m_filling = true;
    cmbPage->clear();
    cmbPage->addItems(m_analysis.pages(txtCntColPerPage->text()));
    cmbPage->setCurrentIndex(cmbPage->count() < 2 ? 0 : 1);
    m_filling = false;
}

void FrmTradeGraph::Draw()
{
    const int grouping = selectedType();
    const QString typeCaption = optType[grouping]->text();
    if (txtCntColPerPage->text().isEmpty())
        txtCntColPerPage->setText(QStringLiteral("1"));
    const bool count = optGraphValue[0]->isChecked();
    const auto value = count ? TradeAnalysis::Count : TradeAnalysis::Amount;
    const QString valueCaption = optGraphValue[count ? 0 : 1]->text();
    ChartPage page;
    page.caption = windowTitle() + QLatin1Char(' ') + typeCaption;
    page.subtitle = m_analysis.filterText();
    // A page of several says which one it is; "ALL" is the whole table.
    if (cmbPage->currentIndex() > 0 && cmbPage->count() > 2)
        page.subtitle += QStringLiteral(" · 페이지 %1/%2").arg(cmbPage->currentIndex()).arg(cmbPage->count() - 1);
    page.valueCaption = valueCaption;
    page.points = m_analysis.page(cmbPage->currentIndex(), cmbPage->count(), txtCntColPerPage->text(), value);
    page.tableTsv = m_analysis.table(QLatin1Char('\t'), value, typeCaption, valueCaption);
    page.tableCsv = m_analysis.table(QLatin1Char(','), value, typeCaption, valueCaption);
    if (!m_chart)
        m_chart = new FrmChart(m_prompt, this);
    m_chart->draw(page);
    m_chart->show();
    activateWindow();
}

int FrmTradeGraph::selectedType() const
{
    int i = 0;
    while (i < 3 && !optType[i]->isChecked())
        ++i;
    return i;
}

bool FrmTradeGraph::chartShown() const
{
    return m_chart && m_chart->isVisible();
}

void FrmTradeGraph::optionClicked()
{
    if (chartShown())
        btnGraph_Click();
}

void FrmTradeGraph::refuse(QLineEdit *box)
{
    // The box takes the focus back once the focus change that left it is over.
    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
}

bool FrmTradeGraph::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtDate[0] || watched == txtDate[1] || watched == txtCntColPerPage || watched == cmbPName->lineEdit())
            SelectAllText(static_cast<QWidget *>(watched));
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Leaving for another window or a popup is no leaving of the box.
        if (m_validating || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QWidget::eventFilter(watched, event);
        m_validating = true;
        if (watched == txtDate[0] || watched == txtDate[1]) {
            auto *box = static_cast<QLineEdit *>(watched);
            if (!validateGraphDate(box->text(), m_prompt))
                refuse(box);
        } else if (watched == txtCntColPerPage) {
            QString text = txtCntColPerPage->text();
            const bool ok = validatePointsPerPage(text, m_prompt);
            txtCntColPerPage->setText(text);
            if (!ok)
                refuse(txtCntColPerPage);
        }
        m_validating = false;
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *w = static_cast<QWidget *>(watched);
        if (watched == txtDate[0] || watched == txtDate[1])
            return KeyToTab(key, w);
        if ((watched == cmbPName || watched == cmbPName->lineEdit()) && isEnter(key))
            return KeyToTab(key, cmbPName);
        if (watched == cmbPage && isEnter(key))
            return KeyToTab(key, w);
        if (watched == txtCntColPerPage && isEnter(key)) {
            if (repagesOnEnter(txtCntColPerPage->text(), m_analysis.lastIndex(), cmbPage->count())) {
                Pages();
                if (chartShown())
                    Draw();
            }
            return KeyToTab(key, w);
        }
    }
    return QWidget::eventFilter(watched, event);
}
