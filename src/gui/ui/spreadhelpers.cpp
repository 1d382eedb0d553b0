// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadhelpers.h"

#include <algorithm>
#include <cmath>

#include <QAbstractItemModel>
#include <QEvent>
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTableView>

#include "core/base/userprompt.h"
#include "core/layout/layoutini.h"
#include "accessibility.h"
#include "formini.h"
#include "frmfloatmsg.h"
#include "spreaddelegate.h"
#include "windowfit.h"

namespace {

const char *const kSortConnected = "spreadHeaderSort";
const char *const kSortSection = "spreadSortSection";
const char *const kSortOrder = "spreadSortOrder";

void headerSort(QTableView *grid, int section)
{
    QAbstractItemModel *model = grid->model();
    if (!model)
        return;
    // The header flips its own indicator before it reports the click, so the order is kept
    // here: a new column sorts ascending, the same column again reverses.
    const bool same = grid->property(kSortSection).isValid() && grid->property(kSortSection).toInt() == section;
    const Qt::SortOrder order = same && grid->property(kSortOrder).toInt() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    grid->setProperty(kSortSection, section);
    grid->setProperty(kSortOrder, int(order));
    QHeaderView *h = grid->horizontalHeader();
    h->setSortIndicatorShown(true);
    h->setSortIndicator(section, order);
    model->sort(section, order);
}

} // namespace

void CommonSpreadDesign(QTableView *grid, SpreadOptions options)
{
    if (!grid)
        return;
    const bool rowMode = options.testFlag(SpreadOption::RowMode);
    // 1. Editing.
    if (options.testFlag(SpreadOption::ReadOnly)) {
        grid->setSelectionBehavior(rowMode ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    } else {
        grid->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        // Typing starts the editor with the typed text in place of the old content.
        grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                              | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    }
    // 2. Header-click sort; the model's sort() decides what takes part (the ledger keeps
    // its entry row last).
    if (options.testFlag(SpreadOption::HeaderSort) && !grid->property(kSortConnected).toBool()) {
        grid->setProperty(kSortConnected, true);
        QHeaderView *h = grid->horizontalHeader();
        h->setSectionsClickable(true);
        h->setSortIndicatorShown(false);
        QObject::connect(h, &QHeaderView::sectionClicked, grid, [grid](int section) { headerSort(grid, section); });
    }
    // 3. Selection colour.
    QPalette p = grid->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Highlight, SpreadColors::selectedBack());
        p.setColor(g, QPalette::HighlightedText, Qt::black);
    }
    // 4. Rows.
    if (options.testFlag(SpreadOption::ClearRows) && grid->model() && grid->model()->rowCount() > 0)
        grid->model()->removeRows(0, grid->model()->rowCount());
    // 6. Alternating row colours (step 5, the formula style, has no counterpart).
    if (options.testFlag(SpreadOption::Alternating)) {
        p.setColor(QPalette::Base, SpreadColors::oddBack());
        p.setColor(QPalette::AlternateBase, SpreadColors::evenBack());
        p.setColor(QPalette::Text, SpreadColors::oddText());
        grid->setAlternatingRowColors(true);
    }
    grid->setPalette(p);
}

QString GetCellText(const QTableView *grid, int column, int row)
{
    if (!grid || !grid->model())
        return {};
    const QModelIndex current = grid->currentIndex();
    if (column == -2)
        column = current.column();
    if (row == -2)
        row = current.row();
    const QModelIndex i = grid->model()->index(row, column);
    if (!i.isValid())
        return {};
    const QVariant v = i.data(Qt::DisplayRole);
    if (v.isNull())
        return {};
    // The text the cell shows, money columns with their separators.
    if (auto *d = qobject_cast<SpreadDelegate *>(grid->itemDelegateForColumn(column)))
        return d->displayText(v, grid->locale());
    return v.toString();
}

void SetMoneyCol(QTableView *grid, int column, bool centreVertically)
{
    SpreadDelegate *d = SpreadDelegate::of(grid, column);
    if (!d)
        return;
    d->setNumber(-999999999999LL, 999999999999LL, true);
    d->setCentreVertically(centreVertically);
    grid->viewport()->update();
}

void SetNumberCol(QTableView *grid, int column, qint64 minimum, qint64 maximum)
{
    SpreadDelegate *d = SpreadDelegate::of(grid, column);
    if (!d)
        return;
    d->setNumber(minimum, maximum, true);
}

void LockCol(QTableView *grid, int column, bool shade)
{
    SpreadDelegate *d = SpreadDelegate::of(grid, column);
    if (!d)
        return;
    d->setLocked(true);
    if (shade)
        d->setBackground(SpreadColors::lockedBack());
    grid->viewport()->update();
}

void SetColBackColor(QTableView *grid, int column, const QColor &color)
{
    if (SpreadDelegate *d = SpreadDelegate::of(grid, column)) {
        d->setBackground(color);
        grid->viewport()->update();
    }
}

