// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "core/analysis/tradeanalysis.h"

class QChart;
class QChartView;
class QPushButton;
class UserPrompt;

// The chart window: one bar series, a bar per point with its label. It follows its window's
// size, shows the values on the bars while they fit, and turns or shrinks the labels of a
// crowded page so that they stay readable.
class FrmChart final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmChart)

public:
    FrmChart(UserPrompt &prompt, QWidget *parent = nullptr);

    // Replaces the chart by the points of one page under caption.
    void draw(const QString &caption, const QString &groupingCaption, const QString &valueCaption,
              const QList<AnalysisPoint> &points);
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

private:
    QString table(QChar separator) const;
    void fitLabels();
    QString askPath(const QString &suffix, const QString &filter);

    UserPrompt &m_prompt;
    QString m_groupingCaption;
    QString m_valueCaption;
    QList<AnalysisPoint> m_points;
};
