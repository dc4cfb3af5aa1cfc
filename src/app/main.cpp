// Zelmora.exe: wires the Windows services into the main window and runs its messages.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#include "app/single_instance.h"
#include "base/win32_system.h"
#include "engine/win32_file_system.h"
#include "settings/win32_profile_store.h"
#include "settings/win32_shortcuts.h"
#include "shell/win32_browser.h"
#include "shell/win32_tray_shell.h"
#include "ui/form1.h"
#include "ui/win32/form_window.h"
#include "ui/win32/win32_message_boxes.h"

namespace zelmora {
namespace {

HICON LoadProgramIcon(HINSTANCE instance, int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
}

int Run(HINSTANCE instance, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    Win32FileSystemFactory fileSystems;
    Win32ProfileStore settings;
    Win32System system;
    Win32MessageBoxes messages;
    Win32TrayShell tray;
    Win32Shortcuts shortcuts;
    Win32Browser browser;
    EventDispatch dispatch([&messages](const std::string& failure) { messages.Show("程序出错：" + failure); });

    FormWindow window(instance, {LoadProgramIcon(instance, SM_CXICON), LoadProgramIcon(instance, SM_CXSMICON)});
    Form1 form({fileSystems, settings, system, messages, window, tray, shortcuts, browser}, dispatch);
    window.Realize(form.model);
    messages.SetOwner(window.Handle());

    form.model.RaiseFormEvent("Load");
    ShowWindow(window.Handle(), show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ? SW_SHOWNORMAL : show);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window.Handle(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace zelmora

// Failures are reported by the event dispatch. The library's default terminate handler demangles type
// names, which would add 46 KB to the program for a path that never runs.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

// A second start shows the copy that runs and ends, touching neither the settings, the tray nor the cache.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const zelmora::SingleInstance single;
    if (!single.First()) {
        zelmora::SingleInstance::ShowRunningCopy();
        return 0;
    }
    return zelmora::Run(instance, show);
}
