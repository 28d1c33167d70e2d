// The timer every page and the connection set-up rely on.
#pragma once

#include <QTimer>

namespace core {

// Enabling a running timer keeps its countdown; the interval defaults to 1000 ms and a
// change restarts a running timer only when the value really differs. Pages arm their
// timers from handlers that may run again before the timer fires, and must not restart it.
class Timer : public QTimer
{
    Q_OBJECT
public:
    explicit Timer(QObject *parent = nullptr, int intervalMs = 1000);
    void setEnabled(bool enabled);
    bool enabled() const { return isActive(); }
    void setIntervalMs(int ms);
};

// A named timer (objectName = name), created stopped.
Timer *timer(QObject *parent, const char *name, int intervalMs = 1000);

} // namespace core
