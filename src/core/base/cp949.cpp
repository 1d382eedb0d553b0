// SPDX-License-Identifier: GPL-3.0-or-later
#include "cp949.h"

#include <iconv.h>

#include <cerrno>

#include <QList>
#include <QStringDecoder>

namespace {

class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Opening a converter loads glibc's CP949 module, which costs far more than a conversion:
// each thread keeps its two, reset to the initial state before every use.
Iconv &converter(bool toCp949)
{
    thread_local Iconv encoder("CP949", "UTF-32LE");
    thread_local Iconv decoder("UTF-8", "CP949");
    Iconv &cv = toCp949 ? encoder : decoder;
    if (cv.valid())
        iconv(cv.handle(), nullptr, nullptr, nullptr, nullptr);
    return cv;
}

} // namespace

namespace Cp949 {

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    Iconv &cv = converter(true);
    const QList<uint> ucs = text.toUcs4();
    for (uint cp : ucs) {
        if (cp < 0x80) {
            out.append(static_cast<char>(cp));
            continue;
        }
        char in[4];
        for (int i = 0; i < 4; ++i)
            in[i] = static_cast<char>((cp >> (8 * i)) & 0xff);
        char buf[8];
        char *inp = in;
        char *outp = buf;
        size_t inLeft = 4;
        size_t outLeft = sizeof buf;
        if (!cv.valid() || iconv(cv.handle(), &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) {
            out.append('?');
            if (cv.valid())
                iconv(cv.handle(), nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buf, static_cast<qsizetype>(sizeof buf - outLeft));
        }
    }
    return out;
}

std::optional<QString> decode(const QByteArray &bytes)
{
    Iconv &cv = converter(false);
    if (!cv.valid())
        return std::nullopt;
    QByteArray out(bytes.size() * 2 + 4, Qt::Uninitialized);
    QByteArray in = bytes;
    char *inp = in.data();
    char *outp = out.data();
    size_t inLeft = static_cast<size_t>(in.size());
    size_t outLeft = static_cast<size_t>(out.size());
    if (iconv(cv.handle(), &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return QString::fromUtf8(out);
}

QString decodeUtf8OrCp949(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    if (auto cp = decode(data))
        return *cp;
    return QString::fromUtf8(data);
}

} // namespace Cp949
