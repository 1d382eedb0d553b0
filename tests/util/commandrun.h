// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Runs program with args as a script would, without a display to reach; its exit code (-1 when
// it crashed), and its standard error in err.
int runWithoutDisplay(const QString &program, const QStringList &args, QString *err);
// The text of a PDF as pdftotext lays it out (poppler-utils).
QString pdfText(const QString &path);
