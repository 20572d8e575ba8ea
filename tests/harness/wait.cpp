// The one way the harness and its tests wait for something: check, pause,
// check again, until it holds or the time is up; and how long that may be.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "harness.h"

namespace e2e {

namespace {

double timeoutScale()
{
    static const double scale = [] {
        const char* text = std::getenv("E2E_TIMEOUT_SCALE");
        if (!text || !*text)
            return 1.0;
        char* end = nullptr;
        const double value = std::strtod(text, &end);
        if (*end != '\0' || !(value >= 1))
            throw std::invalid_argument(std::string("E2E_TIMEOUT_SCALE=") + text + " is not a number of at least 1");
        return value;
    }();
    return scale;
}

}  // namespace

Millis scaled(Millis timeout) { return Millis(static_cast<Millis::rep>(timeout.count() * timeoutScale())); }

bool waitUntil(const std::function<bool()>& cond, Millis timeout, const std::function<void(Millis left)>& pause)
{
    const auto deadline = std::chrono::steady_clock::now() + scaled(timeout);
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
