#include "link/timer.h"

namespace core {

Timer::Timer(QObject *parent, int intervalMs) : QTimer(parent)
{
    QTimer::setInterval(intervalMs);
}

void Timer::setEnabled(bool enabled)
{
    if (!enabled)
        stop();
    else if (!isActive())
        start();
}

void Timer::setIntervalMs(int ms)
{
    if (ms != interval())
        QTimer::setInterval(ms);
}

Timer *timer(QObject *parent, const char *name, int intervalMs)
{
    auto *t = new Timer(parent, intervalMs);
    if (name)
        t->setObjectName(QString::fromLatin1(name));
    return t;
}

} // namespace core
