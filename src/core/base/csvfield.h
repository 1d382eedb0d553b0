// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One field of a CSV line: quoted when it holds a separator, a quote or a line break.
QString csvField(const QString &text);

// A field that holds text someone typed (a name, a product). A spreadsheet would run one that
// begins with =, +, -, @, a tab or a carriage return as a formula, and would turn one that reads
// as a number ("00123") into that number; such a text gets a leading apostrophe and quotes, as
// OWASP's CSV-injection guidance says, so that it opens as the text it is. Amounts and dates the
// program writes itself go through csvField.
QString csvTextField(const QString &text);
