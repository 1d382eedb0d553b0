// SPDX-License-Identifier: GPL-3.0-or-later
#include "seldata.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "core/base/userprompt.h"
#include "core/masterdata/businessmode.h"
#include "core/masterdata/namelist.h"
#include "gui/ui/formhelpers.h"
#include "frmclient_sel.h"
#include "frmclient_write.h"
#include "frmgroup_sel.h"
#include "frmproduct_sel.h"

namespace {

// Below the anchor, aligned as asked.
void placeBelow(QWidget *w, const QObject *anchor, FormRules::Horizontal alignment)
{
    const auto *a = qobject_cast<const QWidget *>(anchor);
    if (!a)
        return;
    w->adjustSize();
    PlaceForm(w, a, alignment, 0);
    // The window frame is known only once the window is on screen; place it again then, so
    // that right and centred alignment count the frame too.
    QTimer::singleShot(0, w, [w, anchorRef = QPointer<const QWidget>(a), alignment] {
        if (anchorRef)
            PlaceForm(w, anchorRef, alignment, 0);
    });
}

const QString kNewQuestion = QStringLiteral("신규 등록하겠습니까?");

} // namespace

SelData::SelData(Database &db, UserPrompt &prompt, QString postFile, QWidget *parent)
    : m_db(db), m_prompt(prompt), m_postFile(std::move(postFile)), m_parent(parent)
{
}

bool SelData::offerToRegister(const QString &text, const QString &title, const QString &notFound, const QString &none,
                              const QString &question, bool defaultYes, bool ask)
{
    const QString first = text.isEmpty() ? none : notFound;
    if (!ask) {
        m_prompt.MsgInfo(first, title);
        return false;
    }
    return m_prompt.message(UserPrompt::Icon::Question, first + QStringLiteral("\r\n") + question, title,
                            UserPrompt::Buttons::YesNo, defaultYes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No)
        == UserPrompt::Answer::Yes;
}

QString SelData::SelGroup(const QString &text, const QObject *anchor, FormRules::Horizontal alignment, bool ask)
{
    FrmGroup_sel w(m_db, m_prompt, m_parent);
    const int n = w.FindRecords(text);
    if (n == 0) {
        if (offerToRegister(text, QStringLiteral("그룹 검색"), QStringLiteral("검색한 그룹이 등록되어 있지 않습니다."),
                            QStringLiteral("등록된 그룹이 없습니다."), kNewQuestion, false, ask)) {
            // An empty text asks for the name first; an empty group is never stored.
            QString name = text;
            if (AddGroup(m_db, m_prompt, name))
                return name;
        }
        return {};
    }
    if (n > 1) {
        placeBelow(&w, anchor, alignment);
        w.exec();
    }
    return w.result();
}

QString SelData::SelProduct(QString &text, const QObject *anchor, FormRules::Horizontal alignment, bool ask,
                            const QString &group)
{
    FrmProduct_sel w(m_db, m_prompt, m_parent);
    w.setGroup(group);
    const int n = w.FindRecords(text);
    if (n == 0) {
        if (offerToRegister(text, QStringLiteral("상품 검색"), QStringLiteral("검색한 상품이 등록되어 있지 않습니다."),
                            QStringLiteral("등록된 상품이 없습니다."), kNewQuestion, false, ask)
            && AddProduct(m_db, m_prompt, text))
            return text;
        return {};
    }
    // With nothing typed, the one product of the group is shown all the same; closing the
    // window still returns it.
    if (n > 1 || text.isEmpty()) {
        placeBelow(&w, anchor, alignment);
        w.exec();
    }
    return w.result();
}

std::optional<PickedClient> SelData::SelClient(BusiMode mode, const QString &text, const QObject *anchor,
                                               FormRules::Horizontal alignment, bool ask)
{
    FrmClient_Sel w(m_db, m_prompt, m_postFile, m_parent);
    w.setMode(mode);
    const int n = w.FindRecords(text);
    const QString word = busiWord(mode);
    if (n == 0) {
        const QString title = word + QStringLiteral("처 검색");
        if (!offerToRegister(text, title, QStringLiteral("검색한 ") + word + QStringLiteral("처가 등록되어 있지 않습니다."),
                             QStringLiteral("등록된 ") + word + QStringLiteral("처가 없습니다."),
                             text.isEmpty() ? kNewQuestion : word + QStringLiteral("처를 등록하겠습니까?"), true, ask))
            return std::nullopt;
        FrmClient_write edit(m_db, m_prompt, m_postFile, m_parent);
        edit.setAddEditMode(ClientEditor::EditMode::Add);
        edit.setBusiMode(mode);
        edit.setDefaultName(text);
        placeBelow(&edit, anchor, alignment);
        edit.exec();
        return PickedClient{edit.CCode(), edit.CName()};
    }
    if (n > 1) {
        placeBelow(&w, anchor, alignment);
        w.exec();
    }
    return w.picked();
}
