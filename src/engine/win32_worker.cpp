#include "engine/win32_worker.h"

#include <process.h>

#include "base/failure.h"

namespace zelmora {

namespace {

// The walks keep their own stacks: the work needs little of the thread's.
constexpr unsigned kStackBytes = 256 * 1024;

}  // namespace

void Win32Worker::Start(std::function<void()> work) {
    Join();
    work_ = std::move(work);
    const uintptr_t thread =
        _beginthreadex(nullptr, kStackBytes, &Run, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread)
        throw Failure("cannot start the cleaning's thread");
    thread_.Reset(reinterpret_cast<HANDLE>(thread));
}

bool Win32Worker::WaitFor(uint32_t milliseconds) {
    static_assert(kForever == INFINITE);
    if (!thread_)
        return true;
    if (WaitForSingleObject(thread_.Get(), milliseconds) != WAIT_OBJECT_0)
        return false;
    thread_.Reset();
    return true;
}

// The work catches its own failures; one that escapes all the same ends the thread, not the program.
unsigned __stdcall Win32Worker::Run(void* self) {
    try {
        static_cast<Win32Worker*>(self)->work_();
    } catch (...) {
    }
    return 0;
}

}  // namespace zelmora
