// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmprintpreview.h"

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/base/userprompt.h"
#include "gui/ui/formhelpers.h"
#include "ledgerreportpainter.h"
#include "gui/ui/filedialogs.h"

namespace {

const QString kTitle = QStringLiteral("인쇄 미리보기");
const QString kFitPage = QStringLiteral("쪽 맞춤");
const QString kFitWidth = QStringLiteral("폭 맞춤");

} // namespace

// The shown page, painted on demand at the chosen scale.
class FrmPrintPreview::PageView final : public QWidget
{
public:
    PageView(const LedgerReportPainter &report, QWidget *parent) : QWidget(parent), m_report(report)
    {
        setObjectName(QStringLiteral("pnlPage"));
        setAccessibleName(QStringLiteral("미리보기 쪽"));
    }
    void show(int page, double scale)
    {
        m_pageIndex = page;
        setAccessibleDescription(QStringLiteral("%1 / %2").arg(page + 1).arg(m_report.pageCount()));
        m_scale = scale;
        const QSizeF size = m_report.pageSize() * scale;
        setFixedSize(qCeil(size.width()) + 2 * kGap, qCeil(size.height()) + 2 * kGap);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.translate(kGap, kGap);
        p.fillRect(QRectF(QPointF(0, 0), m_report.pageSize() * m_scale), Qt::white);
        p.scale(m_scale, m_scale);
        m_report.paintPage(p, m_pageIndex);
    }

private:
    static constexpr int kGap = 12;
    const LedgerReportPainter &m_report;
    int m_pageIndex = 0;
    double m_scale = 0.1;
};

