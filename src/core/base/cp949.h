// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// The Korean ANSI code page of older files and of the field sizes. Qt's own converters know
// only Unicode forms here, so glibc's iconv does the work.
namespace Cp949 {
// Characters CP949 cannot hold become '?', as the ANSI conversion did.
QByteArray encode(const QString &text);
// nullopt when the bytes are not valid CP949.
std::optional<QString> decode(const QByteArray &bytes);
// Text of a file that may be UTF-8 (with or without BOM) or CP949.
QString decodeUtf8OrCp949(const QByteArray &bytes);
} // namespace Cp949
