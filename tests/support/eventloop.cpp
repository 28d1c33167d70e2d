#include "eventloop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

bool runUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    // Wakes the loop now and then, so the deadline is seen without any event.
    QTimer tick;
    tick.start(5);
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void runFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    (void)runUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}
