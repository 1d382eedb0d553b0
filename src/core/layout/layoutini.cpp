// SPDX-License-Identifier: GPL-3.0-or-later
#include "layoutini.h"

#include <cmath>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/base/cp949.h"

namespace {

// "[name]" → name; nullopt for any other line.
std::optional<QString> sectionOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']')))
        return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    return std::nullopt;
}

} // namespace

LayoutFile::Line::Line(QString line) : raw(line.toUtf8()), end(QByteArrayLiteral("\r\n")), text(std::move(line))
{
    parse();
}

LayoutFile::Line::Line(QByteArray bytes, QByteArray lineEnd)
    : raw(std::move(bytes)), end(std::move(lineEnd)), text(Cp949::decodeUtf8OrCp949(raw))
{
    // An editor that adds a byte-order mark on every save leaves several; none of them is text,
    // and one left in front of the first section would hide it.
    qsizetype marks = 0;
    while (marks < text.size() && text.at(marks) == QChar(0xFEFF))
        ++marks;
    text.remove(0, marks);
    parse();
}

void LayoutFile::Line::parse()
{
    section = sectionOf(text);
    if (section)
        return;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq >= 0) {
        key = text.left(eq).trimmed();
        valueAt = eq + 1;
    }
}

LayoutFile::LayoutFile(QString path) : m_path(std::move(path)) {}

// CR LF, LF and a lone CR each end a line. Each line is decoded on its own: a file of the old
// installation in CP949 may have lines written since in UTF-8.
std::vector<LayoutFile::Line> LayoutFile::parseLines(const QByteArray &bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        const qsizetype endSize = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        lines.emplace_back(bytes.mid(start, i - start), bytes.mid(i, endSize));
        i += endSize - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.mid(start), QByteArray());
    return lines;
}

QByteArray LayoutFile::joinLines(const std::vector<Line> &lines)
{
    QByteArray bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        bytes += lines[i].raw;
        // A last line without its end may be last no longer.
        bytes += lines[i].end.isEmpty() && i + 1 < lines.size() ? QByteArrayLiteral("\r\n") : lines[i].end;
    }
    return bytes;
}

LayoutFile LayoutFile::fromBytes(const QByteArray &bytes)
{
    LayoutFile file({});
    file.m_inMemory = true;
    file.m_read = true;
    file.m_lines = parseLines(bytes);
    return file;
}

bool LayoutFile::exists() const
{
    return m_inMemory || QFileInfo(m_path).isFile();
}

const std::vector<LayoutFile::Line> *LayoutFile::lines() const
{
    if (!m_read) {
        m_read = true;
        QFile f(m_path);
        // A layout file is a few hundred bytes; anything far larger is not one of ours, and is
        // looked at only in its first megabyte and never written.
        if (f.open(QIODevice::ReadOnly)) {
            m_lines = parseLines(f.read(ReadLimit));
            m_tooLarge = !f.atEnd();
        }
    }
    return m_lines ? &*m_lines : nullptr;
}

QByteArray LayoutFile::toBytes() const
{
    const auto *l = lines();
    return l ? joinLines(*l) : QByteArray();
}

std::optional<QString> LayoutFile::value(const QString &section, const QString &key) const
{
    const auto *l = lines();
    if (!l)
        return std::nullopt;
    bool inSection = false;
    for (const Line &line : *l) {
        if (line.section) {
            inSection = line.section->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && line.key && line.key->compare(key, Qt::CaseInsensitive) == 0) {
            QString v = line.text.mid(line.valueAt).trimmed();
            // Quotes around a value are dropped as the profile calls dropped them.
            if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
                v = v.mid(1, v.size() - 2);
            return v.left(ValueChars).trimmed();
        }
    }
    return std::nullopt;
}

std::optional<double> LayoutFile::number(const QString &section, const QString &key) const
{
    const auto v = value(section, key);
    if (!v || !LayoutIni::isNumeric(*v))
        return std::nullopt;
    return LayoutIni::val(*v);
}

