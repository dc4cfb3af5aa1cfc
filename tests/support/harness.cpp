#include "harness.h"

namespace zelmora::testing {

Harness::Harness(FileSystemFactory* otherFileSystems)
    : form({otherFileSystems ? *otherFileSystems : fileSystems, settings, system, messages, window, tray, shortcuts,
            browser, worker},
           dispatch) {
    worker.news = [this] { form.model.RaiseFormEvent(FormEvent::WorkerNews); };
}

}  // namespace zelmora::testing
