#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Runs the event loop until done() holds or the time is up; true when done() held.
template <typename Done> bool WaitFor(int milliseconds, Done done) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (done()) {
            return true;
        }
        QThread::msleep(1);
    }
    return false;
}
