#pragma once
// Runs the event loop through the program's idle moments, for tests of work
// that waits for one: the test ends up exactly after the moment, never after
// a guessed time.

#include "drawing/idle_notify.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>

namespace orvella::test {

// Runs the loop until it has fallen idle `moments` times. What was waiting
// for the next idle moment before the call has run when it returns, since
// idle callbacks run in the order they asked. False when the loop did not
// fall idle that often within the limit.
inline bool RunIdleMoments(int moments = 1, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    QEventLoop loop;
    bool reached = false;
    int left = moments;
    std::function<void()> next;
    next = [&] {
        if (--left > 0) {
            CallAtNextIdle(&loop, next);
            return;
        }
        reached = true;
        loop.quit();
    };
    CallAtNextIdle(&loop, next);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
    return reached;
}

// Runs idle moments until condition holds, at most `moments` of them. (A
// wait that only processes events, as QTest::qWaitFor does, never lets the
// loop fall idle.)
template <typename Condition>
bool RunIdleMomentsUntil(Condition condition, int moments = 100)
{
    for (int i = 0; i < moments && !condition(); ++i)
        if (!RunIdleMoments())
            break;
    return condition();
}

}  // namespace orvella::test
