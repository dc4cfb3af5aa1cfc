#pragma once

#include <functional>

namespace zelmora {

// A thread for the cleaning cycle's file work, so the window answers while a big cache is cleaned. One work at a
// time; the work touches no control.
class Worker {
public:
    virtual ~Worker() = default;
    // Runs the work on a thread of its own.
    virtual void Start(std::function<void()> work) = 0;
    // Waits until the work has ended.
    virtual void Join() = 0;
    // From the work, on its thread: wakes the window's thread, which then looks at how the work is going.
    virtual void Notify() = 0;
};

}  // namespace zelmora
