// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "core/base/floatmsgtexts.h"

class QLabel;
class QTimer;

// The floating notice: one line of bold text on a coloured strip of 5490 × 405
// twips that closes itself after the given delay. Each ShowFloatMsg makes a fresh window.
class frmFloatMsg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmFloatMsg)

public:
    explicit frmFloatMsg(QWidget *parent = nullptr);

    // Background BKColor (0x00BBGGRR, as the callers pass 0xFFFF00 for cyan), text strMsg;
    // with lDelay > 0 the window closes itself after lDelay milliseconds.
    void InitForm(const QString &strMsg, qint16 lDelay, quint32 BKColor);

    QLabel *pnlCaption = nullptr;
    QTimer *Timer1 = nullptr;

    static constexpr int WidthTwips = 5490;
    static constexpr int HeightTwips = 405;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};

// The callers' colour: cyan in 0x00BBGGRR.
inline constexpr quint32 FloatMsgCyan = 0xFFFF00;

// Shows the notice: modal 1 blocks the caller until the window closes itself, modal 0
// returns at once and keeps the notice above all other windows until it closes. A delay of 0
// or less never closes by itself (Esc closes it). parent only centres the banner; null
// centres it on the active window or the primary screen. Returns the modeless window (null
// for a modal one, which is gone when the call returns).
frmFloatMsg *ShowFloatMsg(const QString &strMsg, qint16 lDelay, qint32 modal, quint32 BKColor,
                          QWidget *parent = nullptr);

// How long the callers show a notice; the texts are in core/base/floatmsgtexts.h.
namespace FloatMsg {
inline constexpr qint16 Delay = 500;
} // namespace FloatMsg
