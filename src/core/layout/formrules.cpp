// SPDX-License-Identifier: GPL-3.0-or-later
#include "formrules.h"

#include <algorithm>

namespace FormRules {

QPoint placeForm(const QRect &anchor, const QSize &formSize, int horizontal, int vertical)
{
    int left = 0;
    switch (horizontal) {
    case AlignLeft: left = anchor.left(); break;
    case AlignRight: left = anchor.left() + anchor.width() - formSize.width(); break;
    // Half a twip is rounded, never truncated.
    case AlignCentre: left = qRound(anchor.left() - (formSize.width() - anchor.width()) / 2.0); break;
    default: left = 0; break;
    }
    const int top = vertical == Above ? anchor.top() - formSize.height() : anchor.top() + anchor.height();
    return {left, top};
}

QRect fitOnScreens(const QRect &window, const QList<QRect> &screens, const QSize &minimum)
{
    if (screens.isEmpty())
        return window;
    QRect r = window;
    r.setWidth(std::max(r.width(), minimum.width()));
    r.setHeight(std::max(r.height(), minimum.height()));
    // The screen the window overlaps most, the first one when it overlaps none.
    const QRect *best = &screens.first();
    qint64 bestArea = 0;
    for (const QRect &s : screens) {
        const QRect i = s.intersected(r);
        const qint64 area = i.isEmpty() ? 0 : qint64(i.width()) * i.height();
        if (area > bestArea) {
            bestArea = area;
            best = &s;
        }
    }
    const QRect s = *best;
    // Never larger than that screen.
    r.setWidth(std::min(r.width(), s.width()));
    r.setHeight(std::min(r.height(), s.height()));
    // Kept where it is when the strip a user grabs to move it is on some screen.
    const int strip = std::min(r.height(), 30);
    for (const QRect &sc : screens) {
        const QRect seen = sc.intersected(QRect(r.left(), r.top(), r.width(), strip));
        if (r.top() >= sc.top() && seen.height() >= std::min(strip, 10) && seen.width() >= std::min(r.width(), 100))
            return r;
    }
    r.moveLeft(std::clamp(r.left(), s.left(), s.left() + s.width() - r.width()));
    r.moveTop(std::clamp(r.top(), s.top(), s.top() + s.height() - r.height()));
    return r;
}

bool isRequiredEmpty(const QString &text, bool zeroIsEmpty)
{
    return text.isEmpty() || (zeroIsEmpty && text == QLatin1String("0"));
}

QString requiredMessage(const QString &caption)
{
    if (caption.isEmpty())
        return QStringLiteral("필수 입력사항을 입력하지 않았습니다.");
    return QLatin1Char('[') + caption + QStringLiteral("]은(는) 필수 입력 사항입니다.");
}

} // namespace FormRules
