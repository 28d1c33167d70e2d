// Waits for a condition in a real event loop. QTest::qWaitFor sleeps up to 10 ms between its
// looks, which stretches every round trip of a long transfer to 10 ms; here the loop sleeps
// only in its own event wait, as the application's does.
#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

inline bool runUntil(const std::function<bool()> &done, int timeoutMs = 20000)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    look.setInterval(1);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    look.start();
    loop.exec();
    return done();
}
