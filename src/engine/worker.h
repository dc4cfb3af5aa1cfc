#pragma once

#include <cstdint>
#include <functional>

namespace zelmora {

// A thread for the cleaning cycle's file work, so the window answers while a big cache is cleaned. One work at a
// time; the work touches no control.
class Worker {
public:
    virtual ~Worker() = default;
    // Runs the work on a thread of its own.
    virtual void Start(std::function<void()> work) = 0;
    // Waits at most so many milliseconds for the work to end; whether it has.
    virtual bool WaitFor(uint32_t milliseconds) = 0;
    // Waits until the work has ended.
    void Join() { WaitFor(kForever); }
    // From the work, on its thread: wakes the window's thread, which then looks at how the work is going. False
    // where the wake-up could not be sent.
    virtual bool Notify() = 0;

    static constexpr uint32_t kForever = 0xFFFFFFFF;
};

}  // namespace zelmora
