// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class Database;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TextTableModel;
class UserPrompt;

// The layout and keys the three search windows share: the search box "검색어:", the list
// spList, the buttons 신규(F2) 수정(F3) 삭제(F4) 선택 닫기, F5 to refresh, Enter in the search
// box to refresh, Enter or a double-click in the list to choose, Esc to close.
class SearchWindow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchWindow)

public:
    ~SearchWindow() override;

    // Puts word into the search box, refreshes, and returns the number of rows; with exactly
    // one row it is taken as the choice.
    int FindRecords(const QString &sFWord);
    virtual void Refresh_Sheet() = 0;
    TextTableModel &model() { return *m_model; }
    // The active row (0-based), or -1 when none.
    int activeRow() const;

    QLabel *lblName = nullptr;
    QLineEdit *txtName = nullptr;
    QTableView *spList = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdDel = nullptr;
    QPushButton *cmdSel = nullptr;
    QPushButton *cmdClose = nullptr;

protected:
    SearchWindow(Database &db, UserPrompt &prompt, const QStringList &headers, QWidget *parent);
    // Column widths in the grid's character units.
    void setColumnWidths(const QList<double> &units);
    QHBoxLayout *topRow() const { return m_top; }

    virtual void cmdAdd_Click() = 0;
    virtual void cmdEdit_Click() = 0;
    virtual void cmdDel_Click() = 0;
    // The row chosen (the only one found, or the active one when 선택 is pressed).
    virtual void takeRow(int row) = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    Database &m_db;
    UserPrompt &m_prompt;

private:
    void cmdSel_Click();

    TextTableModel *m_model;
    QHBoxLayout *m_top;
};
