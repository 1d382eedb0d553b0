// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "gui/ledger/ledgergrid.h"

// The ledger window's controls, found by the names the program knows them by (their
// objectName), as a screen reader finds them: the window keeps them to itself.
class FrmMainControls final
{
public:
    explicit FrmMainControls(const QWidget *window) : m_window(window) {}

    QWidget *pnlTop() const { return find<QWidget>(QStringLiteral("pnlTop")); }
    QLineEdit *spDate(int i) const { return find<QLineEdit>(QStringLiteral("spDate_%1").arg(i)); }
    QCheckBox *chkChain() const { return find<QCheckBox>(QStringLiteral("chkChain")); }
    QComboBox *cmbGroup() const { return find<QComboBox>(QStringLiteral("cmbGroup")); }
    QLineEdit *txtPName() const { return find<QLineEdit>(QStringLiteral("txtPName")); }
    QComboBox *cmbGu() const { return find<QComboBox>(QStringLiteral("cmbGu")); }
    QLineEdit *txtCName() const { return find<QLineEdit>(QStringLiteral("txtCName")); }
    QPushButton *btnGraph() const { return find<QPushButton>(QStringLiteral("btnGraph")); }
    QPushButton *btnPasswd() const { return find<QPushButton>(QStringLiteral("btnPasswd")); }
    QPushButton *btnPrint() const { return find<QPushButton>(QStringLiteral("btnPrint")); }
    QMenu *mnuTools() const { return find<QMenu>(QStringLiteral("mnuTools")); }
    LedgerGrid *spList() const { return find<LedgerGrid>(QStringLiteral("spList")); }
    QTableView *spTotal() const { return find<QTableView>(QStringLiteral("spTotal")); }
    QWidget *pnlBottom() const { return find<QWidget>(QStringLiteral("pnlBottom")); }
    QLabel *pnlinfo(int i) const { return find<QLabel>(QStringLiteral("pnlinfo_%1").arg(i)); }
    QLabel *pnlinfo2(int i) const { return find<QLabel>(QStringLiteral("pnlinfo2_%1").arg(i)); }
    QLabel *pnlinfoSales() const { return find<QLabel>(QStringLiteral("pnlinfoSales")); }
    QPushButton *btnClientEdit(int side) const { return find<QPushButton>(QStringLiteral("btnClientEdit_%1").arg(side)); }
    QLineEdit *txtCurClient(int side) const { return find<QLineEdit>(QStringLiteral("txtCurClient_%1").arg(side)); }
    QCheckBox *chkUseTelvox() const { return find<QCheckBox>(QStringLiteral("chkUseTelvox")); }
    QLineEdit *txtGetTelvox() const { return find<QLineEdit>(QStringLiteral("txtGetTelvox")); }
    QPlainTextEdit *txtTelvoxList() const { return find<QPlainTextEdit>(QStringLiteral("txtTelvoxList")); }

private:
    // A control that is not there ends the test run at once, naming it.
    template<typename T>
    T *find(const QString &name) const
    {
        T *control = m_window->findChild<T *>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }

    const QWidget *m_window;
};
