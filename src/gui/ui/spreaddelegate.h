// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QColor>
#include <QStyledItemDelegate>

class QTableView;

// One column's cell type: text, or a whole number within a range shown with thousands
// separators; locked cells open no editor; an optional background. Reads and writes EditRole.
// As in a spreadsheet, a figure is never shown in part: one too wide for its cell fills the
// cell with '#' and its tooltip shows it whole.
class SpreadDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpreadDelegate)

public:
    explicit SpreadDelegate(QObject *parent = nullptr);

    // The column's delegate, created and installed when the column has none of this kind.
    static SpreadDelegate *of(QTableView *grid, int column);

    void setNumber(qint64 minimum, qint64 maximum, bool separators);
    bool isNumber() const { return m_number; }
    qint64 minimum() const { return m_min; }
    qint64 maximum() const { return m_max; }
    void setLocked(bool locked) { m_locked = locked; }
    bool isLocked() const { return m_locked; }
    void setBackground(const QColor &color) { m_background = color; }
    void setCentreVertically(bool on) { m_centre = on; }

    // The typed text as a number of the range; nullopt when it is none. Separators are allowed.
    std::optional<qint64> parse(const QString &text) const;

    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    bool m_number = false;
    bool m_separators = false;
    bool m_locked = false;
    bool m_centre = false;
    qint64 m_min = 0;
    qint64 m_max = 0;
    std::optional<QColor> m_background;
};
