// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The arithmetic behind the form helpers, kept free of widgets so that it is
// tested on its own. Every value is in twips unless a name says pixels.
namespace FormRules {

// PlaceForm's horizontal modes; any other value puts the form's left edge at 0.
enum Horizontal { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };
// PlaceForm's vertical mode for "above the anchor"; any other value means below it.
enum Vertical { Above = 4 };

// The top-left corner of a form of size formSize placed against an anchor occupying
// anchor (screen coordinates).
QPoint placeForm(const QRect &anchor, const QSize &formSize, int horizontal, int vertical);

// A window rectangle (pixels) moved and, if need be, shrunk so that it lies on one of the
// screens' available areas: kept as it is when its title strip is on a screen, otherwise
// placed on the screen it overlaps most (the first one when it overlaps none).
QRect fitOnScreens(const QRect &window, const QList<QRect> &screens, const QSize &minimum = {});

// CheckRequired's emptiness rule: empty text, or "0" when zero counts as empty.
bool isRequiredEmpty(const QString &text, bool zeroIsEmpty);
// The message CheckRequired shows; the box's title is requiredTitle().
QString requiredMessage(const QString &caption);
inline QString requiredTitle() { return QStringLiteral("필수입력"); }

} // namespace FormRules
