// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>

class LedgerReportPainter;
class UserPrompt;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolButton;

// The print preview of the ledger: one page at a time, painted when it is shown, so that the
// first page of a report of thousands of pages is there at once. From here the report goes
// to any installed printer or into a PDF file.
class FrmPrintPreview final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmPrintPreview)

public:
    FrmPrintPreview(const LedgerReportPainter &report, UserPrompt &prompt, QWidget *parent = nullptr);

    int page() const { return m_page; }
    void setPage(int page);
    // Writes the report to path and tells the user when that failed.
    bool savePdf(const QString &path);

    QPushButton *btnPrint = nullptr;
    QPushButton *btnSavePdf = nullptr;
    QToolButton *btnFirst = nullptr;
    QToolButton *btnPrev = nullptr;
    QToolButton *btnNext = nullptr;
    QToolButton *btnLast = nullptr;
    QSpinBox *txtPage = nullptr;
    QLabel *lblPages = nullptr;
    QComboBox *cmbZoom = nullptr;
    QPushButton *btnClose = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class PageView;
    void btnPrint_Click();
    void btnSavePdf_Click();
    void applyZoom();
    // Runs a long job page by page behind a progress window the user may cancel.
    using Job = std::function<bool(const std::function<bool(int, int)> &progress)>;
    bool withProgress(const QString &label, const Job &job, bool &cancelled);

    const LedgerReportPainter &m_report;
    UserPrompt &m_prompt;
    QScrollArea *m_scroll = nullptr;
    PageView *m_view = nullptr;
    int m_page = 0;
};
