// SPDX-License-Identifier: GPL-3.0-or-later
#include "firststartimport.h"

#include <QFileInfo>

LedgerImporter::Outcome FirstStartImport::importLedger(const QString &oldLedger, const AppPaths &paths)
{
    LedgerImport::Options options{oldLedger, QFileInfo(paths.gDbFile).absolutePath(), {}};
    if (!QFileInfo::exists(paths.gPostFile)
        && QFileInfo(paths.gPostFile).absolutePath() == options.outFolder)
        options.postalMdb = LedgerImport::postalBeside(oldLedger);
    const LedgerImport::Result r = LedgerImport::run(options, m_progress);
    if (!r.ok)
        return {false, r.cancelled, r.error};
    QString text = r.summary();
    // The window opens on that month (the start-up sequence), not on today's, empty one.
    if (r.lastSaleMonth.isValid())
        text += QStringLiteral("\r\n\r\n장부 창은 마지막으로 판매한 달 %1(%2 ~ %3)의 전표로 엽니다. "
                               "다른 기간은 검색기간을 바꾸고 [검색]을 누르십시오.")
                    .arg(r.lastSaleMonth.toString(QStringLiteral("yyyy년 M월")),
                         r.lastSaleMonth.toString(QStringLiteral("yyyy-MM-dd")),
                         r.lastSaleMonth.addMonths(1).addDays(-1).toString(QStringLiteral("yyyy-MM-dd")));
    return {true, false, text};
}