bool LayoutFile::setValue(const QString &section, const QString &key, const QString &value)
{
    m_errorCode = 0;
    m_errorString.clear();
    if (lines() && m_tooLarge) {
        m_errorCode = QFileDevice::WriteError;
        m_errorString = QStringLiteral("레이아웃 파일이 너무 커서 고쳐 쓰지 않습니다: ") + m_path;
        return false;
    }
    const QFileInfo info(m_path);
    if (!m_inMemory && !QDir().mkpath(info.absolutePath())) {
        m_errorCode = QFileDevice::OpenError;
        m_errorString = QStringLiteral("폴더를 만들 수 없습니다: ") + info.absolutePath();
        return false;
    }
    // A missing file is an empty one; the memory takes the edit once the file has it.
    std::vector<Line> lines;
    if (const auto *read = this->lines())
        lines = *read;
    const QString entry = key + QLatin1Char('=') + value;
    bool inSection = false;
    std::optional<size_t> sectionEnd; // index after the section's last non-empty line
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        if (const auto &s = lines[i].section) {
            if (inSection)
                break;
            inSection = s->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (lines[i].key && lines[i].key->compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = Line(entry);
            done = true;
        } else if (!lines[i].text.trimmed().isEmpty()) {
            sectionEnd = i + 1;
        }
    }
    if (!done) {
        if (sectionEnd) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), Line(entry));
        } else {
            lines.emplace_back(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.emplace_back(entry);
        }
    }
    if (!m_inMemory) {
        QSaveFile out(m_path);
        bool written = out.open(QIODevice::WriteOnly);
        if (written) {
            out.write(joinLines(lines));
            written = out.commit();
        }
        if (!written) {
            m_errorCode = out.error();
            m_errorString = out.errorString();
            return false;
        }
    }
    m_lines = std::move(lines);
    return true;
}

bool LayoutFile::remove()
{
    m_errorCode = 0;
    m_errorString.clear();
    m_read = true;
    m_tooLarge = false;
    m_lines.reset();
    QFile f(m_path);
    if (m_inMemory || !f.exists())
        return true;
    if (!f.remove()) {
        m_errorCode = f.error();
        m_errorString = f.errorString();
        m_read = false;
        return false;
    }
    return true;
}

namespace LayoutIni {

QString filePath(const QString &dir, const QString &windowName)
{
    return dir + QLatin1Char('/') + windowName + QStringLiteral(".ini");
}

bool isNumeric(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

double val(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    QString number;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        number += t[i++];
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9')
            number += c;
        else if (c == u'.' && !point) {
            point = true;
            number += c;
        } else
            break;
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok ? v : 0.0;
}

QString formatValue(double value)
{
    QString s = QString::number(value, 'f', 2);
    while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
        s.chop(1);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s.left(LayoutFile::ValueChars);
}

FormPosition readFormPosition(const LayoutFile &file)
{
    constexpr double Limit = 1000000.0;
    FormPosition p;
    const QString section = positionSection();
    const auto coordinate = [&](const QString &key) -> std::optional<int> {
        const auto v = file.number(section, key);
        if (!v || std::fabs(*v) > Limit)
            return std::nullopt;
        return static_cast<int>(std::lround(*v));
    };
    const auto size = [&](const QString &key) -> std::optional<int> {
        const auto v = file.number(section, key);
        if (!v || *v < 1 || *v > Limit)
            return std::nullopt;
        return static_cast<int>(std::lround(*v));
    };
    p.left = coordinate(QStringLiteral("Left"));
    p.top = coordinate(QStringLiteral("Top"));
    p.width = size(QStringLiteral("Width"));
    p.height = size(QStringLiteral("Height"));
    if (const auto s = file.number(section, QStringLiteral("WindowState"))) {
        const int state = static_cast<int>(*s);
        if (*s == state && (state == Normal || state == Maximized))
            p.windowState = state;
    }
    return p;
}

GridLayout readGridLayout(const LayoutFile &file, const QString &gridName, int columnCount)
{
    GridLayout g;
    if (!file.exists())
        return g;
    const QString cols = colsWidthSection(gridName);
    for (int c = 1; c <= columnCount; ++c) {
        const auto w = file.number(cols, QString::number(c));
        if (w && *w > 0 && *w <= 500)
            g.columnWidths[c] = *w;
    }
    const QString general = generalSection(gridName);
    if (const auto f = file.number(general, fontSizeKey()); f && *f > 0 && *f <= 100)
        g.fontSize = *f;
    if (const auto r = file.number(general, rowHeightKey()); r && *r > 0 && *r <= 400)
        g.rowHeight = *r;
    return g;
}

} // namespace LayoutIni

namespace GridUnits {

int charsToPixels(double chars, double dpi)
{
    return static_cast<int>(std::lround((chars * 9.0 + 5.0) * dpi / 96.0));
}

double pixelsToChars(int pixels, double dpi)
{
    const double chars = (pixels * 96.0 / dpi - 5.0) / 9.0;
    return std::max(0.0, std::round(chars * 100.0) / 100.0);
}

int pointsToPixels(double points, double dpi)
{
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

double pixelsToPoints(int pixels, double dpi)
{
    return pixels * 72.0 / dpi;
}

} // namespace GridUnits
