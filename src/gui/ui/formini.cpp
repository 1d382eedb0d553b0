// SPDX-License-Identifier: GPL-3.0-or-later
#include "formini.h"

#include <QAbstractItemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include "core/base/userprompt.h"
#include "core/shell/appfolders.h"
#include "core/layout/formrules.h"
#include "core/layout/layoutini.h"
#include "core/layout/twips.h"

namespace {

const char *const kRowHeightProperty = "gridRowHeightPoints";

QList<QRect> availableScreens()
{
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens << s->availableGeometry();
    return screens;
}

QString gridName(const QTableView *grid)
{
    return grid->objectName();
}

// The file holds where the window's frame stood (what the window reports as its position). A
// window manager frames a window only once it is shown, and some take the position given before
// that for the contents, which put the frame a title bar higher at every start. Once the frame is
// known, the frame is put where the file says.
class FramePlacer final : public QObject
{
public:
    FramePlacer(QWidget *form, QPoint target) : QObject(form), m_form(form), m_target(target)
    {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_form && event->type() == QEvent::Show)
            QTimer::singleShot(5000, this, &QObject::deleteLater); // without a window manager no frame comes
        // The frame's size may arrive with no event of its own (with the activation, say); look
        // at any event, and move outside of it.
        if (watched == m_form && m_form->isVisible() && m_form->frameGeometry() != m_form->geometry()) {
            m_form->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                if (m_form->pos() != m_target
                    && !(m_form->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
                    m_form->move(m_target);
                deleteLater();
            });
        }
        return false;
    }

private:
    QWidget *m_form;
    QPoint m_target;
};

} // namespace

QString FormIniPath(const QString &windowName, const QString &dir)
{
    return LayoutIni::filePath(dir.isEmpty() ? AppFolders::formIniDir() : dir, windowName);
}

