// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmchart.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSaveFile>
#include <QValueAxis>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "gui/ui/formhelpers.h"

namespace {

const QString unitNote = QStringLiteral("단위: 만원.개");
const QString saveFailed = QStringLiteral("파일을 저장할 수 없습니다.");

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

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

void FrmChart::draw(const QString &caption, const QString &groupingCaption, const QString &valueCaption,
                    const QList<AnalysisPoint> &points)
{
    setWindowTitle(caption);
    chartView->setAccessibleDescription(caption);
    m_groupingCaption = groupingCaption;
    m_valueCaption = valueCaption;
    m_points = points;

    auto *set = new QBarSet(valueCaption);
    QStringList labels;
    for (const AnalysisPoint &p : points) {
        set->append(p.value);
        labels << p.label;
    }
    auto *series = new QBarSeries;
    series->append(set);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));

    auto *chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    auto *x = new QBarCategoryAxis;
    x->append(labels);
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
    for (const AnalysisPoint &p : points) {
        top = std::max(top, p.value);
        bottom = std::min(bottom, p.value);
    }
    y->setRange(bottom, top > 0 ? top * 1.12 : 1);
    y->applyNiceNumbers();

    QChart *old = chartView->chart();
    chartView->setChart(chart);
    delete old;
    fitLabels();
}

void FrmChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitLabels();
}

void FrmChart::fitLabels()
{
    QChart *c = chartView->chart();
    const auto series = c->series();
    if (series.isEmpty() || m_points.isEmpty())
        return;
    auto *bars = static_cast<QBarSeries *>(series.first());
    const auto axes = c->axes(Qt::Horizontal);
    if (axes.isEmpty())
        return;
    auto *x = static_cast<QBarCategoryAxis *>(axes.first());

    const double plot = std::max(1.0, c->plotArea().width() > 0 ? c->plotArea().width() : chartView->width() - 80.0);
    const double slot = plot / static_cast<double>(m_points.size());
    QFont font = x->labelsFont();
    QFontMetrics fm(font);
    int widest = 0;
    int widestValue = 0;
    for (const AnalysisPoint &p : m_points) {
        widest = std::max(widest, fm.horizontalAdvance(p.label));
        widestValue = std::max(widestValue, fm.horizontalAdvance(p.text));
    }
    // Values only where every bar has room for its figure.
    bars->setLabelsVisible(widestValue + 4 <= slot * bars->barWidth());
    // Crowded labels stand upright, and shrink when even that leaves them overlapping.
    if (widest + 6 <= slot) {
        x->setLabelsAngle(0);
    } else {
        x->setLabelsAngle(-90);
        const QFont base = QApplication::font();
        int size = base.pointSize() > 0 ? base.pointSize() : 9;
        while (size > 6 && QFontMetrics([&] { QFont f = base; f.setPointSize(size); return f; }()).height() > slot)
            --size;
        font.setPointSize(size);
        x->setLabelsFont(font);
    }
}

QString FrmChart::table(QChar separator) const
{
    const auto field = [separator](const QString &t) { return separator == QLatin1Char(',') ? csvField(t) : t; };
    QString out = field(m_groupingCaption) + separator + field(m_valueCaption) + QStringLiteral("\r\n");
    for (const AnalysisPoint &p : m_points)
        out += field(p.label) + separator + p.text + QStringLiteral("\r\n");
    return out;
}

void FrmChart::copyTable() const
{
    QApplication::clipboard()->setText(table(QLatin1Char('\t')));
}

bool FrmChart::saveCsv(const QString &path) const
{
    QSaveFile f(path);
    // With a byte order mark, so that a spreadsheet program reads the Hangul as UTF-8.
    if (f.open(QIODevice::WriteOnly) && f.write("\xEF\xBB\xBF") == 3 && f.write(table(QLatin1Char(',')).toUtf8()) >= 0
        && f.commit())
        return true;
    m_prompt.MsgWarn(saveFailed + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + f.errorString());
    return false;
}

bool FrmChart::savePng(const QString &path) const
{
    if (chartView->grab().save(path, "PNG"))
        return true;
    m_prompt.MsgWarn(saveFailed + QStringLiteral("\r\n") + path);
    return false;
}

QString FrmChart::askPath(const QString &suffix, const QString &filter)
{
    QString path = QFileDialog::getSaveFileName(this, windowTitle(), windowTitle() + QLatin1Char('.') + suffix, filter);
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        path += QLatin1Char('.') + suffix;
    return path;
}
