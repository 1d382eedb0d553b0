// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmfloatmsg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "core/layout/twips.h"

namespace {

// 굴림 where it is installed, otherwise the nearest Korean face of this desktop.
QString koreanFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &want : {QStringLiteral("굴림"), QStringLiteral("Gulim"), QStringLiteral("GulimChe"),
                                QStringLiteral("NanumGothic"), QStringLiteral("나눔고딕"),
                                QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Noto Sans KR"),
                                QStringLiteral("Malgun Gothic"), QStringLiteral("UnDotum"),
                                QStringLiteral("Baekmuk Gulim")}) {
        if (families.contains(want, Qt::CaseInsensitive))
            return want;
    }
    for (const QString &f : families)
        if (QFontDatabase::writingSystems(f).contains(QFontDatabase::Korean))
            return f;
    return {};
}

QColor fromBgr(quint32 bgr)
{
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff), static_cast<int>((bgr >> 16) & 0xff));
}

} // namespace

frmFloatMsg::frmFloatMsg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frmFloatMsg"));
    // A banner, not a window to work in: were it to take the focus, the window manager would
    // hand the focus back to the window under it as it closes, and a window that closes right
    // after it (the client window on its save) would leave the ledger without the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAccessibleName(QStringLiteral("알림"));
    setFixedSize(Twips::toPixels(WidthTwips, logicalDpiX()), Twips::toPixels(HeightTwips, logicalDpiY()));
    pnlCaption = new QLabel(this);
    pnlCaption->setObjectName(QStringLiteral("pnlCaption"));
    pnlCaption->setAlignment(Qt::AlignCenter);
    QFont f = pnlCaption->font();
    const QString family = koreanFamily();
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPointSizeF(11.25);
    f.setBold(true);
    pnlCaption->setFont(f);
    pnlCaption->setGeometry(0, 0, width(), height());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->stop();
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        close();
    });
}

void frmFloatMsg::InitForm(const QString &strMsg, qint16 lDelay, quint32 BKColor)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, fromBgr(BKColor));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
    pnlCaption->setText(strMsg);
    pnlCaption->setAccessibleName(strMsg);
    if (lDelay > 0) {
        Timer1->setInterval(lDelay);
        Timer1->start();
    }
}

void frmFloatMsg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    pnlCaption->setGeometry(0, 0, width(), height());
}

void frmFloatMsg::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    QDialog::closeEvent(event);
}

frmFloatMsg *ShowFloatMsg(const QString &strMsg, qint16 lDelay, qint32 modal, quint32 BKColor, QWidget *parent)
{
    QWidget *over = parent ? parent->window() : QApplication::activeWindow();
    const auto centre = [over](frmFloatMsg &form) {
        QRect area;
        if (over)
            area = over->frameGeometry();
        else if (const QScreen *s = QGuiApplication::primaryScreen())
            area = s->availableGeometry();
        if (area.isValid())
            form.move(area.center() - QPoint(form.width() / 2, form.height() / 2));
    };
    if (modal == 1) {
        // Gone when the call returns.
        frmFloatMsg form(over);
        form.InitForm(strMsg, lDelay, BKColor);
        centre(form);
        form.setWindowModality(Qt::ApplicationModal);
        form.exec();
        return nullptr;
    }
    auto *form = new frmFloatMsg(over);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    form->InitForm(strMsg, lDelay, BKColor);
    centre(*form);
    form->setModal(false);
    form->show();
    form->raise();
    return form;
}