FrmPrintPreview::FrmPrintPreview(const LedgerReportPainter &report, UserPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_report(report), m_prompt(prompt)
{
    setObjectName(QStringLiteral("FrmPrintPreview"));
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    layout->addLayout(bar);

    btnPrint = named(new QPushButton(QStringLiteral("인  쇄(&P)"), this), QStringLiteral("btnPrint"), QStringLiteral("인쇄"));
    btnSavePdf = named(new QPushButton(QStringLiteral("PDF 저장(&S)"), this), QStringLiteral("btnSavePdf"),
                       QStringLiteral("PDF 저장"));
    const auto arrow = [this](const QString &name, const QString &text, const QString &accessible) {
        auto *b = named(new QToolButton(this), name, accessible);
        b->setText(text);
        b->setToolTip(accessible);
        return b;
    };
    btnFirst = arrow(QStringLiteral("btnFirst"), QStringLiteral("|◀"), QStringLiteral("첫 쪽"));
    btnPrev = arrow(QStringLiteral("btnPrev"), QStringLiteral("◀"), QStringLiteral("앞 쪽"));
    txtPage = named(new QSpinBox(this), QStringLiteral("txtPage"), QStringLiteral("쪽 번호"));
    txtPage->setRange(1, std::max(1, report.pageCount()));
    lblPages = named(new QLabel(QStringLiteral("/ %1").arg(report.pageCount()), this), QStringLiteral("lblPages"),
                     QStringLiteral("전체 쪽 수"));
    btnNext = arrow(QStringLiteral("btnNext"), QStringLiteral("▶"), QStringLiteral("다음 쪽"));
    btnLast = arrow(QStringLiteral("btnLast"), QStringLiteral("▶|"), QStringLiteral("마지막 쪽"));
    cmbZoom = named(new QComboBox(this), QStringLiteral("cmbZoom"), QStringLiteral("배율"));
    cmbZoom->addItems({kFitPage, kFitWidth, QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                       QStringLiteral("150%"), QStringLiteral("200%")});
    btnClose = named(new QPushButton(QStringLiteral("닫  기(&C)"), this), QStringLiteral("btnClose"), QStringLiteral("닫기"));
    for (QWidget *w : std::initializer_list<QWidget *>{btnPrint, btnSavePdf, btnFirst, btnPrev, txtPage, lblPages,
                                                       btnNext, btnLast, cmbZoom})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(btnClose);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrPage"));
    m_scroll->setAccessibleName(QStringLiteral("미리보기"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView(report, m_scroll);
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);
    layout->addWidget(m_scroll, 1);

    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrint_Click(); });
    connect(btnSavePdf, &QPushButton::clicked, this, [this] { btnSavePdf_Click(); });
    connect(btnFirst, &QToolButton::clicked, this, [this] { setPage(0); });
    connect(btnPrev, &QToolButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(btnNext, &QToolButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(btnLast, &QToolButton::clicked, this, [this] { setPage(m_report.pageCount() - 1); });
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int value) { setPage(value - 1); });
    connect(cmbZoom, &QComboBox::currentIndexChanged, this, [this] { applyZoom(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    resize(1100, 800);
    setPage(0);
    btnPrint->setFocus();
}

void FrmPrintPreview::setPage(int page)
{
    m_page = std::clamp(page, 0, std::max(0, m_report.pageCount() - 1));
    {
        const QSignalBlocker hold(txtPage);
        txtPage->setValue(m_page + 1);
    }
    btnFirst->setEnabled(m_page > 0);
    btnPrev->setEnabled(m_page > 0);
    btnNext->setEnabled(m_page + 1 < m_report.pageCount());
    btnLast->setEnabled(m_page + 1 < m_report.pageCount());
    applyZoom();
    m_scroll->verticalScrollBar()->setValue(0);
}

void FrmPrintPreview::applyZoom()
{
    const QSizeF page = m_report.pageSize(); // in the painter's unit
    const QSize room = m_scroll->viewport()->size() - QSize(24, 24);
    const double perUnit = logicalDpiX() / LedgerReportPainter::UnitsPerInch;
    const QString zoom = cmbZoom->currentText();
    double scale = perUnit;
    if (zoom == kFitPage)
        scale = std::min(room.width() / page.width(), room.height() / page.height());
    else if (zoom == kFitWidth)
        scale = room.width() / page.width();
    else
        scale = perUnit * QStringView(zoom).chopped(1).toDouble() / 100;
    m_view->show(m_page, std::max(scale, 0.01));
}

// The fitting zooms follow the room the page has, which is known only once the layout ran.
bool FrmPrintPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void FrmPrintPreview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        setPage(m_page + 1);
        return;
    case Qt::Key_PageUp:
        setPage(m_page - 1);
        return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            setPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            setPage(m_report.pageCount() - 1);
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

bool FrmPrintPreview::withProgress(const QString &label, const Job &job, bool &cancelled)
{
    QProgressDialog progress(label, QStringLiteral("취소"), 0, m_report.pageCount(), this);
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    cancelled = false;
    return job([&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        cancelled = progress.wasCanceled();
        return !cancelled;
    });
}

void FrmPrintPreview::btnPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(LedgerReportPainter::pageLayout());
    // The job's name in the printer queue, and the file's name when printing to a file.
    printer.setDocName(QStringLiteral("장부"));
    printer.setFromTo(1, m_report.pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, m_report.pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool cancelled = false;
    const bool ok = withProgress(
        QStringLiteral("인쇄하는 중..."), [&](const auto &progress) { return m_report.print(printer, progress); },
        cancelled);
    if (!ok && !cancelled)
        m_prompt.MsgWarn(QStringLiteral("인쇄하지 못했습니다: ") + printer.printerName(), kTitle);
}

void FrmPrintPreview::btnSavePdf_Click()
{
    const QString path = saveFileName(this, QStringLiteral("PDF 저장"),
                                                      QDir::home().filePath(QStringLiteral("장부.pdf")),
                                                      QStringLiteral("PDF 파일 (*.pdf)"));
    if (!path.isEmpty())
        savePdf(path);
}

bool FrmPrintPreview::savePdf(const QString &path)
{
    QString error;
    bool cancelled = false;
    const bool ok = withProgress(
        QStringLiteral("PDF 파일을 만드는 중..."),
        [&](const auto &progress) { return m_report.writePdf(path, &error, progress); }, cancelled);
    if (!ok && !cancelled)
        m_prompt.MsgWarn(error, kTitle);
    return ok;
}