bool DeleteRow(QTableView *grid, int row, bool notice, bool trim)
{
    Q_UNUSED(trim) // a model has no blank rows to cut off
    if (!grid || !grid->model())
        return false;
    if (row == -2)
        row = grid->currentIndex().row();
    if (row < 0 || row >= grid->model()->rowCount())
        return false;
    if (!grid->model()->removeRows(row, 1))
        return false;
    grid->viewport()->update();
    if (notice)
        ShowFloatMsg(FloatMsg::deleted(), FloatMsg::Delay, 1, FloatMsgCyan, grid);
    return true;
}

namespace {

// Leaving the totals grid leaves no cell looking selected.
class NoCurrentOnFocusOut final : public QObject
{
public:
    explicit NoCurrentOnFocusOut(QTableView *grid) : QObject(grid), m_grid(grid) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut) {
            m_grid->selectionModel()->clear();
            m_grid->setCurrentIndex(QModelIndex());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView *m_grid;
};

} // namespace

void InitTotalGrid(QTableView *t, QTableView *l)
{
    if (!t || !l || !t->model() || !l->model())
        return;
    const int columns = std::min(t->model()->columnCount(), l->model()->columnCount());
    for (int i = 0; i < columns; ++i) {
        t->setColumnHidden(i, l->isColumnHidden(i));
        if (!l->isColumnHidden(i))
            t->setColumnWidth(i, l->columnWidth(i));
    }
    CommonSpreadDesign(t, SpreadOption::ReadOnly | SpreadOption::HeaderSort | SpreadOption::RowMode
                              | SpreadOption::Alternating);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setSelectionBehavior(QAbstractItemView::SelectItems);
    t->setCurrentIndex(QModelIndex());
    QPalette p = t->palette();
    p.setColor(QPalette::Base, SpreadColors::totalsBack());
    p.setColor(QPalette::AlternateBase, SpreadColors::totalsBack());
    p.setColor(QPalette::Window, SpreadColors::totalsBack());
    t->setPalette(p);
    t->horizontalHeader()->hide();
    if (!l->verticalHeader()->isHidden()) {
        t->verticalHeader()->show();
        t->verticalHeader()->setFixedWidth(l->verticalHeader()->width());
        // The ledger's row headers widen with its row count.
        QObject::connect(l->verticalHeader(), &QHeaderView::geometriesChanged, t, [t, l] {
            t->verticalHeader()->setFixedWidth(l->verticalHeader()->width());
        });
    } else {
        t->verticalHeader()->hide();
    }
    t->installEventFilter(new NoCurrentOnFocusOut(t));
}

