#pragma once

#include <windows.h>

#include "base/win32_scopes.h"

#include "engine/worker.h"

namespace zelmora {

// A thread of the C runtime's (_beginthreadex, which Windows XP has). Notify runs the wake-up it was given,
// which posts to the window and tells whether it could.
class Win32Worker : public Worker {
public:
    explicit Win32Worker(std::function<bool()> wake) : wake_(std::move(wake)) {}
    Win32Worker(const Win32Worker&) = delete;
    Win32Worker& operator=(const Win32Worker&) = delete;
    ~Win32Worker() override { Join(); }

    void Start(std::function<void()> work) override;
    bool WaitFor(uint32_t milliseconds) override;
    bool Notify() override { return wake_(); }

private:
    static unsigned __stdcall Run(void* self);

    std::function<bool()> wake_;
    std::function<void()> work_;
    ScopedHandle thread_;
};

}  // namespace zelmora
