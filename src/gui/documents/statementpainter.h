// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QFont>

#include "core/documents/statement.h"
#include "core/documents/statementlayout.h"

class QPainter;
class QPagedPaintDevice;

// Lays a 거래명세표 out on A4 portrait pages: each copy holds the title, the date, the
// supplier's and the receiver's blocks, the lines, the sum in figures and in words and the
// balance lines. With two copies on a sheet the receiver's is above and the supplier's below a
// cut line; lines beyond what a copy holds go on to the next sheet, and the sum and the
// balances close the last one. Worked out in tenths of a millimetre, the same on the screen,
// in the PDF and on any printer.
class StatementPainter final
{
public:
    static constexpr double PageWidth = 2100, PageHeight = 2970;

    StatementPainter(const Statement &data, const StatementLayout &layout);

    int pageCount() const;
    // Paints page (0-based) in tenths of a millimetre.
    void paintPage(QPainter &painter, int page) const;
    // Every page on device (a printer or a PDF writer, set to A4 portrait by the caller).
    bool paintAll(QPagedPaintDevice &device) const;
    // Writes the PDF whole or not at all; error gets the reason.
    bool writePdf(const QString &path, QString *error) const;

private:
    void paintCopy(QPainter &painter, double top, double height, int chunk, bool receiverCopy) const;
    double lineHeight() const { return m_bodyPx * 1.9; }
    int linesPerCopy(double height) const;

    const Statement &m_data;
    StatementLayout m_layout;
    QFont m_body, m_bold, m_title;
    double m_bodyPx = 0;
    int m_perCopy = 1; // lines a copy holds
    int m_chunks = 1;
};
