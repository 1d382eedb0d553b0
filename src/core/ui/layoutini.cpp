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

bool keyMatches(const QString &line, const QString &key, QString *value = nullptr)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

// A line of the file as bytes, with the line end that followed it (empty for a last line
// without one).
struct RawLine
{
    QByteArray text;
    QByteArray end;
};

// CR LF, LF and a lone CR each end a line, as the reader takes them.
std::vector<RawLine> splitLines(const QByteArray &bytes)
{
    std::vector<RawLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        const qsizetype endSize = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        lines.push_back({bytes.mid(start, i - start), bytes.mid(i, endSize)});
        i += endSize - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back({bytes.mid(start), {}});
    return lines;
}

} // namespace

LayoutFile::LayoutFile(QString path) : m_path(std::move(path)) {}

bool LayoutFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

bool LayoutFile::readLines(std::vector<QString> &lines) const
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // A layout file is a few hundred bytes; anything far larger is not one of ours.
    const QByteArray bytes = f.read(1 << 20);
    QString text = Cp949::decodeUtf8OrCp949(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList split = text.split(QLatin1Char('\n'));
    lines.assign(split.begin(), split.end());
    if (!lines.empty() && lines.back().isEmpty())
        lines.pop_back();
    return true;
}

std::optional<QString> LayoutFile::value(const QString &section, const QString &key) const
{
    std::vector<QString> lines;
    if (!readLines(lines))
        return std::nullopt;
    bool inSection = false;
    for (const QString &line : lines) {
        if (auto s = sectionOf(line)) {
            inSection = s->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString v;
        if (inSection && keyMatches(line, key, &v)) {
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
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        m_errorCode = QFileDevice::OpenError;
        m_errorString = QStringLiteral("폴더를 만들 수 없습니다: ") + info.absolutePath();
        return false;
    }
    // The lines stay as their bytes: only the written key's line is new, so a file of another
    // encoding, or with bytes no encoding reads, keeps the rest as it was. A missing file is an
    // empty one.
    QByteArray bytes;
    {
        QFile in(m_path);
        if (in.open(QIODevice::ReadOnly))
            bytes = in.readAll();
    }
    std::vector<RawLine> lines = splitLines(bytes);
    const RawLine entry{(key + QLatin1Char('=') + value).toUtf8(), QByteArrayLiteral("\r\n")};
    bool inSection = false;
    std::optional<size_t> sectionEnd; // index after the section's last non-empty line
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        const QString line = Cp949::decodeUtf8OrCp949(lines[i].text);
        if (auto s = sectionOf(line)) {
            if (inSection)
                break;
            inSection = s->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (keyMatches(line, key)) {
            lines[i].text = entry.text;
            done = true;
        } else if (!line.trimmed().isEmpty()) {
            sectionEnd = i + 1;
        }
    }
    if (!done) {
        if (sectionEnd) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), entry);
        } else {
            lines.push_back({(QLatin1Char('[') + section + QLatin1Char(']')).toUtf8(), entry.end});
            lines.push_back(entry);
        }
    }
    QByteArray out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i].text;
        // A last line without its end may be last no longer.
        out += lines[i].end.isEmpty() && i + 1 < lines.size() ? entry.end : lines[i].end;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_errorCode = file.error();
        m_errorString = file.errorString();
        return false;
    }
    file.write(out);
    if (!file.commit()) {
        m_errorCode = file.error();
        m_errorString = file.errorString();
        return false;
    }
    return true;
}

bool LayoutFile::remove()
{
    m_errorCode = 0;
    m_errorString.clear();
    QFile f(m_path);
    if (!f.exists())
        return true;
    if (!f.remove()) {
        m_errorCode = f.error();
        m_errorString = f.errorString();
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
