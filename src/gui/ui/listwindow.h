// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;
class QTableView;
class TextTableModel;

// A modal list with a row of command buttons and "닫기": the backup and recycle-bin windows.
// Enter or a double click on a row runs the first command.
class ListWindow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListWindow)

public:
    ~ListWindow() override;
    QTableView *spList = nullptr;
    QPushButton *cmdClose = nullptr;
    TextTableModel &model() { return *m_model; }
    // The selected rows, in list order.
    QList<int> selectedRows() const;

protected:
    ListWindow(const QString &objectName, const QString &title, const QStringList &headers, QWidget *parent);
    QPushButton *addCommand(const QString &objectName, const QString &text, const QString &accessibleName);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TextTableModel *m_model;
    QHBoxLayout *m_buttons;
    QPushButton *m_first = nullptr;
};