void InitDateBox(QLineEdit *box, bool firstOfMonth, const QDate &today)
{
    if (!box)
        return;
    box->setText(today.toString(firstOfMonth ? QStringLiteral("yyyy-MM-01") : QStringLiteral("yyyy-MM-dd")));
    QFont f = box->font();
    f.setPointSize(10);
    f.setBold(true);
    box->setFont(f);
    QPalette p = box->palette();
    p.setColor(QPalette::Text, SpreadColors::dateBoxText());
    box->setPalette(p);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

namespace GridMenu {
QString menuName() { return QStringLiteral("그리드 메뉴"); }
QString rowHeightItem() { return QStringLiteral("그리드 줄높이 변경"); }
QString fontSizeItem() { return QStringLiteral("글자크기        변경"); }
QString resetItem() { return QStringLiteral("폼 및 그리드 설정 초기화"); }
QString closeItem() { return QStringLiteral("메    뉴      닫    기"); }
QString rowHeightTitle() { return QStringLiteral("그리드의 줄높이 변경"); }
QString rowHeightPrompt() { return QStringLiteral("변경할 그리드의 줄높이를 입력하세요.(입력범위: 8~20, 0:기본값)"); }
QString fontSizeTitle() { return QStringLiteral("그리드내 글자크기 변경"); }
QString fontSizePrompt() { return QStringLiteral("변경할 글자의 크기를 입력하세요.(입력범위: 8~20, 0:기본값)"); }
QString resetQuestion()
{
    return QStringLiteral("해당폼의 폼의 위치 및 크기, 그리드의 각 칸의 넓이\r\n\r\n, 줄높이, 글자크기등이 모두 초기화 됩니다."
                          "\r\n\r\n초기화 하시겠습니까?");
}
QString resetDone()
{
    return QStringLiteral("초기화를 완료하였습니다.\r\n\r\n현재창을 닫고 다시 열어 주셔야 초기화된 형태가 제대로 보여집니다.");
}
bool acceptable(const QString &text)
{
    const double v = LayoutIni::val(text);
    return v == 0 || (v >= 8 && v <= 20);
}
} // namespace GridMenu

int GridMenuChoice(QWidget *window, const QPoint &globalPos, const QStringList &extraItems)
{
    installAccessibility(); // the open menu is found from the top of the tree
    QMenu menu(window);
    menu.setObjectName(QStringLiteral("mnuGrid"));
    menu.setTitle(GridMenu::menuName());
    menu.setAccessibleName(GridMenu::menuName());
    QList<QAction *> extras;
    for (const QString &item : extraItems)
        extras.append(menu.addAction(item));
    if (!extras.isEmpty())
        menu.addSeparator();
    QAction *rowHeight = menu.addAction(GridMenu::rowHeightItem());
    QAction *fontSize = menu.addAction(GridMenu::fontSizeItem());
    menu.addSeparator();
    QAction *reset = menu.addAction(GridMenu::resetItem());
    menu.addSeparator();
    menu.addAction(GridMenu::closeItem());
    QAction *chosen = menu.exec(globalPos);
    if (const qsizetype extra = extras.indexOf(chosen); extra >= 0)
        return GridMenu::Extra + int(extra);
    if (chosen == rowHeight)
        return GridMenu::RowHeight;
    if (chosen == fontSize)
        return GridMenu::FontSize;
    if (chosen == reset)
        return GridMenu::Reset;
    return GridMenu::Close;
}

namespace {

// Asks until the answer is in range; nullopt for Cancel.
std::optional<QString> askInRange(UserPrompt &prompt, const QString &text, const QString &title, double current)
{
    for (;;) {
        const auto answer = prompt.inputText(text, title, LayoutIni::formatValue(current));
        if (!answer)
            return std::nullopt;
        if (GridMenu::acceptable(*answer))
            return answer;
    }
}

// One of the two settings: ask, apply a value other than 0, save the typed text. Empty text,
// Cancel or the current value again change and save nothing.
void changeGridSetting(QWidget *window, QTableView *grid, UserPrompt &prompt, const QString &formIniDir,
                       const QString &text, const QString &title, const QString &key, double current,
                       void (*apply)(QTableView *, double))
{
    const auto typed = askInRange(prompt, text, title, current);
    if (!typed || typed->isEmpty())
        return;
    const double value = LayoutIni::val(*typed);
    if (value == current)
        return;
    if (value != 0)
        apply(grid, value);
    SaveSpreadIni_Gn(window, grid, key, *typed, &prompt, formIniDir);
}

} // namespace

void RunGridMenuItem(int item, QWidget *window, QTableView *grid, UserPrompt &prompt, const QString &formIniDir)
{
    if (!window || !grid)
        return;
    switch (item) {
    case GridMenu::RowHeight:
        changeGridSetting(window, grid, prompt, formIniDir, GridMenu::rowHeightPrompt(), GridMenu::rowHeightTitle(),
                          LayoutIni::rowHeightKey(), std::floor(gridRowHeight(grid) + 1e-9), setGridRowHeight);
        break;
    case GridMenu::FontSize:
        changeGridSetting(window, grid, prompt, formIniDir, GridMenu::fontSizePrompt(), GridMenu::fontSizeTitle(),
                          LayoutIni::fontSizeKey(), gridFontSize(grid), setGridFontSize);
        break;
    case GridMenu::Reset:
        if (!prompt.MsgYesNo(GridMenu::resetQuestion(), QString(), true))
            return;
        if (DelFormIni(window->objectName(), &prompt, formIniDir))
            prompt.MsgInfo(GridMenu::resetDone());
        break;
    default:
        break;
    }
}

void ShowGridMenu(QWidget *window, QTableView *grid, UserPrompt &prompt, const QPoint &globalPos,
                  const QString &formIniDir)
{
    RunGridMenuItem(GridMenuChoice(window, globalPos), window, grid, prompt, formIniDir);
}

int ColumnTextWidth(const QTableView *grid, int column)
{
    if (!grid || !grid->model() || grid->isColumnHidden(column))
        return 0;
    // Through the base class, where the cell measure is public: the delegate's size hint holds
    // the text and the cell's margins, as the grid paints them.
    const QAbstractItemView *view = grid;
    return std::max(view->sizeHintForColumn(column), grid->horizontalHeader()->sectionSizeHint(column));
}

void FitColumnsToText(QTableView *grid, int maxWidth)
{
    if (!grid || !grid->model())
        return;
    if (maxWidth <= 0) {
        const QScreen *screen = grid->screen();
        maxWidth = screen ? screen->availableGeometry().width() / 3 : 400;
    }
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        const int wanted = std::min(ColumnTextWidth(grid, c), maxWidth);
        if (wanted > grid->columnWidth(c))
            grid->setColumnWidth(c, wanted);
    }
}

void KeepColumnsFitted(QTableView *grid, int maxWidth)
{
    QAbstractItemModel *model = grid ? grid->model() : nullptr;
    if (!model)
        return;
    const auto fit = [grid, maxWidth] {
        FitColumnsToText(grid, maxWidth);
        WidenToColumns(grid);
    };
    QObject::connect(model, &QAbstractItemModel::modelReset, grid, fit);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, grid, fit);
    QObject::connect(model, &QAbstractItemModel::dataChanged, grid, fit);
    fit();
}
