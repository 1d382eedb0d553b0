// SPDX-License-Identifier: GPL-3.0-or-later
#include "consoleprompt.h"

#include <cstdio>

UserPrompt::Answer ConsolePrompt::message(Icon icon, const QString &text, const QString &title,
                                          Buttons buttons, Answer)
{
    if (icon == Icon::Warning || icon == Icon::Critical)
        ++m_problems;
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString shownTitle = title.isEmpty() ? programTitle() : title;
    std::fprintf(stderr, "[%s] %s\n", shownTitle.toLocal8Bit().constData(), line.toLocal8Bit().constData());
    std::fflush(stderr);
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::OkCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}
