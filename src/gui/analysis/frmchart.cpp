// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmchart.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QValueAxis>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "gui/ui/formhelpers.h"
#include "gui/ui/filedialogs.h"

namespace {

const QString unitNote = QStringLiteral("단위: 만원.개");
const QString saveFailed = QStringLiteral("파일을 저장할 수 없습니다.");

} // namespace

FrmChart::FrmChart(UserPrompt &prompt, QWidget *parent) : QWidget(parent, Qt::Window), m_prompt(prompt)
{
    setObjectName(QStringLiteral("FrmChart"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    chartView = named(new QChartView(this), QStringLiteral("MSChart1"), QStringLiteral("그래프"));
    chartView->setRenderHint(QPainter::Antialiasing);
    btnCopy = named(new QPushButton(QStringLiteral("표 복사(&C)"), this), QStringLiteral("btnCopy"), QStringLiteral("표 복사"));
    btnCsv = named(new QPushButton(QStringLiteral("CSV 저장(&S)"), this), QStringLiteral("btnCsv"), QStringLiteral("CSV 저장"));
    btnPng = named(new QPushButton(QStringLiteral("그림 저장(&P)"), this), QStringLiteral("btnPng"), QStringLiteral("그림 저장"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {btnCopy, btnCsv, btnPng}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto *v = new QVBoxLayout(this);
    v->addWidget(chartView, 1);
    v->addLayout(buttons);
    connect(btnCopy, &QPushButton::clicked, this, &FrmChart::copyTable);
    connect(btnCsv, &QPushButton::clicked, this, [this] {
        const QString path = askPath(QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            saveCsv(path);
    });
    connect(btnPng, &QPushButton::clicked, this, [this] {
        const QString path = askPath(QStringLiteral("png"), QStringLiteral("PNG (*.png)"));
        if (!path.isEmpty())
            savePng(path);
    });
    resize(720, 480);
}

QChart *FrmChart::chart() const
{
    return chartView->chart();
}

void FrmChart::draw(const ChartPage &page)
{
    setWindowTitle(page.caption);
    chartView->setAccessibleDescription(page.caption + QLatin1Char('\n') + page.subtitle);
    m_page = page;
    QStringList labels;
    for (const AnalysisPoint &p : page.points)
        labels << p.label;
    m_axisLabels = TradeAnalysis::axisLabels(labels);
    m_plan = {};

    auto *set = new QBarSet(page.valueCaption);
    for (const AnalysisPoint &p : page.points)
        set->append(p.value);
    auto *series = new QBarSeries;
    series->append(set);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));

    auto *chart = new QChart;
    // The heading is drawn in the chart, so a saved picture says what it shows.
    chart->setTitle(QStringLiteral("<b>%1</b><br>%2").arg(page.caption.toHtmlEscaped(), page.subtitle.toHtmlEscaped()));
    chart->addSeries(series);
    chart->legend()->hide();
    auto *x = new QBarCategoryAxis;
    // Qt would cut each label to its own slot less padding, which leaves an upright label of a
    // month's days no room at all; fitLabels keeps them apart instead, by standing or thinning.
    x->setTruncateLabels(false);
    x->append(m_axisLabels);
    auto *y = new QValueAxis;
    y->setTitleText(unitNote);
    y->setLabelFormat(QStringLiteral("%.10g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    // Room above the tallest bar for its value.
    double top = 0;
    double bottom = 0;
    for (const AnalysisPoint &p : page.points) {
        top = std::max(top, p.value);
        bottom = std::min(bottom, p.value);
    }
    y->setRange(bottom, top > 0 ? top * 1.12 : 1);
    y->applyNiceNumbers();

    QChart *old = chartView->chart();
    chartView->setChart(chart);
    delete old;
    // The plot's width is known once the chart is laid out, and changes with the window.
    connect(chart, &QChart::plotAreaChanged, this, &FrmChart::fitLabels);
    fitLabels();
}

void FrmChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitLabels();
}

void FrmChart::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmChart::fitLabels()
{
    QChart *c = chartView->chart();
    const auto series = c->series();
    const auto axes = c->axes(Qt::Horizontal);
    if (series.isEmpty() || axes.isEmpty() || m_axisLabels.isEmpty())
        return;
    auto *bars = static_cast<QBarSeries *>(series.first());
    auto *x = static_cast<QBarCategoryAxis *>(axes.first());

    const double plot = std::max(1.0, c->plotArea().width() > 0 ? c->plotArea().width() : chartView->width() - 80.0);
    const double slot = plot / static_cast<double>(m_axisLabels.size());
    const QFontMetrics fm(x->labelsFont());
    int widest = 0;
    for (const QString &l : std::as_const(m_axisLabels))
        widest = std::max(widest, fm.horizontalAdvance(l));
    int widestValue = 0;
    for (const AnalysisPoint &p : std::as_const(m_page.points))
        widestValue = std::max(widestValue, fm.horizontalAdvance(p.text));
    // Values only where every bar has room for its figure.
    bars->setLabelsVisible(widestValue + 4 <= slot * bars->barWidth());

    const AxisLabelPlan plan = TradeAnalysis::planAxisLabels(slot, widest, fm.height());
    if (plan == m_plan && x->count() == m_axisLabels.size())
        return;
    m_plan = plan;
    x->setLabelsAngle(plan.upright ? -90 : 0);
    // A category axis keeps one category per distinct text: the labels left out are blanks of
    // different lengths, made of zero-width spaces.
    QStringList shown;
    for (qsizetype i = 0; i < m_axisLabels.size(); ++i)
        shown << (i % plan.step == 0 ? m_axisLabels[i] : QString(i, QChar(0x200B)));
    x->setCategories(shown);
}

void FrmChart::copyTable() const
{
    QApplication::clipboard()->setText(m_page.tableTsv);
}

bool FrmChart::saveCsv(const QString &path) const
{
    QSaveFile f(path);
    // With a byte order mark, so that a spreadsheet program reads the Hangul as UTF-8.
    if (f.open(QIODevice::WriteOnly) && f.write("\xEF\xBB\xBF") == 3 && f.write(m_page.tableCsv.toUtf8()) >= 0
        && f.commit())
        return true;
    m_prompt.MsgWarn(saveFailed + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + f.errorString());
    return false;
}

bool FrmChart::savePng(const QString &path) const
{
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && chartView->grab().save(&f, "PNG") && f.commit())
        return true;
    m_prompt.MsgWarn(saveFailed + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + f.errorString());
    return false;
}

QString FrmChart::askPath(const QString &suffix, const QString &filter)
{
    QString path = saveFileName(this, windowTitle(), windowTitle() + QLatin1Char('.') + suffix, filter);
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        path += QLatin1Char('.') + suffix;
    return path;
}
