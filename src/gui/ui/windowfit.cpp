// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfit.h"

#include <algorithm>

#include <QApplication>
#include <QHeaderView>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QWidget>

namespace {

int titleBarHeight(const QWidget *window)
{
    return std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                    window->fontMetrics().height() + 6);
}

// The frame the window manager puts around the window: known once it has been shown, estimated
// before (a title bar and thin borders).
QMargins frameOf(const QWidget *window)
{
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    if (window->testAttribute(Qt::WA_WState_Created) && outer != inner)
        return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                outer.bottom() - inner.bottom()};
    return {2, titleBarHeight(window) + 2, 2, 2};
}

bool fits(const QWidget *w)
{
    if (!w->isWindow() || w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

class WindowFit final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            FitWindow(static_cast<QWidget *>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int TitleWidth(const QWidget *window)
{
    QFont bold = window->font();
    bold.setBold(true);
    // Icon, minimize, maximize and close, each about a bar's height square, and the margins.
    return QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 5 * titleBarHeight(window) + 16;
}

QRect FittedGeometry(const QWidget *window, const QRect &available)
{
    QRect g = window->geometry();
    if (!fits(window) || available.isEmpty())
        return g;
    const QMargins frame = frameOf(window);
    const QRect room = available.marginsRemoved(frame);
    const QPoint centre = g.center();
    const QSize least = window->minimumSize();
    int width = std::max(g.width(), std::min(TitleWidth(window), room.width()));
    width = std::max(std::min(width, room.width()), least.width());
    const int height = std::max(std::min(g.height(), room.height()), least.height());
    if (width != g.width() || height != g.height()) {
        g.setSize({width, height});
        g.moveCenter(centre);
    }
    // Inside the free area, frame and all; the top left wins where the window is too large.
    g.moveLeft(std::max(room.left(), std::min(g.left(), room.right() - g.width() + 1)));
    g.moveTop(std::max(room.top(), std::min(g.top(), room.bottom() - g.height() + 1)));
    return g;
}

void FitWindow(QWidget *window)
{
    if (!window || !fits(window))
        return;
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect g = FittedGeometry(window, screen->availableGeometry());
    if (g.size() != window->size())
        window->resize(g.size());
    // Only a window the program placed itself. A dialog is centred over its parent as it shows
    // (after this), and the window manager places the rest on screen; moving them here would
    // pin them to the screen's corner.
    const bool placed = window->testAttribute(Qt::WA_Moved);
    if (placed && g.topLeft() != window->geometry().topLeft())
        window->move(g.topLeft() - QPoint(frameOf(window).left(), frameOf(window).top()));
}

void InstallWindowFit()
{
    static QPointer<WindowFit> installed;
    if (!installed && qApp) {
        installed = new WindowFit(qApp);
        qApp->installEventFilter(installed);
    }
}

void WidenToColumns(QTableView *grid)
{
    QWidget *window = grid ? grid->window() : nullptr;
    if (!window || !fits(window))
        return;
    const QHeaderView *h = grid->horizontalHeader();
    int needed = grid->verticalHeader()->isHidden() ? 0 : grid->verticalHeader()->sizeHint().width();
    needed += h->length() + 2 * grid->frameWidth();
    if (grid->verticalHeader()->length() > grid->viewport()->height())
        needed += grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    // As a least width, so that the window's layout widens the window, shown or not.
    int chrome = frameOf(window).left() + frameOf(window).right();
    if (const QLayout *layout = window->layout())
        chrome += layout->contentsMargins().left() + layout->contentsMargins().right();
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        needed = std::min(needed, screen->availableGeometry().width() - chrome);
    if (needed > grid->minimumWidth())
        grid->setMinimumWidth(needed);
    if (window->isVisible())
        FitWindow(window);
}
