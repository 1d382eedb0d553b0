// SPDX-License-Identifier: GPL-3.0-or-later
// Phone formatting and CP949 widths: never a crash, widths agree with the encoder, and CP949
// text survives a round trip through the encoder.
#include "core/base/cp949.h"
#include "core/base/textutil.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = fuzzText(data, size);

    QString local = QStringLiteral("unchanged");
    const QString tel = FormatTel(text, &local);
    if (local != QLatin1String("unchanged"))
        FUZZ_CHECK(tel.endsWith(local));
    FUZZ_CHECK(LenAnsi(text) == Cp949::encode(text).size());
    FUZZ_CHECK(ByteLen(text) >= 0);

    if (const auto decoded = Cp949::decode(bytes)) {
        const QByteArray again = Cp949::encode(*decoded);
        FUZZ_CHECK(Cp949::decode(again) == decoded);
    }
    (void)Cp949::decodeUtf8OrCp949(bytes);
    return 0;
}
