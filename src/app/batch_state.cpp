#include "batch_state.h"

namespace talvik::app {

void BatchState::start() {
    set(true);
}

void BatchState::finish() {
    set(false);
}

void BatchState::set(bool running) {
    if (running == m_running) {
        return;
    }
    m_running = running;
    Q_EMIT runningChanged(running);
}

} // namespace talvik::app
