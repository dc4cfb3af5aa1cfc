#pragma once

#include <windows.h>

#include "base/win32_scopes.h"

namespace zelmora {

// One copy of the program per user session, known by a named mutex in the session's namespace.
class SingleInstance {
public:
    SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool First() const { return first_; }

    static constexpr const wchar_t* kMutexName = L"Local\\Zelmora.Running";

    // Asks the copy that runs to show its main window, as a double click on its tray icon does; waits a few
    // seconds for a copy still starting to have one.
    static void ShowRunningCopy();

private:
    ScopedHandle mutex_;
    bool first_;
};

}  // namespace zelmora
