// Waits that keep the event loop running without sleeping between events. QTest::qWaitFor
// and qWait sleep 10 ms between rounds, which costs each exchange of a request chain on a
// pty about 20 ms; these let a chain of a hundred requests run in well under a second.
#pragma once

#include <functional>

// Runs the event loop until done() holds; false after `ms` without it.
bool runUntil(const std::function<bool()> &done, int ms = 5000);
// Runs the event loop for `ms`.
void runFor(int ms);
