// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "core/analysis/tradeanalysis.h"

class QChart;
class QChartView;
class QPushButton;
class UserPrompt;

// What one drawing shows: the page's bars under a heading, and the whole table behind them.
struct ChartPage
{
    QString caption;  // "매출 분석 그래프 일별", the window's and the chart's title
    QString subtitle; // the period and filters, so that a saved picture says what it shows
    QString valueCaption;
    QList<AnalysisPoint> points;
    QString tableTsv; // every page's rows, for the clipboard
    QString tableCsv; // and for a CSV file
};

// The chart window: one bar series, a bar per point with its label. It follows its window's
// size, shows the values on the bars while they fit, and stands or thins out the labels of a
// crowded page so that they stay readable. Esc closes it.
class FrmChart final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmChart)

public:
    FrmChart(UserPrompt &prompt, QWidget *parent = nullptr);

    // Replaces the chart by the points of one page.
    void draw(const ChartPage &page);
    QChart *chart() const;

    // The table behind the chart, as tab-separated text, and as a CSV or PNG file.
    void copyTable() const;
    bool saveCsv(const QString &path) const;
    bool savePng(const QString &path) const;

    QPushButton *btnCopy = nullptr;
    QPushButton *btnCsv = nullptr;
    QPushButton *btnPng = nullptr;
    QChartView *chartView = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitLabels();
    QString askPath(const QString &suffix, const QString &filter);

    UserPrompt &m_prompt;
    ChartPage m_page;
    QStringList m_axisLabels;
    AxisLabelPlan m_plan;
};
