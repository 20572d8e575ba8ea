// The one way the harness and its tests wait for something: check, pause,
// check again, until it holds or the time is up.
#include "harness.h"

namespace e2e {

bool waitUntil(const std::function<bool()>& cond, Millis timeout, const std::function<void(Millis left)>& pause)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (cond())
            return true;
        const auto left = std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pause(left);  // ends by the deadline, so `cond` is checked once more then
    }
}

bool waitUntil(const std::function<bool()>& cond, Millis timeout, Millis step)
{
    return waitUntil(cond, timeout, [step](Millis left) { std::this_thread::sleep_for(std::min(step, left)); });
}

}  // namespace e2e
