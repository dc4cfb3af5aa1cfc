#include "harness.h"

#include <utility>

namespace zelmora::testing {

// The window's thread waits for the work to end; news it sent meanwhile find the cycle taken.
bool FakeWorker::WaitFor(uint32_t) {
    if (held_)
        std::exchange(held_, {})();
    newsPending_ = false;
    return true;
}

bool FakeWorker::Notify() {
    newsPending_ |= !loseWakeUps;
    return true;
}

void FakeWorker::Start(std::function<void()> work) {
    ++started;
    if (hold)
        held_ = std::move(work);
    else
        Run(std::move(work));
}

void FakeWorker::RunHeld() {
    Run(std::exchange(held_, {}));
}

void FakeWorker::Run(std::function<void()> work) {
    work();
    if (std::exchange(newsPending_, false) && news)
        news();
}

Harness::Harness(FileSystemFactory* otherFileSystems)
    : form({otherFileSystems ? *otherFileSystems : fileSystems, settings, system, messages, window, tray, shortcuts,
            browser, worker},
           dispatch) {
    worker.news = [this] { form.model.RaiseFormEvent(FormEvent::WorkerNews); };
}

}  // namespace zelmora::testing
