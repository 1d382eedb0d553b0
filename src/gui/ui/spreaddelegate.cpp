// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreaddelegate.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QToolTip>

#include "core/base/textutil.h"

namespace {

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// The width the style gives the text of a cell, less the margins it keeps on both sides.
qreal textRoom(const QStyleOptionViewItem &option)
{
    QStyle *style = styleOf(option);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    return style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget).width() - 2 * margin;
}

bool textFits(const QStyleOptionViewItem &option)
{
    return QFontMetricsF(option.font).horizontalAdvance(option.text) <= textRoom(option);
}

// A figure a little too wide is drawn in a smaller size, down to 70%, before it gives way to
// "###": a total of nine digits stays readable at the design widths.
bool condenseToFit(QStyleOptionViewItem &option)
{
    const QFont original = option.font;
    const qreal size = original.pointSizeF() > 0 ? original.pointSizeF() : original.pixelSize();
    for (int percent = 90; percent >= 70; percent -= 5) {
        if (original.pointSizeF() > 0)
            option.font.setPointSizeF(size * percent / 100);
        else
            option.font.setPixelSize(std::max(1, qRound(size * percent / 100)));
        if (textFits(option))
            return true;
    }
    option.font = original;
    return false;
}

} // namespace

SpreadDelegate::SpreadDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

SpreadDelegate *SpreadDelegate::of(QTableView *grid, int column)
{
    if (!grid)
        return nullptr;
    if (auto *d = qobject_cast<SpreadDelegate *>(grid->itemDelegateForColumn(column)))
        return d;
    auto *d = new SpreadDelegate(grid);
    grid->setItemDelegateForColumn(column, d);
    return d;
}

void SpreadDelegate::setNumber(qint64 minimum, qint64 maximum, bool separators)
{
    m_number = true;
    m_min = minimum;
    m_max = maximum;
    m_separators = separators;
}

std::optional<qint64> SpreadDelegate::parse(const QString &text) const
{
    QString t = text.trimmed();
    t.remove(QLatin1Char(','));
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok || v < m_min || v > m_max)
        return std::nullopt;
    return v;
}

QString SpreadDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (m_number && m_separators && !value.isNull()) {
        bool ok = false;
        const qint64 v = value.toString().remove(QLatin1Char(',')).toLongLong(&ok);
        if (ok)
            return formatMoney(v);
    }
    return QStyledItemDelegate::displayText(value, locale);
}

QWidget *SpreadDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    if (m_locked)
        return nullptr;
    if (!m_number)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(m_min < 0 ? QStringLiteral("-?[0-9,]{0,20}") : QStringLiteral("[0-9,]{0,20}")), edit));
    return edit;
}

void SpreadDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!m_number || !edit) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QVariant v = index.data(Qt::EditRole);
    edit->setText(v.isNull() ? QString() : v.toString());
}

void SpreadDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!m_number || !edit) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (edit->text().trimmed().isEmpty()) {
        model->setData(index, QString(), Qt::EditRole);
        return;
    }
    // Outside the range the cell keeps its value, as the numeric cell refused such text.
    if (const auto v = parse(edit->text()))
        model->setData(index, *v, Qt::EditRole);
}

void SpreadDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_number) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.textElideMode = Qt::ElideNone;
    // A cell the view's edge cuts holds its figure in the part that shows, or none of it: a
    // figure cut at the edge ("11,969,") reads as another number.
    if (const auto *view = qobject_cast<const QAbstractItemView *>(opt.widget)) {
        const QRect shown = opt.rect.intersected(view->viewport()->rect());
        if (shown.width() < opt.rect.width() && !shown.isEmpty())
            opt.rect = shown;
    }
    if (!opt.text.isEmpty() && !textFits(opt) && !condenseToFit(opt)) {
        const qreal hash = QFontMetricsF(opt.font).horizontalAdvance(QLatin1Char('#'));
        opt.text = QString(std::max(1, int(textRoom(opt) / hash)), QLatin1Char('#'));
    }
    styleOf(opt)->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

bool SpreadDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                               const QModelIndex &index)
{
    if (m_number && event && event->type() == QEvent::ToolTip) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (!opt.text.isEmpty() && !textFits(opt)) {
            QToolTip::showText(event->globalPos(), opt.text, view, option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void SpreadDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_background)
        option->backgroundBrush = *m_background;
    if (m_number)
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    else if (m_centre)
        option->displayAlignment = (option->displayAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
}
