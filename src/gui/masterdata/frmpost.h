// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>

#include "core/masterdata/postalsearch.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TextTableModel;
class UserPrompt;

// The postal code search "우편번호 검색": finds addresses by town or by part of a postal code
// and writes the chosen code and address into two text boxes of its caller.
class FrmPost final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmPost)

public:
    // Opens postFile read-only; isAvailable() tells whether that worked.
    FrmPost(const QString &postFile, UserPrompt &prompt, QWidget *parent = nullptr);
    ~FrmPost() override;

    bool isAvailable() const { return m_post.isOpen(); }
    QString errorText() const { return m_post.errorText(); }

    // The postal code and address targets; each is taken only while still unset.
    void SetObject(QLineEdit *objParam1, QLineEdit *objParam2);
    // Searches: 0 nothing found, 1 one row (targets filled), 2 several (choose from the list).
    quint8 InitForm(const QString &sData);
    // Writes the active row into the targets ("000-000" for a six-digit code) and closes.
    void Choose();

    QLabel *lblInput = nullptr;
    QLineEdit *txtinput = nullptr;
    QPushButton *btnFind = nullptr;
    QPushButton *btnQuit = nullptr;
    QLabel *pnlCaption = nullptr;
    QTableView *grdList = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PostalRow rowAt(int r) const;
    void fill(const PostalPick &pick);

    UserPrompt &m_prompt;
    PostalSearch m_post;
    TextTableModel *m_model;
    QPointer<QLineEdit> m_zipTarget;
    QPointer<QLineEdit> m_addressTarget;
};
