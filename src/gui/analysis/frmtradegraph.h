// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "core/analysis/tradeanalysis.h"
#include "frmchart.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Database;
class UserPrompt;

// The purchase and sales analysis window (modeless). It collects the period and filters,
// asks TradeAnalysis for the table and its pages, and hands a page to FrmChart.
class FrmTradeGraph final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmTradeGraph)

public:
    FrmTradeGraph(Database &db, UserPrompt &prompt, QWidget *parent = nullptr);
    ~FrmTradeGraph() override;

    // Shows owner's window of the mode, made and loaded on first use: 0 purchases, 1 sales.
    static FrmTradeGraph *open(QWidget *owner, Database &db, UserPrompt &prompt, quint8 tradeGubun);
    // The way to the purchase window from a graph button whose click opens the sales window:
    // Shift+click (see clickedMode) and the button's context menu, which names both windows.
    static void offerBothModes(QPushButton *button, const std::function<void(quint8)> &open);
    // The mode a click on such a button asks for: 0 with Shift held, 1 otherwise.
    static quint8 clickedMode();

    void setTradeGubun(quint8 gubun);
    quint8 tradeGubun() const { return m_analysis.tradeGubun(); }
    void Form_Load();
    void btnGraph_Click();
    const TradeAnalysis &analysis() const { return m_analysis; }
    FrmChart *chartWindow() const { return m_chart; }

    QLineEdit *txtDate[2] = {nullptr, nullptr};
    QComboBox *cmbGroup = nullptr;
    QComboBox *cmbPName = nullptr;
    QRadioButton *optType[4] = {nullptr, nullptr, nullptr, nullptr};
    QRadioButton *optGraphValue[2] = {nullptr, nullptr};
    QLineEdit *txtCntColPerPage = nullptr;
    QComboBox *cmbPage = nullptr;
    QPushButton *btnGraph = nullptr;
    QPushButton *btnClose = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillGroup();
    void FillPName();
    void Pages();
    void Draw();
    int selectedType() const;
    bool chartShown() const;
    void optionClicked();
    void refuse(QLineEdit *box);

    TradeAnalysis m_analysis;
    UserPrompt &m_prompt;
    QPointer<FrmChart> m_chart;
    bool m_filling = false;
    bool m_validating = false;
};
