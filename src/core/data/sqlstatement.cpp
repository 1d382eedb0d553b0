// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlstatement.h"

#include <algorithm>

QString SqlStatement::display() const
{
    // Longest names first so that :name does not eat the start of :name2.
    auto sorted = binds;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    QString out = text;
    for (const auto &[name, value] : sorted) {
        QString shown;
        if (value.isNull())
            shown = QStringLiteral("NULL");
        else if (value.typeId() == QMetaType::QString)
            shown = QLatin1Char('\'') + value.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        else
            shown = value.toString();
        out.replace(QLatin1Char(':') + name, shown);
    }
    return out;
}

QString containsPattern(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped.append(QLatin1Char('%'));
    for (QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped.append(QLatin1Char('\\'));
        escaped.append(c);
    }
    escaped.append(QLatin1Char('%'));
    return escaped;
}
