// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QApplication>
#include <QTimer>
#include <QWidget>

// Acts on the next modal window of type W once it is on screen (exec() blocks the test, so
// the work is done from the event loop). shown() tells afterwards whether it ever appeared.
template<typename W>
class ModalWatch
{
public:
    explicit ModalWatch(std::function<void(W *)> act) : m_state(std::make_shared<State>())
    {
        auto state = m_state;
        state->timer.setInterval(5);
        QObject::connect(&state->timer, &QTimer::timeout, [state, act] {
            auto *w = qobject_cast<W *>(QApplication::activeModalWidget());
            if (!w || !w->isVisible())
                return;
            state->timer.stop();
            state->shown = true;
            act(w);
        });
        state->timer.start();
    }
    ~ModalWatch() { m_state->timer.stop(); }
    bool shown() const { return m_state->shown; }

private:
    struct State
    {
        QTimer timer;
        bool shown = false;
    };
    std::shared_ptr<State> m_state;
};
