#include "app/single_instance.h"

#include "ui/win32/form_window.h"

namespace zelmora {

// A copy that runs elevated owns a mutex that a copy without elevation may not open: access denied means
// another copy runs, as a mutex that already exists does.
SingleInstance::SingleInstance() : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)) {
    const DWORD error = GetLastError();
    first_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

void SingleInstance::ShowRunningCopy() {
    const UINT showRequest = RegisterWindowMessageW(FormWindow::kShowMessage);
    for (int attempt = 0; attempt < 50; ++attempt) {
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, FormWindow::kClassName, nullptr));) {
            if (GetWindow(window, GW_OWNER))
                continue;  // the About window
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            AllowSetForegroundWindow(process);
            PostMessageW(window, showRequest, 0, 0);
            return;
        }
        Sleep(100);
    }
}

}  // namespace zelmora
