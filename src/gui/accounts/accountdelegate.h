// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QSet>
#include <QStringList>
#include <QStyledItemDelegate>

// The cells of the money windows: amounts right-aligned and red below zero (a refund, a
// correction, money paid in advance), a plain line editor for typing, and a list to pick
// from in the column that has one.
class AccountDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AccountDelegate)

public:
    AccountDelegate(QSet<int> amountColumns, QObject *parent = nullptr);
    void setChoices(int column, const QStringList &choices);
    // Rows printed bold (the client ledger's 전기이월, totals and closing lines).
    void setBoldRows(std::function<bool(int row)> bold) { m_bold = std::move(bold); }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QSet<int> m_amounts;
    int m_choiceColumn = -1;
    QStringList m_choices;
    std::function<bool(int row)> m_bold;
};
