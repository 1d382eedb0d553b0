// SPDX-License-Identifier: GPL-3.0-or-later
// The date rules: any typed text either becomes a real stored date, which the rules then keep
// as it is, or is refused; the digit formatter never grows digits it was not given.
#include <QDate>

#include "core/ledger/checkdate.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = fuzzText(data, size);
    const QDate today(2026, 12, 9);
    if (const auto stored = normaliseDate(typed, today)) {
        const QDate d = QDate::fromString(*stored, Qt::ISODate);
        FUZZ_CHECK(d.isValid());
        FUZZ_CHECK(stored->size() == 10);
        FUZZ_CHECK(normaliseDate(*stored, today) == *stored);
    }
    const QString formatted = formatDigits(typed, QStringLiteral("-00-00"));
    FUZZ_CHECK(formatted == typed || formatted.size() >= 6);
    return 0;
}
