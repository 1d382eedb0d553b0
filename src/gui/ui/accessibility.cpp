// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace {

class NamedComboBox final : public QAccessibleWidget
{
public:
    explicit NamedComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->currentText();
        if (t == QAccessible::Name && !box()->accessibleName().isEmpty())
            return box()->accessibleName();
        return QAccessibleWidget::text(t);
    }

    // The item list, and the typing field of an editable box, as Qt's own interface has them.
    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        if (box()->lineEdit() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }
    QStringList actionNames() const override { return QStringList{showMenuAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

class ApplicationWithPopups final : public QAccessibleApplication
{
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(popups().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QWidgetList open = popups();
        index -= windows;
        return index < open.size() ? QAccessible::queryAccessibleInterface(open.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const int window = QAccessibleApplication::indexOfChild(child);
        if (window >= 0 || !child || !child->object() || !child->object()->isWidgetType())
            return window;
        const qsizetype popup = popups().indexOf(static_cast<QWidget *>(child->object()));
        return popup < 0 ? -1 : QAccessibleApplication::childCount() + int(popup);
    }

private:
    static QWidgetList popups()
    {
        QWidgetList open;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->windowType() == Qt::Popup && w->isVisible())
                open << w;
        return open;
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QComboBox")) {
        auto *box = qobject_cast<QComboBox *>(object);
        return box && !box->accessibleName().isEmpty() ? new NamedComboBox(box) : nullptr;
    }
    if (object && object == qApp)
        return new ApplicationWithPopups;
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed)
}