void LoadFormIni(QWidget *form, const QString &dir)
{
    if (!form)
        return;
    const LayoutFile file(FormIniPath(form->objectName(), dir));
    if (!file.exists())
        return;
    const LayoutIni::FormPosition p = LayoutIni::readFormPosition(file);
    const double dpiX = form->logicalDpiX();
    const double dpiY = form->logicalDpiY();
    QRect r(form->pos(), form->size());
    if (p.left)
        r.moveLeft(Twips::toPixels(*p.left, dpiX));
    if (p.top)
        r.moveTop(Twips::toPixels(*p.top, dpiY));
    if (p.width)
        r.setWidth(Twips::toPixels(*p.width, dpiX));
    if (p.height)
        r.setHeight(Twips::toPixels(*p.height, dpiY));
    if (p.left || p.top || p.width || p.height) {
        r = FormRules::fitOnScreens(r, availableScreens(), form->minimumSize());
        form->move(r.topLeft());
        form->resize(r.size());
        if (!form->isVisible())
            new FramePlacer(form, r.topLeft());
    }
    if (p.windowState == LayoutIni::Maximized)
        form->setWindowState((form->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    else if (p.windowState == LayoutIni::Normal)
        form->setWindowState(form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    for (QTableView *grid : form->findChildren<QTableView *>()) {
        if (grid->model() && grid->model()->columnCount() > 2 && !grid->objectName().isEmpty())
            LoadSpreadIni(grid, file.path());
    }
}

void LoadSpreadIni(QTableView *grid, const QString &fileName)
{
    if (!grid || !grid->model())
        return;
    const LayoutFile file(fileName);
    const LayoutIni::GridLayout g = LayoutIni::readGridLayout(file, gridName(grid), grid->model()->columnCount());
    for (const auto &[column, chars] : g.columnWidths) {
        setGridColumnWidth(grid, column - 1, chars);
        markUserSized(grid, column - 1);
    }
    if (g.fontSize)
        setGridFontSize(grid, *g.fontSize);
    if (g.rowHeight)
        setGridRowHeight(grid, *g.rowHeight);
}

bool SaveFormIni(QWidget *form, const QString &dir)
{
    if (!form || !form->isVisible() || form->isMinimized())
        return false;
    LayoutFile file(FormIniPath(form->objectName(), dir));
    const QString section = LayoutIni::positionSection();
    const bool maximized = form->isMaximized() || form->isFullScreen();
    if (!file.setValue(section, QStringLiteral("WindowState"),
                       QString::number(maximized ? LayoutIni::Maximized : LayoutIni::Normal)))
        return false;
    if (maximized)
        return true;
    const double dpiX = form->logicalDpiX();
    const double dpiY = form->logicalDpiY();
    return file.setValue(section, QStringLiteral("Left"), QString::number(Twips::fromPixels(form->x(), dpiX)))
           && file.setValue(section, QStringLiteral("Top"), QString::number(Twips::fromPixels(form->y(), dpiY)))
           && file.setValue(section, QStringLiteral("Width"), QString::number(Twips::fromPixels(form->width(), dpiX)))
           && file.setValue(section, QStringLiteral("Height"), QString::number(Twips::fromPixels(form->height(), dpiY)));
}

bool SaveSpreadIni_Col(QWidget *form, QTableView *grid, int column, const QString &dir)
{
    if (!form || !grid || !grid->isVisible() || !grid->model() || column < 0 || column >= grid->model()->columnCount())
        return false;
    LayoutFile file(FormIniPath(form->objectName(), dir));
    return file.setValue(LayoutIni::colsWidthSection(gridName(grid)), QString::number(column + 1),
                         LayoutIni::formatValue(gridColumnWidth(grid, column)));
}

bool SaveSpreadIni_Gn(QWidget *form, QTableView *grid, const QString &key, const QString &value, UserPrompt *prompt,
                      const QString &dir)
{
    if (!form || !grid)
        return false;
    LayoutFile file(FormIniPath(form->objectName(), dir));
    if (file.setValue(LayoutIni::generalSection(gridName(grid)), key, value))
        return true;
    if (prompt)
        prompt->ShowRunError(file.errorCode(), file.errorString(), QStringLiteral("SaveSpreadIni_Gn"),
                             QStringLiteral("modFormIni"), false);
    return false;
}

bool DelFormIni(const QString &windowName, UserPrompt *prompt, const QString &dir)
{
    LayoutFile file(FormIniPath(windowName, dir));
    if (file.remove())
        return true;
    if (prompt)
        prompt->ShowRunError(file.errorCode(), file.errorString(), QStringLiteral("DelFormIni"),
                             QStringLiteral("modFormIni"), false);
    return false;
}

void setGridFontSize(QTableView *grid, double points)
{
    if (!grid || points <= 0)
        return;
    QFont f = grid->font();
    f.setPointSizeF(points);
    grid->setFont(f);
    QFont header = grid->horizontalHeader()->font();
    header.setPointSizeF(10);
    grid->horizontalHeader()->setFont(header);
}

double gridFontSize(const QTableView *grid)
{
    return grid ? grid->font().pointSizeF() : 0.0;
}

void setGridRowHeight(QTableView *grid, double points)
{
    if (!grid || points <= 0)
        return;
    const double dpi = grid->logicalDpiY();
    const int rows = std::max(1, GridUnits::pointsToPixels(points, dpi));
    QHeaderView *v = grid->verticalHeader();
    v->setMinimumSectionSize(std::min(rows, v->minimumSectionSize()));
    v->setDefaultSectionSize(rows);
    grid->horizontalHeader()->setFixedHeight(std::max(1, GridUnits::pointsToPixels(points + 2, dpi)));
    grid->setProperty(kRowHeightProperty, points);
}

double gridRowHeight(const QTableView *grid)
{
    if (!grid)
        return 0.0;
    const QVariant set = grid->property(kRowHeightProperty);
    if (set.isValid())
        return set.toDouble();
    return GridUnits::pixelsToPoints(grid->verticalHeader()->defaultSectionSize(), grid->logicalDpiY());
}

double gridColumnWidth(const QTableView *grid, int column)
{
    if (!grid)
        return 0.0;
    return GridUnits::pixelsToChars(grid->horizontalHeader()->sectionSize(column), grid->logicalDpiX());
}

void setGridColumnWidth(QTableView *grid, int column, double chars)
{
    if (!grid)
        return;
    grid->setColumnWidth(column, GridUnits::charsToPixels(chars, grid->logicalDpiX()));
}

namespace {
constexpr char kUserSized[] = "solbitsemUserSizedColumns";
}

QList<int> userSizedColumns(const QTableView *grid)
{
    return grid ? grid->property(kUserSized).value<QList<int>>() : QList<int>();
}

void markUserSized(QTableView *grid, int column)
{
    QList<int> columns = userSizedColumns(grid);
    if (grid && !columns.contains(column)) {
        columns << column;
        grid->setProperty(kUserSized, QVariant::fromValue(columns));
    }
}
