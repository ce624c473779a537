// Waiting in tests for a state that another thread or process brings about.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// How long a test waits for a state by default: long enough for a loaded two-core machine under the
// sanitizers. A wait ends as soon as its state holds, so only a failing test waits this long.
inline constexpr std::chrono::steady_clock::duration WAIT_LIMIT = std::chrono::seconds(20);

// Asks Holds until it answers true or Limit has passed, calling Pause between two questions (Pause may do
// the work that brings the state about, such as pumping events; without one it sleeps 20 ms); Holds's last
// answer.
template <typename THolds>
bool WaitFor(THolds Holds, std::chrono::steady_clock::duration Limit = WAIT_LIMIT,
             const std::function<void()>& Pause = {}) {
    const auto Deadline = std::chrono::steady_clock::now() + Limit;
    while (!Holds()) {
        if (std::chrono::steady_clock::now() >= Deadline) return Holds();
        if (Pause)
            Pause();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
