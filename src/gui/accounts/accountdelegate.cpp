// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountdelegate.h"

#include <QComboBox>
#include <QLineEdit>

AccountDelegate::AccountDelegate(QSet<int> amountColumns, QObject *parent)
    : QStyledItemDelegate(parent), m_amounts(std::move(amountColumns))
{
}

void AccountDelegate::setChoices(int column, const QStringList &choices)
{
    m_choiceColumn = column;
    m_choices = choices;
}

QWidget *AccountDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    if (index.column() == m_choiceColumn) {
        auto *combo = new QComboBox(parent);
        combo->addItems(m_choices);
        combo->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
        return combo;
    }
    auto *line = new QLineEdit(parent);
    line->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    line->setFrame(false);
    if (m_amounts.contains(index.column()))
        line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return line;
}

void AccountDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(std::max(0, int(combo->findText(text))));
        return;
    }
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        // Typing over the cell replaces it, as in the ledger; F2 or a double click keeps it.
        line->setText(text);
        line->selectAll();
    }
}

void AccountDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_bold && m_bold(index.row()))
        option->font.setBold(true);
    if (!m_amounts.contains(index.column()))
        return;
    option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    // The models' sort role holds the raw amount.
    bool ok = false;
    if (index.data(Qt::UserRole + 1).toLongLong(&ok) < 0 && ok)
        option->palette.setColor(QPalette::Text, Qt::red);
}
