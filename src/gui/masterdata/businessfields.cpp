// SPDX-License-Identifier: GPL-3.0-or-later
#include "businessfields.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "core/base/userprompt.h"
#include "core/documents/businessnumber.h"
#include "gui/ui/formhelpers.h"

namespace {

const QString kNumberTitle = QStringLiteral("사업자등록번호");
// The wrong number the box's own check has just reported.
const char *const kSaidProperty = "reportedNumber";

class FieldKeys final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = static_cast<QLineEdit *>(watched);
        if (event->type() == QEvent::FocusIn)
            SelectAllText(box);
        if (event->type() == QEvent::KeyPress && KeyToTab(static_cast<QKeyEvent *>(event)->key(), box))
            return true;
        return false;
    }
};

} // namespace

void giveFieldKeys(QLineEdit *box)
{
    box->installEventFilter(new FieldKeys(box));
}

void checkBusinessNumberOnLeave(QLineEdit *box, UserPrompt &prompt)
{
    box->setMaxLength(20);
    // Emitted once per change (Qt 6), so the box's own message does not bring it back.
    QObject::connect(box, &QLineEdit::editingFinished, box, [box, &prompt] {
        const BusinessNumber n = BusinessNumber::parse(box->text());
        if (n.ok()) {
            box->setText(n.formatted());
        } else {
            // Leaving by 저장 (its key or a click) would otherwise say it twice.
            box->setProperty(kSaidProperty, box->text());
            prompt.MsgWarn(n.error, kNumberTitle);
        }
    });
}

QString refuseWrongBusinessNumber(QLineEdit *box, UserPrompt &prompt)
{
    const BusinessNumber n = BusinessNumber::parse(box->text());
    if (n.ok())
        return {};
    if (box->property(kSaidProperty).toString() != box->text())
        prompt.MsgWarn(n.error, kNumberTitle);
    box->setProperty(kSaidProperty, QVariant());
    box->setFocus();
    return n.error;
}

QLineEdit *addBusinessField(QGridLayout *grid, int row, const QString &caption, const QString &objectName)
{
    QWidget *parent = grid->parentWidget();
    auto *label = new QLabel(caption, parent);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignCenter);
    auto *box = named(new QLineEdit(parent), objectName, caption);
    giveFieldKeys(box);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

ClientBusinessBox::ClientBusinessBox(UserPrompt &prompt, QWidget *parent) : QGroupBox(QStringLiteral("사업자 정보"), parent)
{
    setObjectName(QStringLiteral("grpBusiness"));
    setAccessibleName(title());
    const QString captions[FieldCount] = {kNumberTitle, QStringLiteral("대표자"), QStringLiteral("업태"),
                                          QStringLiteral("종목"), QStringLiteral("이메일")};
    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(4);
    for (int i = 0; i < FieldCount; ++i)
        txtBusi[i] = addBusinessField(grid, i, captions[i], QStringLiteral("txtBusi_%1").arg(i));
    checkBusinessNumberOnLeave(txtBusi[Number], prompt);
}

void ClientBusinessBox::showDetails(const ClientBusiness &d)
{
    const BusinessNumber n = BusinessNumber::parse(d.number);
    txtBusi[Number]->setText(n.ok() ? n.formatted() : d.number);
    txtBusi[Owner]->setText(d.owner);
    txtBusi[BusiType]->setText(d.busiType);
    txtBusi[BusiItem]->setText(d.busiItem);
    txtBusi[Email]->setText(d.email);
}

ClientBusiness ClientBusinessBox::details() const
{
    return {txtBusi[Number]->text().trimmed(), txtBusi[Owner]->text().trimmed(), txtBusi[BusiType]->text().trimmed(),
            txtBusi[BusiItem]->text().trimmed(), txtBusi[Email]->text().trimmed()};
}

void ClientBusinessBox::clear()
{
    for (QLineEdit *e : txtBusi)
        e->clear();
}
