// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPair>
#include <QStringList>

#include "core/ledger/vouchereditor.h"
#include "core/masterdata/clientrecord.h"

// What the voucher logic did to its window, for tests: the cursor, focus, highlights, notices
// and client panels. A grid test derives from it to drive a real grid as well.
class RecordingView : public VoucherEditor::View
{
public:
    void setActiveCell(int row, int column) override { active = {row, column}; }
    void focusGrid() override { ++focused; }
    void setConfirmHighlight(int row, int column, bool on) override
    {
        if (on)
            highlighted = {row, column};
        highlightOn = on;
    }
    void setRowMode(bool on) override { rowMode = on; }
    void showFloatMsg(const QString &text) override { floats << text; }
    void showClient(BusiMode side, const ClientRecord *client) override
    {
        panel[toInt(side)] = client ? client->name : QString();
        panelCode[toInt(side)] = client ? client->id.value() : 0;
    }
    const QObject *codeAnchor() const override { return nullptr; }
    const QObject *clientAnchor() const override { return nullptr; }

    QPair<int, int> active{-1, -1};
    QPair<int, int> highlighted{-1, -1};
    bool highlightOn = false;
    bool rowMode = false;
    int focused = 0;
    QStringList floats;
    QString panel[2];
    qint32 panelCode[2] = {0, 0};
};

